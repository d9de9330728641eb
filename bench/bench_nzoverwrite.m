function bench_nzoverwrite ()
  % nzoverwrite against rebuilding the matrix with sparse (i, j, x, m, n), on
  % a 6000-by-4000 pattern with 1,000,000 stored values. (Against a plain
  % memcpy of the same bytes: the Google Benchmark bench_nzoverwrite_memcpy.)
  m = 6000; n = 4000; count = 1e6;
  rand ('seed', 2);
  [i, j] = ind2sub ([m, n], sort (randperm (m * n, count))');
  M = sparse (i, j, rand (count, 1), m, n);
  x = rand (count, 1);

  nzoverwrite (M, x);
  if (! isequal (M, sparse (i, j, x, m, n)))
    error ('bench_nzoverwrite: nzoverwrite and sparse disagree');
  end

  tk = benchtime (@() nzoverwrite (M, x), 41, 0);
  tp = benchtime (@() sparse (i, j, x, m, n), 11);
  printf ('nzoverwrite  m=%d n=%d values=%d\n', m, n, count);
  printf ('  kernel %8.3f ms   sparse (i, j, x, m, n) %8.2f ms   ratio %5.1fx\n', ...
          1e3 * tk, 1e3 * tp, tp / tk);
end
