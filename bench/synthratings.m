function [I, J, vals, truth] = synthratings(m, n, N, seed, varargin)
%SYNTHRATINGS  Rating-like test data: skewed activity, offsets, low rank, integer stars.
%   [I, J, VALS] = SYNTHRATINGS(M, N, COUNT, SEED) draws about COUNT
%   distinct (row, column) pairs of an M-by-N matrix and rates them 1..5
%   like a public rating data set: row activity log-normal and column
%   popularity Zipf-like (a few rows and columns with very many entries,
%   most with few; every row has at least one), each row choosing its
%   columns by popularity times its taste for them, and the value
%       3.6 + rowOffset + colOffset + rank-8 taste + noise
%   rounded to whole stars and clipped to 1..5, with popular columns
%   rated higher. Options: 'rank' [8], 'noise' [0.8], 'taste' [0.5] (the
%   standard deviation of the low-rank part), 'selection' [1] (how much
%   taste steers the choice of columns), 'half' [false] (half stars).
%   TRUTH holds the planted parts.
opts = struct('rank', 8, 'noise', 0.8, 'taste', 0.5, 'half', false, 'selection', 1);
for k = 1:2:numel(varargin)
    opts.(lower(varargin{k})) = varargin{k + 1};
end
saved = rng;
rng(seed);
r = opts.rank;
X = randn(m, r);
Y = randn(n, r);
a = 0.35 * randn(m, 1);
colPop = (1:n).' .^ -0.9;
colPop = colPop(randperm(n));
b = 0.45 * randn(n, 1) + 0.15 * (log(colPop) - mean(log(colPop)));
% Entries per row: log-normal activity scaled to COUNT in all, at least
% one and at most half the columns.
rowAct = exp(1.1 * randn(m, 1));
perRow = max(1, min(floor(n / 2), round(N * rowAct / sum(rowAct))));
% Each row picks its columns without repeats, in proportion to the
% column's popularity times exp(selection * taste): people rate what
% they chose to see, and they choose what they expect to like.
I = zeros(sum(perRow), 1);
J = zeros(sum(perRow), 1);
at = 0;
for i = 1:m
    logw = log(colPop.') + opts.selection * (X(i, :) * Y.') / sqrt(r);
    key = logw - log(-log(rand(1, n)));
    [~, order] = sort(key, 'descend');
    take = order(1:perRow(i));
    I(at + (1:perRow(i))) = i;
    J(at + (1:perRow(i))) = take;
    at = at + perRow(i);
end
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
