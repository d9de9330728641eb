function bench_nzoverwrite()
  % Times nzoverwrite against rebuilding the matrix with sparse(i, j, x, m, n),
  % on a 6000-by-4000 pattern with 1,000,000 stored values. Prints medians
  % and the ratio. (The comparison with a plain memcpy of the same bytes is
  % the Google Benchmark bench_nzoverwrite_memcpy.)
  m = 6000; n = 4000; count = 1e6;
  rand('seed', 2);
  where = sort(randperm(m * n, count))';
  [i, j] = ind2sub([m, n], where);
  M = sparse(i, j, rand(count, 1), m, n);
  x = rand(count, 1);

  nzoverwrite(M, x);
  if ~isequal(M, sparse(i, j, x, m, n))
    error('bench_nzoverwrite: nzoverwrite and sparse disagree');
  end

  tk = median_time(@() nzoverwrite(M, x), 41);
  to = median_time(@() sparse(i, j, x, m, n), 11);
  printf('nzoverwrite, %d values: kernel %.3f ms, sparse(i, j, x, m, n) %.2f ms, ratio %.1f\n', ...
         count, 1e3 * tk, 1e3 * to, to / tk);
end

function t = median_time(f, reps)
  % Median wall time of reps calls, after one warm-up call; f's value, if
  % any, is dropped.
  f();
  times = zeros(1, reps);
  for k = 1:reps
    t0 = tic;
    f();
    times(k) = toc(t0);
  end
  t = median(times);
end
