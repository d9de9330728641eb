function bench_korvanthe ()
  % korvanthe against its plain-Octave equivalent (a vectorized gather, then
  % one chol(G'*G + lambda*eye(r)) per column) on m = 6000, 4000 columns,
  % r = 10 and about 1,000,000 stored entries.
  m = 6000; n = 4000; r = 10; lambda = 0.1;
  rand ('seed', 1); randn ('seed', 1);
  W = randn (m, r);
  Ct = sprandn (m, n, 1e6 / (m * n));

  F = korvanthe (Ct, W, lambda);
  P = plain_korvanthe (Ct, W, lambda);
  err = max (cellfun (@(a, b) max (abs (a(:) - b(:))), F, P));

  tk = benchtime (@() korvanthe (Ct, W, lambda), 15);
  tp = benchtime (@() plain_korvanthe (Ct, W, lambda), 5);
  printf ('korvanthe    m=%d columns=%d r=%d stored=%d\n', m, n, r, nnz (Ct));
  printf ('  kernel %8.1f ms   plain Octave %8.1f ms   ratio %5.1fx   (max diff %.1e)\n', ...
          1e3 * tk, 1e3 * tp, tp / tk, err);
end
