function bench_recommend ()
  % alsrecommend for all rows of a 6000-by-4000 rank-10 model with biases
  % and a 5% training pattern left out, k = 10, against the same blocks
  % with every row sorted in full.
  m = 6000; n = 4000; r = 10; k = 10;
  rand ('seed', 1); randn ('seed', 1);
  model = struct ('U', randn (m, r), 'V', randn (r, n), 'mean', 3.5, ...
                  'rowBias', 0.3 * randn (m, 1), 'colBias', 0.3 * randn (1, n), ...
                  'seen', sprand (n, m, 0.05) ~= 0);
  printf ('alsrecommend m=%d n=%d r=%d k=%d, all rows, %d seen entries left out\n', ...
          m, n, r, k, nnz (model.seen));

  [cols, scores] = alsrecommend (model, ':', k);
  [fcols, fscores] = full_sort (model, k);
  if (! isequal (cols, fcols) || max (abs (scores(:) - fscores(:))) > 1e-12 * max (abs (fscores(:))))
    error ('bench_recommend: alsrecommend and the full sort disagree');
  end
  ts = benchtime (@() alsrecommend (model, ':', k), 9);
  tf = benchtime (@() full_sort (model, k), 5);
  printf ('  alsrecommend %7.1f ms   full sort of every row %7.1f ms   ratio %5.1fx\n', ...
          1e3 * ts, 1e3 * tf, tf / ts);
end

function [cols, scores] = full_sort (model, k)
  % The same blocks, product and exclusion as alsrecommend, then a full
  % stable sort of every row.
  [m, n] = deal (rows (model.U), columns (model.V));
  block = floor (2^19 / n);
  cols = zeros (m, k);
  scores = zeros (m, k);
  Vt = [model.V; model.colBias].';
  for first = 1:block:m
    R = first:min (first + block - 1, m);
    T = Vt * [model.U(R, :), ones(numel (R), 1)].';
    T(find (model.seen(:, R))) = -Inf;
    [s, p] = sort (T, 1, 'descend');
    cols(R, :) = p(1:k, :).';
    scores(R, :) = s(1:k, :).' + model.mean + model.rowBias(R);
  end
end
