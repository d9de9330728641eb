function [pos, cols, rows] = alsRowOrder(P, E)
%ALSROWORDER  The pattern in row order: column-order positions and indices.
%   POS(t) is the column-order position of the t-th entry in row order
%   (rows ascending, columns ascending within a row), so X(POS) reorders a
%   vector on the pattern; COLS and ROWS are the entries' column and row
%   indices in that order (uint32). The positions 1..N written over E's
%   values travel with the transpose, which sorts in linear time; E is
%   left holding them. Needs P.rowStart.
E = alsRefill(P, E, (1:P.N).');
[cols, rows, pos] = alsChunkedFind(E.', diff(P.rowStart));
end
