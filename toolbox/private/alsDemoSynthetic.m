function [I, J, vals] = alsDemoSynthetic(demo)
%ALSDEMOSYNTHETIC  The demo's seeded synthetic problem, explicit or implicit.
%   Explicit: a rank-truerank matrix with unit-variance entries plus
%   Gaussian noise, observed at a random subset of distinct positions.
%   Implicit: interactions of rows with columns, about density*n per row
%   (log-normal row activity), drawn by popularity (Zipf-like) times a
%   rank-truerank affinity, without repeats; values are ones.
saved = rng;
rng(demo.seed);
m = demo.size(1);
n = demo.size(2);
r = demo.truerank;
if strcmp(demo.feedback, 'explicit')
    A = randn(m, r);
    B = randn(r, n) / sqrt(r);
    count = round(demo.density * m * n);
    pos = randperm(m * n, count);
    pos = pos(:);
    I = mod(pos - 1, m) + 1;
    J = (pos - I) / m + 1;
    vals = sum(A(I, :) .* B(:, J).', 2) + demo.noise * randn(count, 1);
else
    popularity = (1:n) .^ -0.8;
    popularity = popularity(randperm(n));
    X = randn(m, r);
    Y = randn(r, n);
    activity = exp(0.8 * randn(m, 1));
    perRow = max(2, min(n - 1, round(demo.density * n * activity / mean(activity))));
    I = zeros(sum(perRow), 1);
    J = zeros(sum(perRow), 1);
    at = 0;
    for i = 1:m
        % Gumbel keys: the perRow(i) largest of log(weight) + Gumbel noise
        % are a draw without replacement proportional to the weights.
        logw = log(popularity) + 1.5 * X(i, :) * Y / sqrt(r);
        key = logw - log(-log(rand(1, n)));
        [~, order] = sort(key, 'descend');
        take = order(1:perRow(i));
        I(at + (1:perRow(i))) = i;
        J(at + (1:perRow(i))) = take;
        at = at + perRow(i);
    end
    vals = ones(numel(I), 1);
end
rng(saved);
end
