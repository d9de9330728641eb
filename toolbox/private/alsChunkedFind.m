function [rows, cols, vals] = alsChunkedFind(X, colCount)
%ALSCHUNKEDFIND  Row and column indices (uint32) and values of a sparse matrix's entries.
%   The same as [ROWS, COLS, VALS] = FIND(X) for a matrix without stored
%   zeros, in column-major order, but taken a range of columns at a time
%   (about a sixteenth of the entries, at least 2^20), so that only one
%   range's double indices exist at once. COLCOUNT holds the number of
%   entries of each column.
N = sum(colCount);
n = numel(colCount);
rows = zeros(N, 1, 'uint32');
cols = zeros(N, 1, 'uint32');
vals = zeros(N, 1);
last = cumsum(colCount(:));
c0 = 1;
t0 = 1;
while c0 <= n
    c1 = find(last >= t0 - 1 + max(2^20, ceil(N / 16)), 1);
    if isempty(c1)
        c1 = n;
    end
    c1 = max(c1, c0);
    t1 = last(c1);
    if t1 >= t0
        [i, j, v] = find(X(:, c0:c1));
        rows(t0:t1) = i;
        cols(t0:t1) = j + (c0 - 1);
        vals(t0:t1) = v;
    end
    t0 = t1 + 1;
    c0 = c1 + 1;
end
end
