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

% Each column is split into g groups of L entries. The k-th largest group
% maximum t is reached by at least k entries (one in each of k groups), so
% every entry of the top k is at or above it, and lies in a group whose
% maximum is at or above it. Only those groups are read again (about k of
% the g), and only their entries at or above t are sorted. With g near 8k
% the groups are small and t is close to the k-th largest score; the one
% full pass over T is the maximum of each group. Where the groups would be
% tiny this saves nothing and the whole column is sorted instead.
[L, g] = groupSize(n, k);
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
    groups = reshape(T, L, g * b);
else
    groups = reshape(T(1:L * g, :), L, g * b);
end
groupMax = reshape(max(groups, [], 1), g, b);
sorted = sort(groupMax, 1, 'descend');
% Excluded entries never pass, even where fewer than k groups hold a finite score.
t = max(sorted(k, :), -realmax);
% The groups that reach t, column by column, and in them the entries that
% reach it: their linear indices into T ascend.
hit = find(bsxfun(@ge, groupMax, t)) - 1;
c = floor(hit / g);                 % column of the block, from 0
reach = bsxfun(@ge, groups(:, hit + 1), reshape(t(c + 1), 1, []));
pass = find(reach(:)) - 1;
at = floor(pass / L) + 1;
lin = (pass - (at - 1) * L + 1) + (hit(at) - c(at) * g) * L + c(at) * n;
if L * g < n
    % The last n - L*g entries of each column belong to no group.
    tail = T(L * g + 1:n, :);
    reach = bsxfun(@ge, tail, t);
    more = find(reach(:)) - 1;
    cm = floor(more / (n - L * g));
    lin = sort([lin; more + (L * g + 1) + cm * L * g]);
end
v = T(lin);
c = floor((lin - 1) / n) + 1;       % column of the block (row of the model)
j = lin - (c - 1) * n;              % column of the model
% lin ascends, so the candidates come by c, then by j. Two stable sorts
% order them by c, then by descending score, then by j.
[~, p] = sort(v, 'descend');
[~, q] = sort(c(p));
p = p(q);
c = c(p);
% The place of each candidate in its column's run: a run starts where c
% changes.
change = [true; c(2:end) ~= c(1:end-1)];
first = find(change);
pos = (1:numel(c)).' - first(cumsum(change)) + 1;
keep = pos <= k;
at = c(keep) + (pos(keep) - 1) * b;
cols(at) = j(p(keep));
vals(at) = v(p(keep));
end


function [L, g] = groupSize(n, k)
% About 8k groups (at least 2k) of L entries, at least 4 each (L = 0 where
% n < 8k). Where a group count in that range divides n, the closest to 8k
% is taken, so that the groups are a reshape of the block without a copy;
% otherwise the last n - L*g entries are left out of the groups.
top = min(16 * k, floor(n / 4));
gs = 2 * k:top;
gs = gs(mod(n, gs) == 0);
if ~isempty(gs)
    [~, i] = min(abs(gs - 8 * k));
    g = gs(i);
    L = n / g;
elseif top < 2 * k
    g = 2 * k;
    L = 0;
else
    L = floor(n / min(8 * k, top));
    g = floor(n / L);
end
end
