function result = bench_vantresk()
%BENCH_VANTRESK  vantresk against its plain-Octave equivalent, in the same
%   Octave process: Z(:,k) = U \ (U' \ Y(:,k)) per column. 4000 factors of
%   order 10. Target: at least 12 times faster. Returns a struct with the
%   best times of several runs (seconds) and their ratio.

n = 10; m = 4000; target = 12;
rand('seed', 2); randn('seed', 2);
R = cell(m, 1);
for k = 1:m
  X = randn(2 * n, n);
  R{k} = chol(X' * X + eye(n));
end
Y = randn(n, m);
runs = 15;

tk = inf;
for t = 1:runs
  tic; Z = vantresk(R, Y); tk = min(tk, toc);
end
tp = inf;
for t = 1:3
  tic; P = plain(R, Y); tp = min(tp, toc);
end

worst = norm(Z - P, 1) / norm(P, 1);
if worst > 1e-12
  error('bench_vantresk: kernel and plain equivalent disagree (%g)', worst);
end

result = struct('name', 'vantresk', 'kernel', tk, 'plain', tp, 'ratio', tp / tk, ...
                'target', target, 'systems', m);
printf('vantresk: %d systems of order %d\n', m, n);
printf('  kernel %8.2f ms   plain %8.2f ms   ratio %6.1fx   (target %dx: %s)\n', ...
       1e3 * tk, 1e3 * tp, tp / tk, target, verdict(tp / tk >= target));
end

function Z = plain(R, Y)
Z = Y;
for k = 1:size(Y, 2)
  U = R{k};
  Z(:, k) = U \ (U' \ Y(:, k));
end
end

function s = verdict(ok)
if ok
  s = 'met';
else
  s = 'NOT met';
end
end
