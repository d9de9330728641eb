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
E = alsRefill(P, E, weighted(P, ones(P.N, 1)));
a = (rowData - E * b.') ./ (P.rowSum + P.biaslambda);
a(P.emptyRow) = 0;
b(P.emptyCol) = 0;
res = P.v - P.kern.ombrelast([a, ones(P.m, 1)], [ones(1, P.n); b], P.I, P.J);
E = alsRefill(P, E, weighted(P, res));
end


function x = weighted(P, x)
if ~isempty(P.w)
    x = P.w .* x;
end
end
