function [rows, cols, vals] = alsChunkedFind(X, colCount, carry)
%ALSCHUNKEDFIND  Row and column indices (uint32) and values of a sparse matrix's entries.
%   The same as [ROWS, COLS, VALS] = FIND(X) for a matrix without stored
%   zeros, in column-major order, but taken a range of columns of about
%   2^20 entries at a time, so that only one range's double indices exist
%   at once and the memory allocator reuses their room from range to
%   range. COLCOUNT holds the number of entries of each column. Without a
%   third output the values are not taken. With CARRY, a cell of vectors
%   that X's values index (positions), VALS is the cell of those vectors
%   taken in X's order: CARRY{c}(values), without the values themselves
%   ever being whole.
N = sum(colCount);
n = numel(colCount);
rows = zeros(N, 1, 'uint32');
% An ignored COLS is not made.
withCols = isargout(2);
cols = [];
if withCols
    cols = zeros(N, 1, 'uint32');
end
withValues = nargout > 2;
gather = nargin > 2;
if gather
    vals = cell(size(carry));
    for c = 1:numel(carry)
        vals{c} = zeros(N, 1);
    end
elseif withValues
    vals = zeros(N, 1);
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
        if withValues
            [i, j, v] = find(X(:, c0:c1));
            if gather
                for c = 1:numel(carry)
                    vals{c}(t0:t1) = carry{c}(v);
                end
            else
                vals(t0:t1) = v;
            end
        else
            [i, j] = find(X(:, c0:c1));
        end
        rows(t0:t1) = i;
        if withCols
            cols(t0:t1) = j + (c0 - 1);
        end
    end
    t0 = t1 + 1;
    c0 = c1 + 1;
end
end
