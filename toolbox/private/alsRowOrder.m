function xr = alsRowOrder(P, E, x)
%ALSROWORDER  Reorder a vector on the pattern from column order to row order.
%   The positions 1..N written over E's values travel with the transpose;
%   E is left holding them.
if P.kern.inPlace
    nzoverwrite(E, (1:P.N).');
else
    E = plain_nzoverwrite(E, (1:P.N).', P.I, P.J);
end
[~, ~, pos] = find(E.');
xr = x(pos);
end
