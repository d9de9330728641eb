function test_alscomplete ()
  % The completion routine against a straightforward implementation of the
  % same algorithm, on both backends; recovery of an exact low-rank matrix;
  % the refusal of bad input before any kernel runs.
  toolbox_on_path ();
  backends = toolbox_backends ();
  if numel (backends) == 1
    printf ('compiled kernels not all on the path: checking the plain backend only\n');
  end
  passed = 0;

  % A weighted problem with an empty row, an empty column, a zero weight
  % and entries given in no particular order.
  rand ('seed', 11); randn ('seed', 11);
  m = 23; n = 17; r = 3; lambda = 0.7;
  [I, J] = find (sprand (m, n, 0.35) ~= 0);
  keep = I ~= 5 & J ~= 9;
  I = I(keep); J = J(keep);
  p = randperm (numel (I));
  I = I(p); J = J(p);
  v = randn (numel (I), 1);
  w = 0.2 + rand (numel (I), 1);
  w(4) = 0;
  U0 = randn (m, r);
  held = [2 3 0.5; 5 1 -1; 23 17 2];

  % Iterates and history against the straightforward algorithm, in the
  % plain formulation and in the default one (count-scaled regularization
  % with its pseudocount, mean and biases), also with the blocks built and
  % solved a few at a time and another pseudocount.
  forms = {'uniform', false, 65536, 0; 'scaled', true, 65536, 2 * r; 'scaled', true, 4, 0.5};
  for b = 1:numel (backends)
    for f = 1:rows (forms)
      % The second form takes the default pseudocount.
      pseudo = {'pseudocount', forms{f, 4}};
      if f == 2
        pseudo = {};
      end
      for sweeps = [1 4]
        [U, V, h, model] = alscomplete (I, J, v, m, n, 'rank', r, 'lambda', lambda, ...
                                        'weights', w, 'U0', U0, 'sweeps', sweeps, 'tol', 0, ...
                                        'heldout', held, 'backend', backends{b}, ...
                                        'regularization', forms{f, 1}, 'biases', forms{f, 2}, ...
                                        'biaslambda', 1.3, 'blockchunk', forms{f, 3}, ...
                                        pseudo{:});
        [Ur, Vr, ar, br, hr] = reference_als (I, J, v, w, m, n, lambda, U0, sweeps, held, ...
                                              strcmp (forms{f, 1}, 'scaled'), forms{f, 2}, 1.3, forms{f, 4});
        assert (h.backend, backends{b});
        assert (h.sweeps, sweeps);
        assert (U, Ur, 1e-10 * max (1, max (abs (Ur(:)))));
        assert (V, Vr, 1e-10 * max (1, max (abs (Vr(:)))));
        assert (model.rowBias, ar, 1e-10 * max (1, max (abs (ar(:)))));
        assert (model.colBias, br, 1e-10 * max (1, max (abs (br(:)))));
        assert (h.objective, hr.objective, 1e-10 * hr.objective(1));
        assert (h.gradnorm, hr.gradnorm, 1e-9 * max (hr.gradnorm));
        assert (h.rmse_train, hr.rmse_train, 1e-10);
        assert (h.rmse_heldout, hr.rmse_heldout, 1e-10);
        assert (all (h.time >= 0) && numel (h.time) == sweeps);
        % The empty row and column get zero factors (only the regularizer).
        assert (all (U(5, :) == 0) && all (V(:, 9) == 0));
        assert (model.rowBias(5) == 0 && model.colBias(9) == 0);
        % The model predicts what the history measured.
        resh = held(:, 3) - alspredict (model, held(:, 1), held(:, 2));
        assert (sqrt (mean (resh .^ 2)), h.rmse_heldout(end), 1e-12);
      end
    end
  end
  passed += 1;

  % Both backends give the same iterates, also when stopping on tolerance.
  if numel (backends) == 2
    args = {I, J, v, m, n, 'rank', r, 'lambda', lambda, 'weights', w, 'seed', 4, ...
            'sweeps', 200, 'tol', 1e-7};
    [U1, V1, h1] = alscomplete (args{:}, 'backend', 'compiled');
    [U2, V2, h2] = alscomplete (args{:}, 'backend', 'plain');
    assert (h1.converged && h2.converged && h1.sweeps == h2.sweeps);
    assert (U1 * V1, U2 * V2, 1e-10 * max (abs (U2(:))) * max (abs (V2(:))));
    passed += 1;
  end

  % Without weights the set-up carries the values themselves through its
  % sort, or the entries' positions when a value is zero (a sparse matrix
  % drops zeros): both against the straightforward algorithm.
  v0 = v;
  v0(1:4:end) = 0;
  for vals = {v, v0}
    [U, V] = alscomplete (I, J, vals{1}, m, n, 'rank', r, 'lambda', lambda, 'U0', U0, ...
                          'sweeps', 2, 'tol', 0, 'biaslambda', 1.3);
    [Ur, Vr] = reference_als (I, J, vals{1}, ones (size (v)), m, n, lambda, U0, 2, held, ...
                              true, true, 1.3, 2 * r);
    assert (U, Ur, 1e-10 * max (1, max (abs (Ur(:)))));
    assert (V, Vr, 1e-10 * max (1, max (abs (Vr(:)))));
  end
  passed += 1;

  % A zero weight removes its entry: same fit as without the entry (at a
  % given lambda: a chosen one depends on the validation entries drawn).
  [U1, V1] = alscomplete (I, J, v, m, n, 'rank', r, 'weights', w, 'U0', U0, ...
                          'sweeps', 3, 'tol', 0, 'lambda', 0.1);
  k = w ~= 0;
  [U2, V2] = alscomplete (I(k), J(k), v(k), m, n, 'rank', r, 'weights', w(k), ...
                          'U0', U0, 'sweeps', 3, 'tol', 0, 'lambda', 0.1);
  assert (U1, U2, 1e-12);
  assert (V1, V2, 1e-12);
  passed += 1;

  % Options as a struct, held-out entries in each accepted form.
  opts = struct ('rank', r, 'lambda', lambda, 'U0', U0, 'sweeps', 2, 'tol', 0, ...
                 'heldout', struct ('I', held(:,1), 'J', held(:,2), 'vals', held(:,3)));
  [~, ~, h1] = alscomplete (I, J, v, m, n, opts);
  [~, ~, h2] = alscomplete (I, J, v, m, n, 'Rank', r, 'LAMBDA', lambda, 'U0', U0, ...
                            'sweeps', 2, 'tol', 0, 'heldout', {held(:,1), held(:,2), held(:,3)});
  assert (h1.rmse_heldout, h2.rmse_heldout);
  assert (h1.objective, h2.objective);
  passed += 1;

  % Recovery of an exact rank-3 matrix from 40% of its entries.
  for b = 1:numel (backends)
    randn ('seed', 5); rand ('seed', 5);
    m = 60; n = 45;
    A = randn (m, 3) * randn (3, n);
    [I, J] = find (sprand (m, n, 0.4) ~= 0);
    vals = A(sub2ind ([m n], I, J));
    [Ih, Jh] = find (ones (m, n));
    [U, V, h] = alscomplete (I, J, vals, m, n, 'rank', 3, 'lambda', 1e-10, 'sweeps', 300, ...
                             'tol', 1e-9, 'backend', backends{b}, 'biases', false, ...
                             'heldout', {Ih, Jh, A(:)});
    assert (norm (U * V - A, 'fro') / norm (A, 'fro') < 1e-6);
    assert (h.rmse_heldout(end) < 1e-5 * sqrt (mean (A(:).^2)));
    assert (h.objective(end) <= h.objective(1));
  end
  passed += 1;

  % More entries than one range of the set-up's sort holds (2^20), given
  % in no particular order, with weights: one sweep from U0 against the
  % same formulation on full matrices.
  rand ('seed', 13); randn ('seed', 13);
  m = 1600; n = 800; r = 2;
  [I, J] = find (rand (m, n) < 0.85);
  p = randperm (numel (I));
  I = I(p); J = J(p);
  v = randn (numel (I), 1);
  w = 0.5 + rand (numel (I), 1);
  U0 = randn (m, r);
  assert (numel (I) > 2^20);
  [U, V, ~, model] = alscomplete (uint32 (I), uint32 (J), v, m, n, 'rank', r, 'lambda', 0.3, ...
                                  'weights', w, 'U0', U0, 'sweeps', 1, 'tol', 0, ...
                                  'biaslambda', 1.3, 'backend', backends{end});
  Y = full (sparse (I, J, v - sum (w .* v) / sum (w), m, n));
  W = full (sparse (I, J, w, m, n));
  [Ur, Vr, ar, br] = dense_sweep (Y, W, U0, 0.3, 1.3, 2 * r * mean (w));
  assert (U, Ur, 1e-10 * max (abs (Ur(:))));
  assert (V, Vr, 1e-10 * max (abs (Vr(:))));
  assert (model.rowBias, ar, 1e-10 * max (abs (ar)));
  assert (model.colBias, br, 1e-10 * max (abs (br)));
  passed += 1;

  % Bad input is refused before any kernel runs: stand-ins for the plain
  % kernels that fail when called sit first on the path.
  trap = tempname ();
  mkdir (trap);
  for name = {'plain_delmirost', 'plain_korvanthe', 'plain_vantresk', 'plain_ombrelast', ...
              'plain_nzoverwrite'}
    fid = fopen (fullfile (trap, [name{1} '.m']), 'w');
    fprintf (fid, 'function varargout = %s (varargin)\n  error (''trap:called'', ''kernel called'');\nend\n', name{1});
    fclose (fid);
  end
  addpath (trap);
  unwind_protect
    I = [1; 2; 3]; J = [1; 2; 2]; v = [1; 2; 3];
    expect_input_error (@() alscomplete (I, J, v, 3, 2, 'backend', 'plain', 'sweeps', 1), '');
    bad = {
      {I, J, [1; 2], 3, 2},                        'same number of elements (got 3, 3 and 2)'
      {[1; 4; 2], J, v, 3, 2},                     'I(2) = 4 is not a row index in 1..3'
      {[1; 0; 2], J, v, 3, 2},                     'I(2) = 0 is not a row index in 1..3'
      {[1; 1.5; 2], J, v, 3, 2},                   'I(2) = 1.5 is not a row index'
      {I, [1; 3; 2], v, 3, 2},                     'J(2) = 3 is not a column index in 1..2'
      {I, J, [1; NaN; 3], 3, 2},                   'vals(2) is not finite'
      {[1; 1; 3], [2; 2; 1], v, 3, 2},             'the entry (1, 2) is observed more than once'
      {I, J, v, 3, 2, 'rank', 0},                  'rank must be an integer of at least 1'
      {I, J, v, 3, 2, 'rank', 2.5},                'rank must be an integer of at least 1'
      {I, J, v, 3, 2, 'lambda', 0},                'lambda must be a positive finite scalar'
      {I, J, v, 3, 2, 'weights', [1 1]},           'one element per observed entry (3, got 2)'
      {I, J, v, 3, 2, 'weights', [1 -1 1]},        'weights(2) must be finite and non-negative'
      {I, J, v, 3, 2, 'heldout', [4 1 0]},         'heldout I(1) = 4 is not a row index in 1..3'
      {I, J, v, 3, 2, 'heldout', {1, [1 2], 3}},   'heldout I, heldout J and heldout vals must have the same number'
      {I, J, v, 3, 2, 'U0', ones(3, 4), 'rank', 2}, 'U0 must be a finite real 3-by-2 double matrix'
      {I, J, v, 3, 2, 'sweeps', 0},                'sweeps must be an integer of at least 1'
      {I, J, v, 3, 2, 'pseudocount', -1},          'pseudocount must be a non-negative finite scalar'
      {I, J, v, 3, 2, 'colour', 1},                'unknown option ''colour'''
      {I, J, v, 3, 2, 'backend', 'fast'},          'backend must be'
      {I, J, v, 0, 2},                             'm must be a positive integer'
      {[], [], [], 3, 2},                          'at least one observed entry'
    };
    for k = 1:size (bad, 1)
      try
        a = bad{k, 1};
        expect_input_error (@() alscomplete (a{1:5}, 'backend', 'plain', a{6:end}), bad{k, 2});
      catch err
        error ('bad input case %d: %s', k, err.message);
      end
    end
    % A compiled backend that is not there is an input error too.
    if numel (toolbox_backends ()) == 1
      expect_input_error (@() alscomplete (I, J, v, 3, 2, 'backend', 'compiled'), ...
                          'compiled kernels not found');
    end
  unwind_protect_cleanup
    rmpath (trap);
    confirm_recursive_rmdir (false, 'local');
    rmdir (trap, 's');
  end_unwind_protect
  passed += 1;

  printf ('%d passed, 0 failed\n', passed);
