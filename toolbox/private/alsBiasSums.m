function [E, rowV, colV] = alsBiasSums(P, E, w, x)
%ALSBIASSUMS  The row and column sums of W.*X on the pattern, for ALSBIASPASSES.
%   E, the sparse matrix on the pattern, is returned holding the weights
%   W, the matrix the passes multiply by.
E = alsRefill(P, E, w .* x);
rowV = full(sum(E, 2));
colV = full(sum(E, 1)).';
E = alsRefill(P, E, w);
end
