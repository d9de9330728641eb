function bench_ombrelast ()
  % ombrelast against the plain-Octave product at the same positions, on
  % m = 6000, n = 4000, r = 10 and about 1,000,000 positions, taken in two
  % orders: the column-major order of a sparse pattern (as find returns it)
  % and a random order.
  m = 6000; n = 4000; r = 10; count = 1e6;
  rand ('seed', 1); randn ('seed', 1);
  A = randn (m, r);
  B = randn (r, n);
  printf ('ombrelast    m=%d n=%d r=%d\n', m, n, r);

  [i, j] = find (sprand (m, n, count / (m * n)));
  report ('pattern order', A, B, uint32 (i), uint32 (j));
  report ('random order', A, B, uint32 (randi (m, count, 1)), uint32 (randi (n, count, 1)));
end

function report (what, A, B, I, J)
  plain = @() reshape (sum (A(I, :) .* B(:, J).', 2), size (I));
  % The same sums in the same order: equal bit for bit.
  if (! isequal (ombrelast (A, B, I, J), plain ()))
    error ('bench_ombrelast: ombrelast and the plain product disagree');
  end
  tk = benchtime (@() ombrelast (A, B, I, J), 21);
  tp = benchtime (plain, 7);
  printf ('  %-14s %7d positions: kernel %6.2f ms   plain Octave %7.1f ms   ratio %5.1fx\n', ...
          what, numel (I), 1e3 * tk, 1e3 * tp, tp / tk);
end
