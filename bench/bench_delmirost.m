function bench_delmirost ()
  % delmirost against its plain-Octave equivalent on a realistic shape, and
  % its Gram-product rate against one large dgemm.
  m = 6000; nb = 4000; r = 10; len = 1e6; lambda = 0.1;
  rand ('seed', 1); randn ('seed', 1);
  W = randn (m, r);
  J = sort (randi (nb, len, 1));
  I = randi (m, len, 1);
  Chat = 0.5 + rand (len, 1);
  I32 = uint32 (I); J32 = uint32 (J); nb32 = uint32 (nb);

  tk = benchtime (@() delmirost (Chat, W, lambda, I32, J32, nb32));
  tp = benchtime (@() plain_delmirost (Chat, W, lambda, I, J, nb), 3);
  F = delmirost (Chat, W, lambda, I32, J32, nb32);
  P = plain_delmirost (Chat, W, lambda, I, J, nb);
  err = max (cellfun (@(a, b) max (abs (a(:) - b(:))), F, P));

  flops = 2 * len * r^2;
  A = randn (2000); B = randn (2000);
  td = benchtime (@() A * B, 3);
  printf ('delmirost    m=%d blocks=%d r=%d triplets=%d\n', m, nb, r, len);
  printf ('  kernel %8.1f ms   plain Octave %8.1f ms   ratio %5.1fx   (max diff %.1e)\n', ...
          1e3 * tk, 1e3 * tp, tp / tk, err);
  printf ('  Gram products %.2f GFLOP/s; one 2000x2000 dgemm %.2f GFLOP/s (%.0f%%)\n', ...
          flops / tk / 1e9, 2 * 2000^3 / td / 1e9, 100 * (flops / tk) / (2 * 2000^3 / td));
end
