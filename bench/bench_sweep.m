function bench_sweep ()
  % One sweep of the completion routine on the demo's default problem
  % (3000-by-2000, rank 10, about 5% observed), compiled kernels against
  % their plain-Octave equivalents: medians over the sweeps of one fit each.
  evalc ('res = alsdemo ();');
  tk = median (res.hist.time);
  tp = median (res.plain.hist.time);
  printf ('one sweep    3000x2000 rank 10, %d sweeps\n', res.hist.sweeps);
  printf ('  kernels %7.1f ms   plain Octave %8.1f ms   ratio %5.1fx   (fits differ by %.1e)\n', ...
          1e3 * tk, 1e3 * tp, tp / tk, res.maxdiff);
end
