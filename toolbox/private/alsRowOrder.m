function [cols, rows, pos] = alsRowOrder(P, E)
%ALSROWORDER  The pattern in row order: column and row indices, and column-order positions.
%   COLS and ROWS are the entries' column and row indices (uint32) in row
%   order (rows ascending, columns ascending within a row), taken from
%   the transpose of E, which sorts in linear time. With a third output,
%   POS(t) is the column-order position of the t-th entry in row order,
%   so X(POS) reorders a vector on the pattern: the positions 1..N are
%   written over E's values first and travel with the transpose, and E
%   is left holding them. Needs P.rowStart.
if nargout > 2
    E = alsRefill(P, E, (1:P.N).');
    [cols, rows, pos] = alsChunkedFind(E.', diff(P.rowStart));
else
    [cols, rows] = alsChunkedFind(E.', diff(P.rowStart));
end
end
