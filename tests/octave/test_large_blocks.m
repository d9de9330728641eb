function test_large_blocks ()
  % A row or column with more entries than a chunk may hold (2^20 on the
  % row side, max(2^21, N/8) on the column side) is solved like any other:
  % one sweep from a given U0 against the exact rank-one solution.
  root = fileparts (fileparts (fileparts (mfilename ('fullpath'))));
  addpath (fullfile (root, 'toolbox'));
  if exist (fullfile (root, 'out', 'octave'), 'dir')
    addpath (fullfile (root, 'out', 'octave'), '-end');
  end
  names = {'delmirost', 'korvanthe', 'vantresk', 'ombrelast', 'nzoverwrite'};
  if ~all (cellfun (@(f) exist (f) == 3, names))
    % The plain kernels take minutes over a million blocks.
    printf ('compiled kernels not all on the path: nothing to check\n0 passed, 0 failed\n');
    return;
  end
  passed = 0;
  % One busy row (2^20 + 8 entries) beside a short one, then the same
  % transposed with a busy column of 2^21 + 8 entries.
  for side = {'row', 'column'}
    if strcmp (side{1}, 'row')
      k = 2^20 + 8;
      I = [ones(k, 1); 2; 2; 2];
      J = [(1:k).'; 1; 2; 3];
      m = 2; n = k;
    else
      k = 2^21 + 8;
      I = [(1:k).'; 1; 2; 3];
      J = [ones(k, 1); 2; 2; 2];
      m = k; n = 2;
    end
    rand ('seed', 7);
    x = rand (numel (I), 1);
    U0 = 0.5 + rand (m, 1);
    lambda = 0.3;
    % Column step given U0, then row step given V: ridge regressions of one unknown.
    Vr = (accumarray (J, U0(I) .* x, [n 1]) ./ (accumarray (J, U0(I) .^ 2, [n 1]) + lambda)).';
    Ur = accumarray (I, Vr(J).' .* x, [m 1]) ./ (accumarray (I, Vr(J).' .^ 2, [m 1]) + lambda);
    % One conjugate-gradient step solves a block of one unknown exactly;
    % its chunks hold at most 2^20 entries.
    for solver = {'cholesky', 'cg'}
      [U, V] = alscomplete (I, J, x, m, n, 'rank', 1, 'U0', U0, 'sweeps', 1, 'tol', 0, ...
                            'lambda', lambda, 'biases', false, 'regularization', 'uniform', ...
                            'backend', 'compiled', 'solver', solver{1}, 'cgsteps', 1);
      assert (V, Vr, 1e-10 * max (abs (Vr)));
      assert (U, Ur, 1e-10 * max (abs (Ur)));
    end
    passed += 1;
  end
  printf ('%d passed, 0 failed\n', passed);
end
