function test_alsmodel ()
  % The fitted model: implicit feedback against a dense reference of the
  % same formulation, planted biases recovered, cold-start predictions,
  % lambda chosen on validation entries, and bad option values refused.
  toolbox_on_path ();
  backends = toolbox_backends ();
  passed = 0;

  % Implicit feedback: iterates, objective and gradient against every
  % row's and column's system formed over the whole matrix, for both
  % regularizations and alpha 0 (every entry of weight 1); a row and a
  % column without interactions.
  rand ('seed', 3); randn ('seed', 3);
  m = 19; n = 14; r = 3; lambda = 0.3;
  [I, J] = find (sprand (m, n, 0.3) ~= 0);
  keep = I ~= 4 & J ~= 7;
  I = I(keep); J = J(keep);
  p = randperm (numel (I));
  I = I(p); J = J(p);
  x0 = ceil (3 * rand (numel (I), 1));
  x0(2) = 0;
  U0 = randn (m, r);
  for b = 1:numel (backends)
    for reg = {'uniform', 'scaled'}
      % Sweeps, alpha, and whether the values include a zero.
      for run = [1 3 3; 2.5 0 2.5; 1 1 0]
        [sweeps, alpha] = deal (run(1), run(2));
        x = x0 + ~run(3) * (x0 == 0);
        [U, V, h, model] = alscomplete (I, J, x, m, n, 'feedback', 'implicit', 'rank', r, ...
                                        'lambda', lambda, 'alpha', alpha, 'U0', U0, ...
                                        'sweeps', sweeps, 'tol', 0, 'backend', backends{b}, ...
                                        'regularization', reg{1});
        [Ur, Vr, hr] = reference_implicit (I, J, x, m, n, lambda, alpha, U0, sweeps, ...
                                           strcmp (reg{1}, 'scaled'));
        assert (U, Ur, 1e-10 * max (abs (Ur(:))));
        assert (V, Vr, 1e-10 * max (abs (Vr(:))));
        assert (h.objective, hr.objective, 1e-10 * hr.objective(1));
        assert (h.gradnorm, hr.gradnorm, 1e-9 * max (hr.gradnorm) + 1e-12);
        assert (h.rmse_train, hr.rmse_train, 1e-10);
        assert (all (U(4, :) == 0) && all (V(:, 7) == 0));
        assert (model.feedback, 'implicit');
        assert (model.mean == 0 && ~any (model.rowBias) && ~any (model.colBias));
        assert (isequal (full (model.seen), full (sparse (J, I, true, n, m))));
      end
    end
  end
  passed += 1;

  % Planted mean and biases are recovered (with no interaction to fit,
  % the biases are the cheaper explanation), a planted bias-plus-rank-2
  % matrix is completed, and a row and a column never observed get the
  % mean plus the bias that is known.
  rand ('seed', 8); randn ('seed', 8);
  m = 300; n = 200;
  a = randn (m, 1); b = randn (1, n); L = 0.3 * randn (m, 2) * randn (2, n);
  mask = rand (m, n) < 0.3;
  mask(17, :) = false;
  mask(:, 23) = false;
  [I, J] = find (mask);
  known = true (m, n); known(17, :) = false; known(:, 23) = false;
  [Ia, Ja] = find (true (m, n));
  for be = backends
    A = 3.5 + a + b;
    [~, ~, ~, model] = alscomplete (I, J, A(mask), m, n, 'rank', 2, 'lambda', 1e-4, 'biaslambda', 1e-3, ...
                                    'sweeps', 50, 'backend', be{1});
    ra = model.rowBias - a; cb = model.colBias - b;
    ra(17) = []; cb(23) = [];
    % Biases are defined up to constants shared with the mean, and a
    % small lambda leaves the product some room to take up a part.
    assert (std (ra) < 0.05 && std (cb) < 0.1);
    assert (max (abs (model.U(:))) * max (abs (model.V(:))) < 0.2);
    A = 3.5 + a + b + L;
    [~, ~, ~, model] = alscomplete (I, J, A(mask), m, n, 'rank', 2, 'lambda', 1e-4, 'biaslambda', 1e-3, ...
                                    'sweeps', 100, 'backend', be{1});
    pred = reshape (alspredict (model, Ia, Ja), m, n);
    assert (max (abs (pred(known) - A(known))) < 0.02);
    assert (model.rowBias(17) == 0 && model.colBias(23) == 0 && ~any (model.U(17, :)));
    assert (alspredict (model, 17, 5), model.mean + model.colBias(5), 1e-12);
    assert (alspredict (model, 6, 23), model.mean + model.rowBias(6), 1e-12);
    assert (alspredict (model, [m + 1; 1], [5; n + 4]), ...
            model.mean + [model.colBias(5); model.rowBias(1)], 1e-12);
  end
  passed += 1;

  % lambda chosen on validation entries: with heavy noise the strongest
  % regularization of a grid wins, with none the weakest; the choice is
  % the best score of the walk, and the fit runs with it.
  rand ('seed', 9); randn ('seed', 9);
  m = 150; n = 120;
  L = randn (m, 4) * randn (4, n);
  [I, J] = find (rand (m, n) < 0.25);
  lin = sub2ind ([m n], I, J);
  grid = [1, 0.1, 0.01, 0.001, 1e-4];
  [~, ~, hn] = alscomplete (I, J, 0.01 * L(lin) + randn (numel (lin), 1), m, n, 'rank', 4, ...
                            'lambda', grid, 'sweeps', 10);
  [~, ~, hc] = alscomplete (I, J, L(lin), m, n, 'rank', 4, 'lambda', grid, 'sweeps', 10);
  for h = {hn, hc}
    s = h{1}.lambdaSearch;
    [~, best] = min (s.rmse);
    assert (h{1}.lambda, s.grid(best));
    % The walk goes from the strongest regularization down and may stop
    % once the score has risen twice.
    g = sort (grid, 'descend');
    assert (isequal (s.grid, g(1:numel (s.grid))));
    assert (numel (s.grid) == 5 || all (diff (s.rmse(best:end)) > 0));
    assert (s.validation > 0.05 * numel (I) && s.validation < 0.15 * numel (I));
  end
  assert (hn.lambda, 1);
  assert (hc.lambda, 1e-4);
  [~, ~, ha] = alscomplete (I, J, L(lin), m, n, 'rank', 4, 'lambda', 'auto', 'sweeps', 5);
  % 'auto' goes past the end of its grid (0.8 .. 0.0125) towards the
  % weak regularization this noiseless problem wants, and the fit runs
  % at its best point or a step (sqrt(2)) stronger, and a step or two
  % more where the validation score rose while it settled.
  s = ha.lambdaSearch;
  [~, best] = min (s.rmse);
  assert (min (s.grid) < 0.0125);
  steps = log (ha.lambda / s.grid(best)) / log (sqrt (2)) - numel (s.raised);
  assert (abs (steps - round (steps)) < 1e-9 && any (round (steps) == [0 1]));
  passed += 1;

  % Bad option values are refused with the routine's identifier.
  I = [1; 2; 3]; J = [1; 2; 2]; v = [1; 2; 3];
  bad = {
    {'regularization', 'weighted'},        'regularization must be ''scaled'' or ''uniform'''
    {'biases', 'yes'},                     'biases must be true or false'
    {'lambda', 'best'},                    'lambda must be a positive finite scalar, a vector of them, or ''auto'''
    {'lambda', [0.1 -1]},                  'lambda must be'
    {'lambda', 'auto', 'validation', 1},   'validation must be a fraction'
    {'feedback', 'clicks'},                'feedback must be ''explicit'' or ''implicit'''
    {'feedback', 'implicit', 'alpha', -1}, 'alpha must be a non-negative finite scalar'
    {'solver', 'lu'},                      'solver must be ''auto'', ''cholesky'' or ''cg'''
    {'cgsteps', 0},                        'cgsteps must be an integer of at least 1'
    {'feedback', 'implicit', 'biases', true}, 'biases are not part of the implicit-feedback model'
    {'feedback', 'implicit', 'heldout', [1 1 1]}, 'heldout'
    {'feedback', 'implicit', 'lambda', 'auto'}, 'explicit feedback only'
    {'feedback', 'implicit', 'weights', [1 2 3]}, 'weights do not apply'
    {'memory', 'maybe'},                   'memory must be ''check'' or ''ignore'''
  };
  for k = 1:rows (bad)
    try
      alscomplete (I, J, v, 3, 2, bad{k, 1}{:});
      error ('case %d: no error', k);
    catch err
      assert (err.identifier, 'alscomplete:input');
      assert (~isempty (strfind (err.message, bad{k, 2})), ...
              sprintf ('case %d: "%s" lacks "%s"', k, err.message, bad{k, 2}));
    end
  end
  try
    alscomplete (I, J, -v, 3, 2, 'feedback', 'implicit');
    error ('negative strengths accepted');
  catch err
    assert (err.identifier, 'alscomplete:input');
  end
  try
    alspredict (struct ('U', 1), 1, 1);
    error ('bad model accepted');
  catch err
    assert (err.identifier, 'alspredict:input');
  end
  passed += 1;

  printf ('%d passed, 0 failed\n', passed);
