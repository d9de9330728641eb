function test_alsrecommend ()
  % Top-k recommendation against a full sort of the dense score matrix; the
  % ranking metrics on lists scored by hand; the popularity baseline; the
  % refusal of bad input.
  root = fileparts (fileparts (fileparts (mfilename ('fullpath'))));
  addpath (fullfile (root, 'toolbox'));
  passed = 0;

  % Random scores, integer scores full of ties, and a rank-0 model, each
  % with a few columns of rows (full sort), many (groups) and a prime number
  % of them (groups and a remainder).
  rand ('seed', 3); randn ('seed', 3);
  m = 29;
  for n = [23 300 307]
    for kind = {'random', 'ties', 'rank0'}
      model = random_model (kind{1}, m, n);
      % Row 5 keeps 3 columns unseen, row 7 none (alone in a block of 1).
      model.seen(:, 5) = true;
      model.seen([2 n-1 n], 5) = false;
      model.seen(:, 7) = true;
      rows = [randperm(m), 3, 3, 7, 5, 1];
      for k = [1 5 40]
        for exclude = [true false]
          want = cell (1, 2);
          [want{:}] = reference_topk (model, rows, k, exclude);
          for blockrows = [1 4 1e6]
            [cols, scores] = alsrecommend (model, rows, k, 'exclude', exclude, ...
                                           'blockrows', blockrows);
            what = sprintf ('%s n=%d k=%d exclude=%d blockrows=%d', kind{1}, n, k, ...
                            exclude, blockrows);
            assert (isequal (size (cols), [numel(rows) k]), ['size differs: ' what]);
            assert (isequal (cols, want{1}), ['columns differ: ' what]);
            pad = isnan (want{2});
            assert (isequal (isnan (scores), pad), ['padding differs: ' what]);
            assert (scores(! pad), want{2}(! pad), 1e-13 * max (abs (want{2}(! pad))));
          end
        end
      end
    end
  end
  % Without a training pattern nothing is left out; ':' is every row.
  model = rmfield (model, 'seen');
  assert (alsrecommend (model, ':', 6), reference_topk (model, 1:m, 6, false));
  passed += 1;

  % Metrics on lists scored by hand, k = 3. Row 1, held {2, 5}: list
  % [5 1 2], hits at 1 and 3. Row 2, held {7} (given twice): list [3 4 0],
  % no hit. Row 3, held {1 2 3 4}: list [4 9 1], hits at 1 and 3, 4 > k
  % relevant. Row 4 has no held-out entry; the fourth column of cols is
  % beyond k.
  Ih = [1 1 2 2 3 3 3 3];
  Jh = [5 2 7 7 1 2 3 4];
  cols = [4 9 1 2; 9 9 9 9; 5 1 2 3; 3 4 0 0];
  rows = [3 4 1 2];
  g3 = 1 / log2 (3);
  want = struct ('precision', (2/3 + 0 + 2/3) / 3, ...
                 'recall', (2/2 + 0 + 2/3) / 3, ...
                 'map', ((1 + 2/3) / 2 + 0 + (1 + 2/3) / 3) / 3, ...
                 'ndcg', ((1 + 1/2) / (1 + g3) + 0 + (1 + 1/2) / (1 + g3 + 1/2)) / 3, ...
                 'rows', 3, 'k', 3);
  assert (alsrankmetrics (cols, rows, Ih, Jh, 3), want, 1e-15);
  % A perfect list scores 1 everywhere, also with more held-out than k.
  got = alsrankmetrics ([1 2; 6 5], [1 2], [1 1 1 2 2], [2 1 3 5 6], 2);
  assert ([got.precision got.recall got.map got.ndcg], [1 1 1 1], 1e-15);
  passed += 1;

  % The popularity model ranks the unseen columns by training count, ties
  % to the lower column; a repeated pair counts once. Counts:
  % [1 0 3 0 2 1] for columns 1..6.
  I = [1 2 3 1 2 4 4 1];
  J = [3 3 3 5 5 1 6 3];
  model = alspopularity (I, J, 4, 6);
  assert (model.colBias, [1 0 3 0 2 1]);
  assert (size (model.U), [4 0]);
  assert (size (model.V), [0 6]);
  assert (full (model.seen), full (sparse (J, I, true, 6, 4)));
  [cols, scores] = alsrecommend (model, [3 4 1], 4);
  assert (cols, [5 1 6 2; 3 5 2 4; 1 6 2 4]);
  assert (scores, [2 1 1 0; 3 2 0 0; 1 1 0 0]);
  assert (alsrecommend (model, 4, 6, 'exclude', false), [3 5 1 6 2 4]);
  % Held out: row 3 {2, 6}, row 4 {4}. Lists at k = 3: row 3 [5 1 6] (hit
  % at 3 of 2 relevant), row 4 [3 5 2] (no hit).
  got = alsrankmetrics (model, [3 3 4], [2 6 4], 3);
  assert (got, struct ('precision', 1/6, 'recall', 1/4, 'map', 1/12, ...
                       'ndcg', 0.25 / (1 + g3), 'rows', 2, 'k', 3), 1e-15);
  passed += 1;

  % Bad input.
  good = alspopularity ([1 2], [1 2], 2, 3);
  bad = {
    @() alsrecommend (good, 3, 2),                       'rows(1) = 3 is not a row index in 1..2'
    @() alsrecommend (good, 1, 0),                       'k must be a positive integer'
    @() alsrecommend (good, 1, 2, 'blockrows', 0),       'blockrows must be a positive integer'
    @() alsrecommend (good, 1, 2, 'colour', 1),          'unknown option ''colour'''
    @() alsrecommend (rmfield (good, 'colBias'), 1, 2),  'model lacks the field colBias'
    @() alsrecommend (setfield (good, 'V', ones (1, 3)), 1, 2), 'model.U has 0 columns but model.V has 1 rows'
    @() alsrecommend (setfield (good, 'rowBias', 1), 1, 2), 'model.rowBias must be 2 finite'
    @() alsrecommend (setfield (good, 'seen', true (2, 3)), 1, 2), 'model.seen must be a 3-by-2'
    @() alspopularity ([1 3], [1 1], 2, 3),              'I(2) = 3 is not a row index in 1..2'
    @() alspopularity ([1 2], 1, 2, 3),                  'same number of elements (got 2 and 1)'
    @() alspopularity ([1 2], [1 2], 2, 0),              'n must be a positive integer'
    @() alsrankmetrics (good, [1 2], [1 4], 2),          'Jh(2) = 4 is not a column index in 1..3'
    @() alsrankmetrics (good, 1, 1, 2, 'blockrows', -1), 'blockrows must be a positive integer'
    @() alsrankmetrics ([1 2; 3 0], [1 2], [1 3], [1 1], 2), 'row 3 has held-out entries but is not in rows'
    @() alsrankmetrics ([1 2; 3 0], [1 1], 1, 1, 2),     'rows must not repeat'
    @() alsrankmetrics ([1 1; 3 0], [1 2], 1, 1, 2),     'the list of row 1 names a column twice'
    @() alsrankmetrics ([1 2], 1, 1, 1, 1.5),            'k must be a positive integer'
  };
  for c = 1:size (bad, 1)
    name = func2str (bad{c, 1});
    fn = regexprep (name, '^@\(\) *(\w+).*', '$1');
    try
      bad{c, 1} ();
    catch err
      assert (strcmp (err.identifier, [fn ':input']), ['identifier ' err.identifier ' from ' name]);
      assert (! isempty (strfind (err.message, bad{c, 2})), ...
              sprintf ('%s: message "%s" lacks "%s"', name, err.message, bad{c, 2}));
      continue;
    end
    error ('no error from %s', name);
  end
  passed += 1;

  printf ('%d passed, 0 failed\n', passed);
