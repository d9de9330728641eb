function [rows, vals] = alsChunkedFind(X, colCount, carry)
%ALSCHUNKEDFIND  Row indices (uint32) of a sparse matrix's entries, and vectors its values index.
%   X's values are positions into the vectors of the cell CARRY. Returns
%   the row indices of X's entries in column-major order and VALS, the
%   cell of CARRY{c}(values) in the same order: what FIND(X) and indexing
%   would give, but taken a range of columns of about 2^20 entries at a
%   time, so that only one range's double indices and positions exist at
%   once and the memory allocator reuses their room from range to range.
%   With an empty CARRY, VALS holds X's values themselves (VALS{1}).
%   COLCOUNT holds the number of entries of each column; X stores no
%   zeros.
N = sum(colCount);
n = numel(colCount);
rows = zeros(N, 1, 'uint32');
own = isempty(carry);
vals = cell(max(1, numel(carry)), 1);
for c = 1:numel(vals)
    vals{c} = zeros(N, 1);
end
last = cumsum(colCount(:));
c0 = 1;
t0 = 1;
while c0 <= n
    c1 = find(last >= t0 - 1 + 2^20, 1);
    if isempty(c1)
        c1 = n;
    end
    c1 = max(c1, c0);
    t1 = last(c1);
    if t1 >= t0
        [i, ~, v] = find(X(:, c0:c1));
        rows(t0:t1) = i;
        if own
            vals{1}(t0:t1) = v;
        end
        for c = 1:numel(carry)
            vals{c}(t0:t1) = carry{c}(v);
        end
    end
    t0 = t1 + 1;
    c0 = c1 + 1;
end
end
