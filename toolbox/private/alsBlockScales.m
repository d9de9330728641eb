function P = alsBlockScales(P, colSum, rowSum)
%ALSBLOCKSCALES  Regularization scales, weight sums and emptiness of the blocks.
%   With count-scaled regularization a block's regularizer is lambda times
%   its weight sum (its number of entries when the weights are all one)
%   plus P.pseudo; a block whose scale would be zero keeps lambda. Dividing a block's weights by its
%   scale gives the triplet builder the same factor system with a single
%   lambda (see ALSBLOCKSTEP).
if P.scaled
    dCol = colSum + P.pseudo;
    dCol(dCol == 0) = 1;
    dRow = rowSum + P.pseudo;
    dRow(dRow == 0) = 1;
else
    dCol = ones(1, P.n);
    dRow = ones(P.m, 1);
end
P.dCol = dCol;
P.dRow = dRow;
P.colSum = colSum;
P.rowSum = rowSum;
P.emptyCol = colSum == 0;
P.emptyRow = rowSum == 0;
end
