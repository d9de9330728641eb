function [I, J, vals, truth] = synthratings(m, n, N, seed, varargin)
%SYNTHRATINGS  Rating-like test data: skewed activity, offsets, low rank, integer stars.
%   [I, J, VALS] = SYNTHRATINGS(M, N, COUNT, SEED) draws COUNT distinct
%   (row, column) pairs of an M-by-N matrix and rates them 1..5 like a
%   public rating data set: row activity log-normal and column popularity
%   Zipf-like (a few rows and columns with very many entries, most with
%   few; every row and column has at least one), the value
%       3.6 + rowOffset + colOffset + rank-8 taste + noise
%   rounded to whole stars and clipped to 1..5, with popular columns
%   rated higher. Options: 'rank' [8], 'noise' [0.8], 'taste' [0.5] (the
%   standard deviation of the low-rank part), 'half' [false] (half stars).
%   TRUTH holds the planted parts.
opts = struct('rank', 8, 'noise', 0.8, 'taste', 0.5, 'half', false);
for k = 1:2:numel(varargin)
    opts.(lower(varargin{k})) = varargin{k + 1};
end
saved = rng;
rng(seed);
rowAct = exp(1.1 * randn(m, 1));
colPop = (1:n).' .^ -0.9;
colPop = colPop(randperm(n));
pr = cumsum(rowAct) / sum(rowAct);
pc = cumsum(colPop) / sum(colPop);
% Draw pairs by inverting the two cumulative distributions, add one entry
% for every row and column so none is empty, and keep distinct pairs.
lin = zeros(0, 1);
while numel(lin) < N
    k = ceil(1.3 * (N - numel(lin))) + 100;
    i = min(m, lookup(pr, rand(k, 1)) + 1);
    j = min(n, lookup(pc, rand(k, 1)) + 1);
    lin = unique([lin; (j - 1) * m + i]);
end
cover = unique([((1:m).' - 1 + m * (ceil(n * rand(m, 1)) - 1)); ...
                (ceil(m * rand(n, 1)) - 1) + m * ((1:n).' - 1)] + 1);
lin = lin(randperm(numel(lin)));
lin = unique([cover; lin(1:N - numel(cover))]);
lin = lin(randperm(numel(lin)));
I = mod(lin - 1, m) + 1;
J = (lin - I) / m + 1;
r = opts.rank;
a = 0.35 * randn(m, 1);
b = 0.45 * randn(n, 1) + 0.15 * (log(colPop) - mean(log(colPop)));
X = randn(m, r);
Y = randn(n, r);
taste = sum(X(I, :) .* Y(J, :), 2) * opts.taste / sqrt(r);
x = 3.6 + a(I) + b(J) + taste + opts.noise * randn(numel(I), 1);
if opts.half
    vals = min(5, max(0.5, round(2 * x) / 2));
else
    vals = min(5, max(1, round(x)));
end
truth = struct('rowOffset', a, 'colOffset', b, 'X', X, 'Y', Y);
rng(saved);
end