end

function [U, V, h] = reference_implicit (I, J, x, m, n, lambda, alpha, U, sweeps, scaled)
  % Every column's and row's system formed over all entries of the matrix.
  r = columns (U);
  V = zeros (r, n);
  P = zeros (m, n);
  C = ones (m, n);
  lin = sub2ind ([m n], I, J);
  P(lin) = 1;
  C(lin) = 1 + alpha * x;
  d = ones (m, 1);
  e = ones (n, 1);
  if scaled
    d = max (accumarray (I, 1, [m 1]), 1);
    e = max (accumarray (J, 1, [n 1]), 1);
  end
  for s = 1:sweeps
    for j = 1:n
      V(:, j) = (U' * diag (C(:, j)) * U + lambda * e(j) * eye (r)) \ (U' * (C(:, j) .* P(:, j)));
    end
    for i = 1:m
      U(i, :) = ((V * diag (C(i, :)) * V' + lambda * d(i) * eye (r)) \ (V * (C(i, :) .* P(i, :))'))';
    end
    R = P - U * V;
    h.objective(s, 1) = 0.5 * (sum (sum (C .* R .^ 2)) + lambda * (d' * sum (U .^ 2, 2) + sum (V .^ 2, 1) * e));
    gU = lambda * U .* d - (C .* R) * V';
    gV = lambda * V .* e' - U' * (C .* R);
    h.gradnorm(s, 1) = sqrt (norm (gU, 'fro')^2 + norm (gV, 'fro')^2);
    h.rmse_train(s, 1) = sqrt (mean (R(lin) .^ 2));
  end
end
