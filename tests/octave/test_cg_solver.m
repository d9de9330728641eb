function test_cg_solver ()
  % The conjugate-gradient solver against the exact block solve: on both
  % backends, for implicit feedback under both regularizations and for
  % explicit feedback with weights and biases, the objective never rises
  % from sweep to sweep, the steps converge to a stationary point, and the
  % exact solve's fixed point is theirs.
  toolbox_on_path ();
  backends = toolbox_backends ();
  passed = 0;

  rand ('seed', 5); randn ('seed', 5);
  m = 40; n = 30; r = 4;
  [I, J] = find (sprand (m, n, 0.25) ~= 0);
  keep = I ~= 6 & J ~= 9;          % an empty row and an empty column
  I = I(keep); J = J(keep);
  p = randperm (numel (I));
  I = I(p); J = J(p);
  x = ceil (3 * rand (numel (I), 1));
  x(3) = 0;
  Y = 2 + randn (m, 1) + randn (1, n) + randn (m, r) * randn (r, n);
  v = Y(sub2ind ([m n], I, J)) + 0.1 * randn (numel (I), 1);
  w = 0.5 + rand (numel (I), 1);
  cases = {
    {x, 'feedback', 'implicit', 'regularization', 'uniform', 'lambda', 2}
    {x, 'feedback', 'implicit', 'regularization', 'scaled', 'lambda', 2}
    {v, 'weights', w, 'lambda', 0.2}
  };
  for b = 1:numel (backends)
    for c = 1:numel (cases)
      args = [cases{c}(2:end), {'rank', r, 'backend', backends{b}}];
      [Ue, Ve, he, me] = alscomplete (I, J, cases{c}{1}, m, n, args{:}, 'solver', 'cholesky', ...
                                      'sweeps', 3000, 'tol', 1e-15);
      assert (he.converged);
      Xe = Ue * Ve + me.rowBias + me.colBias;
      for steps = [1 2]
        [~, ~, hc] = alscomplete (I, J, cases{c}{1}, m, n, args{:}, 'solver', 'cg', ...
                                  'cgsteps', steps, 'sweeps', 40, 'tol', 0);
        assert (all (diff (hc.objective) <= 1e-12 * hc.objective(1)), ...
                sprintf ('case %d: the objective rose', c));
      end
      % A fixed point of the steps is a stationary point of the same
      % objective (not always the exact solve's: the objective is not
      % convex, and from the same start the two may settle in different
      % minima).
      [Uc, Vc, hc, mc] = alscomplete (I, J, cases{c}{1}, m, n, args{:}, 'solver', 'cg', ...
                                      'cgsteps', 2, 'sweeps', 3000, 'tol', 1e-15);
      assert (hc.converged, sprintf ('case %d: no stationary point', c));
      assert (all (Uc(6, :) == 0) && all (Vc(:, 9) == 0));
      if c < 3
        % With as many steps as unknowns per block the steps solve each
        % block: from the exact solve's fixed point they stay there.
        [Uc, Vc, ~, mc] = alscomplete (I, J, cases{c}{1}, m, n, args{:}, 'solver', 'cg', ...
                                       'cgsteps', r, 'U0', Ue, 'sweeps', 5, 'tol', 0);
      end
      Xc = Uc * Vc + mc.rowBias + mc.colBias;
      assert (norm (Xc - Xe, 'fro') <= 1e-7 * norm (Xe, 'fro'), ...
              sprintf ('case %d: %g from the exact fixed point', c, norm (Xc - Xe, 'fro') / norm (Xe, 'fro')));
    end
  end
  passed += 1;

  printf ('%d passed, 0 failed\n', passed);
end
