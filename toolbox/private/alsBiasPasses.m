function [a, b] = alsBiasPasses(W, rowV, colV, rowSum, colSum, biaslambda, a, passes)
%ALSBIASPASSES  Row and column biases alone, by alternating exact passes.
%   Minimizes sum_k w(k) (x(k) - a(I(k)) - b(J(k)))^2
%   + BIASLAMBDA (|a|^2 + |b|^2) over the column biases b, then the row
%   biases a, PASSES times from the row biases A. W is the sparse M-by-N
%   matrix of the weights on the pattern, ROWV and COLV the row and
%   column sums of w.*x, ROWSUM and COLSUM those of w (columns). A pass
%   costs two sparse products.
for pass = 1:passes
    b = (colV - (a.' * W).') ./ (colSum + biaslambda);
    a = (rowV - W * b) ./ (rowSum + biaslambda);
end
end
