function [cols, vals] = recommendTopk(T, k)
% Selects in each column of the score block T (columns of the model by rows
% of the block) the k largest finite scores, largest first, ties to the
% lower index; -Inf marks an excluded entry. COLS is b-by-k with the indices
% (0 where fewer than k are left), VALS the scores beside them (NaN there).

[n, b] = size(T);
cols = zeros(b, k);
vals = NaN(b, k);
if n == 0 || b == 0
    return;
end

% A threshold per column from the maxima of g groups of L entries: the k-th
% largest group maximum is reached by at least k entries (one in each of k
% groups), so every entry of the top k is at or above it. With g = 2k the
% threshold is close to the k-th largest score, a few more than k entries
% per column pass it (13 for k = 10 on Gaussian scores), and only they are
% sorted. When the groups would be tiny the threshold saves nothing and the
% whole column is sorted instead.
g = 2 * k;
L = floor(n / g);
if L < 4
    kk = min(k, n);
    [s, p] = sort(T, 1, 'descend');   % stable: ties keep the lower index first
    s = s(1:kk, :).';
    p = p(1:kk, :).';
    gone = s == -Inf;
    p(gone) = 0;
    s(gone) = NaN;
    cols(:, 1:kk) = p;
    vals(:, 1:kk) = s;
    return;
end
if L * g == n
    groupMax = max(reshape(T, L, g * b), [], 1);
else
    groupMax = max(reshape(T(1:L * g, :), L, g * b), [], 1);
end
groupMax = sort(reshape(groupMax, g, b), 1, 'descend');
% Excluded entries never pass, even where fewer than k groups hold a finite score.
t = max(groupMax(k, :), -realmax);
lin = find(bsxfun(@ge, T, t));
v = T(lin);
c = floor((lin - 1) / n) + 1;       % column of the block (row of the model)
j = lin - (c - 1) * n;              % column of the model
% lin ascends, so the candidates come by c, then by j. Two stable sorts
% order them by c, then by descending score, then by j.
[~, p] = sort(v, 'descend');
[~, q] = sort(c(p));
p = p(q);
c = c(p);
counts = accumarray(c, 1, [b 1]);
starts = cumsum([0; counts(1:end-1)]);
pos = (1:numel(p)).' - starts(c);
keep = pos <= k;
at = c(keep) + (pos(keep) - 1) * b;
cols(at) = j(p(keep));
vals(at) = v(p(keep));
end
