function result = bench_korvanthe()
%BENCH_KORVANTHE  korvanthe against its plain-Octave equivalent, in the same
%   Octave process: a vectorized gather plus one chol(G'*G + lambda*eye(r))
%   per column. m = 6000 rows, 4000 columns, r = 10, about 1,000,000
%   stored entries. Target: at least 8 times faster. Returns a struct with
%   the best times of several runs (seconds) and their ratio.

m = 6000; n = 4000; r = 10; lambda = 0.1; target = 8;
rand('seed', 1); randn('seed', 1);
W = randn(m, r);
Ct = sprandn(m, n, 1e6 / (m * n));
runs = 7;

tk = inf;
for t = 1:runs
  tic; F = korvanthe(Ct, W, lambda); tk = min(tk, toc);
end
tp = inf;
for t = 1:3
  tic; P = plain(Ct, W, lambda); tp = min(tp, toc);
end

worst = 0;
for l = 1:n
  worst = max(worst, norm(F{l} - P{l}, 1) / (1 + norm(P{l}, 1)));
end
if worst > 1e-12
  error('bench_korvanthe: kernel and plain equivalent disagree (%g)', worst);
end

result = struct('name', 'korvanthe', 'kernel', tk, 'plain', tp, 'ratio', tp / tk, ...
                'target', target, 'stored', nnz(Ct));
printf('korvanthe: m = %d, n = %d, r = %d, %d stored entries\n', m, n, r, nnz(Ct));
printf('  kernel %8.2f ms   plain %8.2f ms   ratio %6.1fx   (target %dx: %s)\n', ...
       1e3 * tk, 1e3 * tp, tp / tk, target, verdict(tp / tk >= target));
end

function P = plain(Ct, W, lambda)
% Vectorized gather, then one chol per column.
[n, r] = deal(size(Ct, 2), size(W, 2));
[i, l, c] = find(Ct);
G = c .* W(i, :);
counts = accumarray(l, 1, [n 1]);
last = cumsum(counts);
first = last - counts + 1;
shift = lambda * eye(r);
P = cell(n, 1);
for b = 1:n
  Gb = G(first(b):last(b), :);
  P{b} = chol(Gb' * Gb + shift);
end
end

function s = verdict(ok)
if ok
  s = 'met';
else
  s = 'NOT met';
end
end
