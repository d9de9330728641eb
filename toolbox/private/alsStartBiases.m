function [a, b, E] = alsStartBiases(P, E)
%ALSSTARTBIASES  Start biases: one exact pass over the column biases, then the row biases.
%   With U = 0 and V = 0, minimizes the fit's objective over the column
%   biases (rows at zero), then over the row biases given those. The
%   start point's singular vectors then describe what the biases leave,
%   not the biases themselves, which a rank-r product would otherwise
%   take up and give back only slowly. Leaves E holding the weighted
%   residual of the biases alone.
E = alsRefill(P, E, weighted(P, P.v));
colData = full(sum(E, 1));
rowData = full(sum(E, 2));
b = colData ./ (P.colSum + P.biaslambda);
% X holds the weights, then becomes the residual in place, a range at a
% time: no further vector as long as the data.
x = weighted(P, ones(P.N, 1));
E = alsRefill(P, E, x);
a = (rowData - E * b.') ./ (P.rowSum + P.biaslambda);
a(P.emptyRow) = 0;
b(P.emptyCol) = 0;
A = [a, ones(P.m, 1)];
B = [ones(1, P.n); b];
for t0 = 1:2^20:P.N
    t = t0:min(P.N, t0 + 2^20 - 1);
    x(t) = P.v(t) - P.kern.ombrelast(A, B, P.I(t), alsBlockIds(P.colStart, t0, t(end)));
    if ~isempty(P.w)
        x(t) = P.w(t) .* x(t);
    end
end
E = alsRefill(P, E, x);
end


function x = weighted(P, x)
if ~isempty(P.w)
    x = P.w .* x;
end
end
