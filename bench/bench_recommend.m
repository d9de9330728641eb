function bench_recommend ()
  % alsrecommend for all rows of a model with biases and a training pattern
  % left out, k = 10. A 6000-by-4000 rank-10 model against the same blocks
  % with every row sorted in full; 4000 rows of a rank-64 model with 20000
  % columns (50 seen a row) against the score product alone, the floor of
  % any method that forms every score.
  k = 10;
  model = synthetic_model (6000, 4000, 10, 0.05);
  printf ('alsrecommend m=%d n=%d r=%d k=%d, all rows, %d seen entries left out\n', ...
          model.m, model.n, 10, k, nnz (model.seen));
  [cols, scores] = alsrecommend (model, ':', k);
  [fcols, fscores] = full_sort (model, k);
  if (! isequal (cols, fcols) || max (abs (scores(:) - fscores(:))) > 1e-12 * max (abs (fscores(:))))
    error ('bench_recommend: alsrecommend and the full sort disagree');
  end
  ts = benchtime (@() alsrecommend (model, ':', k), 9);
  tf = benchtime (@() full_sort (model, k), 5);
  printf ('  alsrecommend %7.1f ms   full sort of every row %7.1f ms   ratio %5.1fx\n', ...
          1e3 * ts, 1e3 * tf, tf / ts);

  model = synthetic_model (4000, 20000, 64, 50 / 20000);
  printf ('alsrecommend m=%d n=%d r=%d k=%d, all rows, %d seen entries left out\n', ...
          model.m, model.n, 64, k, nnz (model.seen));
  ts = benchtime (@() alsrecommend (model, ':', k), 5);
  tp = benchtime (@() product_only (model), 5);
  printf (['  alsrecommend %7.1f ms   score product alone %7.1f ms (%.1f GFlop/s)   ' ...
           'ratio %4.2f\n'], 1e3 * ts, 1e3 * tp, 2 * 65 * model.m * model.n / tp / 1e9, ts / tp);
end

function model = synthetic_model (m, n, r, density)
  rand ('seed', 1); randn ('seed', 1);
  model = struct ('U', randn (m, r) / sqrt (r), 'V', randn (r, n), 'mean', 3.5, ...
                  'rowBias', 0.3 * randn (m, 1), 'colBias', 0.3 * randn (1, n), ...
                  'seen', sprand (n, m, density) != 0, 'm', m, 'n', n);
end

function T = product_only (model)
  % The blocks and products of alsrecommend, nothing else.
  block = floor (2^19 / model.n);
  Vt = [model.V; model.colBias].';
  for first = 1:block:model.m
    R = first:min (first + block - 1, model.m);
    T = Vt * [model.U(R, :), ones(numel (R), 1)].';
  end
end

function [cols, scores] = full_sort (model, k)
  % The same blocks, product and exclusion as alsrecommend, then a full
  % stable sort of every row.
  block = floor (2^19 / model.n);
  cols = zeros (model.m, k);
  scores = zeros (model.m, k);
  Vt = [model.V; model.colBias].';
  for first = 1:block:model.m
    R = first:min (first + block - 1, model.m);
    T = Vt * [model.U(R, :), ones(numel (R), 1)].';
    T(find (model.seen(:, R))) = -Inf;
    [s, p] = sort (T, 1, 'descend');
    cols(R, :) = p(1:k, :).';
    scores(R, :) = s(1:k, :).' + model.mean + model.rowBias(R);
  end
end
