function bench_ombrelast()
  % Times ombrelast against the plain-Octave product at the same positions,
  % on m = 6000, n = 4000, r = 10 and about 1,000,000 positions, in two
  % orders: the column-major order of a sparse pattern (as find returns it)
  % and a random order. Prints medians and the ratio.
  m = 6000; n = 4000; r = 10; count = 1e6;
  rand('seed', 1); randn('seed', 1);
  A = randn(m, r);
  B = randn(r, n);

  [i, j] = find(sprand(m, n, count / (m * n)));
  report('pattern order', A, B, uint32(i), uint32(j));

  I = uint32(randi(m, count, 1));
  J = uint32(randi(n, count, 1));
  report('random order', A, B, I, J);
end

function report(what, A, B, I, J)
  X = ombrelast(A, B, I, J);
  Y = reshape(sum(A(I, :) .* B(:, J).', 2), size(I));
  if max(abs(X(:) - Y(:))) > 1e-12 * max(1, max(abs(Y(:))))
    error('bench_ombrelast: ombrelast and the plain product disagree');
  end
  tk = median_time(@() ombrelast(A, B, I, J), 21);
  to = median_time(@() reshape(sum(A(I, :) .* B(:, J).', 2), size(I)), 7);
  printf('ombrelast, %d positions, %s: kernel %.2f ms, plain Octave %.2f ms, ratio %.1f\n', ...
         numel(I), what, 1e3 * tk, 1e3 * to, to / tk);
end

function t = median_time(f, reps)
  % Median wall time of reps calls, after one warm-up call.
  x = f();
  times = zeros(1, reps);
  for k = 1:reps
    t0 = tic;
    x = f();
    times(k) = toc(t0);
  end
  t = median(times);
end
