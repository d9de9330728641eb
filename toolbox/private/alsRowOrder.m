function xr = alsRowOrder(P, E, x)
%ALSROWORDER  Reorder a vector on the pattern from column order to row order.
%   The positions 1..N written over E's values travel with the transpose;
%   E is left holding them.
E = alsRefill(P, E, (1:P.N).');
[~, ~, pos] = find(E.');
xr = x(pos);
end
