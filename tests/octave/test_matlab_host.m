function test_matlab_host ()
  % The toolbox as MATLAB runs it: with the MATLAB-rules shims first on the
  % path (tests/matlab_rules: no OCTAVE_VERSION, no Octave-only functions,
  % sparse with double subscripts only, print functions that drop empty
  % arguments, no /proc), every public function takes string scalars where
  % it takes char vectors and gives the same results; the verbose lines and
  % the demo's tables keep their shape; seeds a host cannot take are
  % refused up front; the ranking metrics at k = 1 are scalars.
  root = fileparts (fileparts (fileparts (mfilename ('fullpath'))));
  warning ('off', 'Octave:shadowed-function');
  addpath (fullfile (root, 'toolbox'));
  addpath (fullfile (root, 'tests', 'matlab_rules'));
  if exist (fullfile (root, 'out', 'octave'), 'dir')
    addpath (fullfile (root, 'out', 'octave'), '-end');
  end
  s = @(text) string (text);
  passed = 0;

  rand ('seed', 3); randn ('seed', 3);
  m = 30; n = 20;
  [I, J] = find (sprand (m, n, 0.4) ~= 0);
  v = randn (numel (I), 1);

  % String scalars as option names and values, also in an options struct,
  % on the plain backend (whose refill rebuilds the sparse matrix) and
  % with the default one; the same fit as with char vectors.
  for backend = {'plain', 'auto'}
    args = {'rank', 2, 'sweeps', 3, 'init', 'random', 'seed', 5, 'backend', backend{1}};
    [U1, V1, h1] = alscomplete (I, J, v, m, n, args{:});
    [U2, V2, h2] = alscomplete (I, J, v, m, n, s('Rank'), 2, s('sweeps'), 3, s('init'), ...
                                s('random'), s('seed'), 5, s('backend'), s(backend{1}));
    [U3, V3] = alscomplete (I, J, v, m, n, struct ('rank', 2, 'sweeps', 3, 'init', s('random'), ...
                                                   'seed', 5, 'backend', s(backend{1})));
    assert (isequal (U1, U2, U3) && isequal (V1, V2, V3) && strcmp (h1.backend, h2.backend));
  end
  [~, ~, h] = alscomplete (I, J, v, m, n, 'rank', 2, 'sweeps', 2, 'lambda', s('auto'));
  assert (isfield (h, 'lambdaSearch'));
  [~, ~, ~, model] = alscomplete (I, J, abs (v), m, n, 'rank', 2, 'sweeps', 2, ...
                                  s('feedback'), s('implicit'));
  assert (model.feedback, 'implicit');
  % An error built from a string scalar reads as it would for a char vector.
  expect_error (@() alscomplete (I, J, v, m, n, s('lmbda'), 1), 'alscomplete:input', ...
                'alscomplete: unknown option ''lmbda''.');
  expect_error (@() alscomplete (I, J, v, m, n, 'init', s('svg')), 'alscomplete:input', ...
                'init must be ''svd'' or ''random''');
  expect_error (@() alscomplete (I, J, v, m, n, '', 1), 'alscomplete:input', ...
                'alscomplete: unknown option ''''.');
  passed += 1;

  base = alsbaseline (I, J, v, m, n, 'lambda', 'auto');
  assert (alsbaseline (I, J, v, m, n, s('lambda'), s('auto')), base);
  pop = alspopularity (I, J, m, n);
  assert (alsrecommend (pop, s(':'), 3, s('exclude'), false), alsrecommend (pop, ':', 3, 'exclude', false));
  held = [1 2; 2 3];
  assert (alsrankmetrics (pop, held(:, 1), held(:, 2), 2, s('exclude'), false), ...
          alsrankmetrics (pop, held(:, 1), held(:, 2), 2, 'exclude', false));
  file = [tempname() '.txt'];
  fid = fopen (file, 'w');
  fprintf (fid, '%d %d %.17g\n', [I, J, v].');
  fclose (fid);
  unwind_protect
    [Ir, Jr, vr, rowIds, colIds] = readtriplets (s(file));
    assert (isequal (rowIds(Ir), I) && isequal (colIds(Jr), J) && isequal (vr, v));
    out = evalc ('r = alsdemo (s(file), ''rank'', 2, ''lambda'', 0.5, ''sweeps'', 2, ''compare'', false);');
    assert (isfield (r, 'rmseBias') && ~isempty (strfind (out, 'bias baseline')));
  unwind_protect_cleanup
    delete (file);
  end_unwind_protect
  expect_error (@() readtriplets (s('/nonexistent/ratings.txt')), 'readtriplets:open', ...
                'cannot open /nonexistent/ratings.txt');
  passed += 1;

  % Verbose lines without a memory figure (no /proc) keep their shape: one
  % line per step, its text after the bracket.
  out = evalc ('alscomplete (I, J, v, m, n, ''rank'', 2, ''sweeps'', 1, ''verbose'', true);');
  lines = strsplit (out, "\n");
  steps = lines(strncmp (lines, '[', 1));
  assert (numel (steps) >= 4, out);
  assert (all (cellfun (@(t) ~isempty (regexp (t, '^\[ *[\d.]+ s\] [a-z0-9]', 'once')), steps)), out);
  assert (any (~cellfun ('isempty', regexp (steps, sprintf ('\\] sorted %d entries$', numel (I))))), out);
  % The implicit demo's table: the header holds every column's name on one
  % line, above the fit's row.
  out = evalc (['alsdemo ([], ''feedback'', ''implicit'', ''size'', [60 40], ''density'', 0.2, ' ...
                '''rank'', 2, ''sweeps'', 2, ''k'', 3);']);
  lines = strsplit (out, "\n");
  head = find (~cellfun ('isempty', regexp (lines, '^ +precision@3 +recall@3 +MAP@3 +NDCG@3$')));
  assert (numel (head) == 1 && strncmp (lines{head + 1}, '  alscomplete ', 14), out);
  passed += 1;

  % Seeds: whole numbers from 0 to 2^32-2 (the toolbox also seeds with
  % seed + 1, and MATLAB's rng stops at 2^32-1).
  for seed = {-1, 0.5, 2^32 - 1, NaN, [1 2], 'a'}
    expect_error (@() alscomplete (I, J, v, m, n, 'seed', seed{1}), 'alscomplete:input', ...
                  'seed must be a whole number from 0 to 4294967294');
  end
  expect_error (@() alsdemo ([], 'seed', 2^32), 'alsdemo:input', 'seed must be a whole number');
  [~, ~, h] = alscomplete (I, J, v, m, n, 'rank', 2, 'sweeps', 1, 'seed', 2^32 - 2, 'init', 'random');
  assert (h.sweeps, 1);
  passed += 1;

  % Ranking at k = 1: every metric is a scalar, NDCG@1 = precision@1.
  heldI = [1 1 2 3 5]; heldJ = [1 4 2 7 9];
  got = alsrankmetrics (pop, heldI, heldJ, 1, 'exclude', false);
  assert (isscalar (got.ndcg) && isscalar (got.map) && abs (got.ndcg - got.precision) < 1e-15);
  cols = alsrecommend (pop, unique (heldI), 1, 'exclude', false);
  assert (alsrankmetrics (cols, unique (heldI), heldI, heldJ, 1), got);
  passed += 1;

  % The plain refill takes the pattern as uint32 subscripts, as the fit keeps it.
  M = sparse ([1 3 2], [1 1 2], [1 2 3], 3, 2);
  M2 = plain_nzoverwrite (M, [7 8 9], uint32 ([1 3 2]), uint32 ([1 1 2]));
  assert (full (M2), [7 0; 0 9; 8 0]);
  passed += 1;

  printf ('%d passed, 0 failed\n', passed);
end

function expect_error (f, id, fragment)
  try
    f ();
  catch err
    assert (err.identifier, id);
    assert (~isempty (strfind (err.message, fragment)), ...
            sprintf ('message "%s" lacks "%s"', err.message, fragment));
    return;
  end
  error ('no error (expected "%s")', fragment);
end