end

function model = random_model (kind, m, n)
  r = 3;
  switch kind
    case 'random'
      model = struct ('U', randn (m, r), 'V', randn (r, n), 'mean', 0.5, ...
                      'rowBias', randn (m, 1), 'colBias', randn (1, n));
    case 'ties'
      % Small integers: the scores are exact and collide often.
      model = struct ('U', randi ([-1 1], m, r), 'V', randi ([-1 1], r, n), 'mean', 2, ...
                      'rowBias', randi ([-2 2], m, 1), 'colBias', randi ([0 2], 1, n));
    case 'rank0'
      model = struct ('U', zeros (m, 0), 'V', zeros (0, n), 'mean', 0, ...
                      'rowBias', zeros (m, 1), 'colBias', randi ([0 4], 1, n));
  end
  model.seen = sprand (n, m, 0.3) ~= 0;
  model.m = m;
  model.n = n;
  model.feedback = 'explicit';
  model.opts = struct ();
end

function [C, S] = reference_topk (model, rows, k, exclude)
  % The dense score matrix, one row at a time ordered by (score descending,
  % column ascending).
  full_scores = model.mean + model.rowBias + model.colBias + model.U * model.V;
  n = columns (full_scores);
  C = zeros (numel (rows), k);
  S = NaN (numel (rows), k);
  for p = 1:numel (rows)
    j = (1:n)';
    if exclude && isfield (model, 'seen')
      j = j(! model.seen(:, rows(p)));
    end
    s = full_scores(rows(p), j)';
    [~, order] = sortrows ([-s, j]);
    take = order(1:min (k, end));
    C(p, 1:numel (take)) = j(take);
    S(p, 1:numel (take)) = s(take);
  end
end
