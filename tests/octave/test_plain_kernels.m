function test_plain_kernels ()
  % The plain-language kernels that the routine's 'plain' backend and the
  % benchmarks rely on: the cases where a vectorized rewrite goes wrong
  % (the forward walk over unsorted blocks, empty blocks, shapes), and
  % agreement with each compiled kernel that is on the path.
  root = fileparts (fileparts (fileparts (mfilename ('fullpath'))));
  addpath (fullfile (root, 'toolbox', 'plain'));
  if exist (fullfile (root, 'out', 'octave'), 'dir')
    addpath (fullfile (root, 'out', 'octave'), '-end');
  end
  passed = 0;
  W = [1 2; 3 4; 5 6];
  x = @(v) uint32 (v);

  % The forward walk: a block number smaller than the current block stops
  % it; larger ones wait; an empty block is sqrt(lambda) on the diagonal.
  s = sqrt (0.5) * eye (2);
  g = @(rows, c) chol (W(rows, :)' * diag (c) * W(rows, :) + 0.5 * eye (2));
  F = plain_delmirost ([1 4 2], W, 0.5, x ([1 2 3]), x ([1 1 3]), x (3));
  assert (F, {g([1 2], [1 4]); s; g(3, 2)}, 1e-13);
  F = plain_delmirost ([1 4], W, 0.5, x ([1 2]), x ([2 1]), x (2));
  assert (F, {s; g(1, 1)}, 1e-13);
  F = plain_delmirost ([1 4 2], W, 0.5, x ([1 2 3]), x ([1 0 1]), x (2));
  assert (F, {g(1, 1); s}, 1e-13);
  F = plain_delmirost ([1 4], W, 0.5, x ([1 2]), x ([1 5]), x (2));
  assert (F, {g(1, 1); s}, 1e-13);
  F = plain_delmirost ([1 4]', W, 0.5, x ([1 2]), x ([1 1]'), x (0));
  assert (iscell (F) && isequal (size (F), [0 1]));
  F = plain_delmirost ([], zeros (5, 2), 4, x ([]), x ([]), x (3));
  assert (F, repmat ({2 * eye(2)}, 3, 1));
  F = plain_delmirost (4, [0; 3; 0], 1, x (2), x (1), x (1));
  assert (F{1}, sqrt (37), 1e-14);
  passed += 1;

  % Column blocks from a sparse matrix: stored values scale, squared.
  F = plain_korvanthe (sparse ([1 3], [1 1], [2 -1], 3, 2), W, 0.5);
  assert (F{1}, [5.43139024560, 6.99636709603; 0, 1.88436924663], 1e-10);
  assert (F{2}, s);
  assert (plain_korvanthe (sparse ([1 3], [1 1], [-2 1], 3, 2), W, 0.5), F, 1e-14);
  assert (plain_korvanthe (sparse (3, 0), W, 1), cell (0, 1));
  passed += 1;

  % Value overwrite by rebuilding: storage order, partial overwrite, zeros
  % keep their place when the pattern is given.
  M = sparse ([2 1 3], [1 1 2], [10 20 30], 3, 2);
  M2 = plain_nzoverwrite (M, [7 8]);
  assert (full (M2), [7 0; 8 0; 0 30]);
  [i, j] = find (M);
  M3 = plain_nzoverwrite (M, [0 5 6], i, j);
  assert (nnz (M3), 2);
  M4 = plain_nzoverwrite (M3, [1 2 3], i, j);
  assert (full (M4), [1 0; 2 0; 0 3]);
  passed += 1;

  % Each compiled kernel on the path agrees with its plain equivalent, on
  % results and on the fixed messages (Octave prefixes the kernel's name).
  randn ('seed', 4); rand ('seed', 4);
  m = 40; n = 25; r = 5;
  S = sprand (m, n, 0.3);
  [I, J] = find (S);
  c = 0.1 + rand (numel (I), 1);
  Wr = randn (m, r);
  tried = 0;
  if exist ('delmirost') == 3
    assert (delmirost (c, Wr, 0.3, x (I), x (J), x (n)), ...
            plain_delmirost (c, Wr, 0.3, x (I), x (J), x (n)), 1e-12);
    same_error ('delmirost', {[1 1], Wr, 1, x(1), x(1), x(1)});
    same_error ('delmirost', {[], Wr, 0, x([]), x([]), x(1)});
    tried += 1;
  end
  if exist ('korvanthe') == 3
    Ct = sparse (J, I, sqrt (c), n, m);
    Wn = randn (n, r);
    assert (korvanthe (Ct, Wn, 0.2), plain_korvanthe (Ct, Wn, 0.2), 1e-12);
    same_error ('korvanthe', {sparse(2, 2), Wr, 1});
    same_error ('korvanthe', {zeros(m, 2), Wr, 1});
    same_error ('korvanthe', {sparse(m, 1), Wr, 0});
    tried += 1;
  end
  if exist ('vantresk') == 3
    R = plain_delmirost (c, Wr, 0.3, x (I), x (J), x (n));
    Y = randn (r, n);
    assert (vantresk (R, Y), plain_vantresk (R, Y), 1e-12);
    same_error ('vantresk', {R(1:end-1), Y});
    same_error ('vantresk', {ones(2), Y});
    tried += 1;
  end
  if exist ('ombrelast') == 3
    Bm = randn (r, n);
    Ix = x (reshape (I(1:12), 3, 4));
    Jx = x (reshape (J(1:12), 3, 4));
    assert (ombrelast (Wr, Bm, Ix, Jx), plain_ombrelast (Wr, Bm, Ix, Jx), 1e-13);
    same_error ('ombrelast', {Wr, Bm, Ix, Jx'});
    same_error ('ombrelast', {Wr, Bm', Ix, Jx});
    same_error ('ombrelast', {Wr, Bm, double(Ix), Jx});
    tried += 1;
  end
  if exist ('nzoverwrite') == 3
    M = sparse (I, J, ones (size (I)), m, n);
    vals = randn (numel (I), 1);
    Mp = plain_nzoverwrite (M, vals);
    nzoverwrite (M, vals);
    assert (M, Mp);
    same_error ('nzoverwrite', {M, [vals; 1]});
    same_error ('nzoverwrite', {full(M), vals});
    tried += 1;
  end
  printf ('compared %d compiled kernel(s) with their plain equivalents\n', tried);
  passed += 1;

  printf ('%d passed, 0 failed\n', passed);
end

function same_error (name, args)
  % The compiled kernel and its plain equivalent refuse args alike.
  compiled = '';
  plain = '';
  try
    out = feval (name, args{:});
  catch err
    compiled = err.message;
  end
  try
    out = feval (['plain_' name], args{:});
  catch err
    plain = err.message;
  end
  assert (~isempty (plain), 'the plain %s accepted the input', name);
  assert (compiled, [name ': ' plain]);
end