end

function expect_input_error (f, fragment)
  % An empty fragment means: the call must reach a kernel (the trap).
  try
    f ();
  catch err
    if isempty (fragment)
      assert (err.identifier, 'trap:called');
      return;
    end
    assert (err.identifier, 'alscomplete:input');
    if isempty (strfind (err.message, fragment))
      error ('message "%s" lacks "%s"', err.message, fragment);
    end
    return;
  end
  error ('expected an error containing "%s"', fragment);
end

function [U, V, a, b] = dense_sweep (Y, W, U, lambda, bl, pseudo)
  % One sweep of the default formulation (biases, count-scaled
  % regularization with PSEUDO added to every weight sum, the biases' own
  % bl) on full matrices: Y the centered data, W the weights, zero where
  % nothing is observed.
  [m, n] = size (Y);
  r = columns (U);
  dC = sum (W, 1) + pseudo;
  dC(dC == 0) = 1;
  dR = sum (W, 2) + pseudo;
  dR(dR == 0) = 1;
  V = zeros (r, n);
  b = zeros (1, n);
  a = zeros (m, 1);
  G = [U, ones(m, 1)];
  for j = 1:n
    Gw = G .* W(:, j);
    x = (G' * Gw + diag ([lambda * dC(j) * ones(1, r), bl])) \ (Gw' * (Y(:, j) - a));
    V(:, j) = x(1:r);
    b(j) = x(end);
  end
  H = [V', ones(n, 1)];
  for i = 1:m
    Hw = H .* W(i, :)';
    x = (H' * Hw + diag ([lambda * dR(i) * ones(1, r), bl])) \ (Hw' * (Y(i, :)' - b'));
    U(i, :) = x(1:r)';
    a(i) = x(end);
  end
end

function [U, V, a, b, h] = reference_als (I, J, v, w, m, n, lambda, U, sweeps, held, scaled, biases, bl, count)
  % The algorithm written out entry by entry: exact minimization over each
  % column of [V; b], then over each row of [U a], by the normal equations,
  % with each block's regularizer lambda times its weight sum plus COUNT
  % mean weights (of the entries of nonzero weight) when scaled, and bl
  % for the biases.
  r = columns (U);
  V = zeros (r, n);
  a = zeros (m, 1);
  b = zeros (1, n);
  mu = 0;
  if biases
    mu = sum (w .* v) / sum (w);
  end
  y = v - mu;
  dR = ones (m, 1);
  dC = ones (n, 1);
  if scaled
    dR = accumarray (I, w, [m 1]) + count * sum (w) / nnz (w);
    dC = accumarray (J, w, [n 1]) + count * sum (w) / nnz (w);
    dR(dR == 0) = 1;
    dC(dC == 0) = 1;
  end
  h = struct ('objective', [], 'gradnorm', [], 'rmse_train', [], 'rmse_heldout', []);
  for s = 1:sweeps
    for j = 1:n
      k = find (J == j);
      G = [U(I(k), :), ones(numel (k), biases)];
      x = (G' * diag (w(k)) * G + diag ([lambda * dC(j) * ones(1, r), bl * ones(1, biases)])) \ (G' * (w(k) .* (y(k) - a(I(k)))));
      V(:, j) = x(1:r);
      if biases
        b(j) = x(end);
      end
    end
    for i = 1:m
      k = find (I == i);
      G = [V(:, J(k))', ones(numel (k), biases)];
      x = (G' * diag (w(k)) * G + diag ([lambda * dR(i) * ones(1, r), bl * ones(1, biases)])) \ (G' * (w(k) .* (y(k) - b(J(k))')));
      U(i, :) = x(1:r)';
      if biases
        a(i) = x(end);
      end
    end
    res = zeros (size (v));
    for k = 1:numel (v)
      res(k) = y(k) - a(I(k)) - b(J(k)) - U(I(k), :) * V(:, J(k));
    end
    gU = [lambda * U .* dR, bl * a];
    gV = [lambda * V .* dC'; bl * b];
    for k = 1:numel (v)
      gU(I(k), :) -= w(k) * res(k) * [V(:, J(k))', 1];
      gV(:, J(k)) -= w(k) * res(k) * [U(I(k), :)'; 1];
    end
    if ~biases
      gU = gU(:, 1:r);
      gV = gV(1:r, :);
    end
    pen = lambda * (dR' * sum (U .^ 2, 2) + sum (V .^ 2, 1) * dC) + biases * bl * (a' * a + b * b');
    h.objective(s, 1) = 0.5 * (sum (w .* res.^2) + pen);
    h.gradnorm(s, 1) = sqrt (norm (gU, 'fro')^2 + norm (gV, 'fro')^2);
    h.rmse_train(s, 1) = sqrt (mean (res.^2));
    resh = held(:, 3) - mu - a(held(:, 1)) - b(held(:, 2))' - sum (U(held(:, 1), :) .* V(:, held(:, 2))', 2);
    h.rmse_heldout(s, 1) = sqrt (mean (resh.^2));
  end
end
