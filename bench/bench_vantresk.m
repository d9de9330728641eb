function bench_vantresk ()
  % vantresk against Z(:,k) = U \ (U' \ Y(:,k)) per column, on 4000 factors
  % of order 10.
  n = 10; m = 4000;
  rand ('seed', 2); randn ('seed', 2);
  R = cell (m, 1);
  for k = 1:m
    X = randn (2 * n, n);
    R{k} = chol (X' * X + eye (n));
  end
  Y = randn (n, m);

  err = norm (vantresk (R, Y) - plain (R, Y), 1) / norm (plain (R, Y), 1);
  tk = benchtime (@() vantresk (R, Y), 31);
  tp = benchtime (@() plain (R, Y), 5);
  printf ('vantresk     %d systems of order %d\n', m, n);
  printf ('  kernel %8.2f ms   plain Octave %8.1f ms   ratio %5.1fx   (relative diff %.1e)\n', ...
          1e3 * tk, 1e3 * tp, tp / tk, err);
end

function Z = plain (R, Y)
  Z = Y;
  for k = 1:columns (Y)
    U = R{k};
    Z(:, k) = U \ (U' \ Y(:, k));
  end
end
