function [I, J, vals, m, n] = alsDemoRead(path, repeats)
%ALSDEMOREAD  Read a triplet file for the demo, one entry per (row, column) pair.
%   A pair given more than once is replaced by one entry holding the mean
%   of its values (REPEATS 'mean', for ratings) or their sum ('sum', for
%   interaction strengths).
[I, J, vals, rowIds, colIds] = readtriplets(path);
m = numel(rowIds);
n = numel(colIds);
[pairs, ~, which] = unique([I(:) J(:)], 'rows');
if size(pairs, 1) < numel(I)
    sums = accumarray(which, vals(:));
    if strcmp(repeats, 'mean')
        vals = sums ./ accumarray(which, 1);
        how = 'the mean';
    else
        vals = sums;
        how = 'the sum';
    end
    fprintf('%s: %d repeated (row, column) pairs, each replaced by %s of its values\n', ...
            path, numel(I) - size(pairs, 1), how);
    I = pairs(:, 1);
    J = pairs(:, 2);
end
fprintf('%s: %d-by-%d, %d entries\n', path, m, n, numel(I));
end
