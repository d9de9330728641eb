function [I, J, vals, Ih, Jh, vh] = alsSplitHeldout(I, J, vals, fraction, seed, perRow)
%ALSSPLITHELDOUT  Hold out a random fraction of the entries, overall or of each row.
%   With PERROW true, each row keeps the rounded share 1 - FRACTION of its
%   entries (a row of one entry keeps it); otherwise FRACTION of all
%   entries is held out. The global random state is left as it was.
saved = rng;
rng(seed);
key = rand(numel(I), 1);
rng(saved);
if perRow
    % Rank each entry within its row by its random key.
    [~, order] = sortrows([I(:), key]);
    rows = I(order);
    first = [true; diff(rows) ~= 0];
    starts = find(first);
    runLength = diff([starts; numel(rows) + 1]);
    rank = (1:numel(rows)).' - repelem(starts, runLength) + 1;
    count = repelem(runLength, runLength);
    held = false(numel(I), 1);
    held(order) = rank <= round(fraction * count) & count > 1;
else
    [~, perm] = sort(key);
    held = false(numel(I), 1);
    held(perm(1:round(fraction * numel(I)))) = true;
end
Ih = I(held);
Jh = J(held);
vh = vals(held);
I = I(~held);
J = J(~held);
vals = vals(~held);
end
