function [a, b] = alsStartBiases(P, E)
%ALSSTARTBIASES  Start biases: one exact pass over the column biases, then the row biases.
%   With U = 0 and V = 0, minimizes the fit's objective over the column
%   biases (rows at zero), then over the row biases given those. The
%   start point's singular vectors then describe what the biases leave,
%   not the biases themselves, which a rank-r product would otherwise
%   take up and give back only slowly. E's values are used as room: the
%   sweeps write the start's residual over them.
E = alsRefill(P, E, weighted(P, P.v));
colData = full(sum(E, 1));
rowData = full(sum(E, 2));
clear E
b = colData ./ (P.colSum + P.biaslambda);
b(P.emptyCol) = 0;
% Each row's weighted sum of the column biases on its entries: the
% pattern with the weights times b', from the row-order triplets, whole
% rows of about 2^20 entries at a time. Within a row the columns come in
% ascending order, so the sums are the sparse product's, term by term;
% no vector as long as the data is made.
along = zeros(P.m, 1);
window = floor((P.rowStart(1:end - 1) - 1) / 2^20);
last = [find(diff(window) ~= 0); P.m];
r0 = 1;
for r1 = last.'
    t0 = P.rowStart(r0);
    t1 = P.rowStart(r1 + 1) - 1;
    if t1 >= t0
        x = reshape(b(P.Jr(t0:t1)), [], 1);
        if ~isempty(P.wr)
            x = P.wr(t0:t1) .* x;
        end
        ids = alsBlockIds(P.rowStart(r0:r1 + 1) - (t0 - 1), 1, t1 - t0 + 1);
        along(r0:r1) = accumarray(double(ids), x, [r1 - r0 + 1, 1]);
    end
    r0 = r1 + 1;
end
a = (rowData - along) ./ (P.rowSum + P.biaslambda);
a(P.emptyRow) = 0;
end


function x = weighted(P, x)
if ~isempty(P.w)
    x = P.w .* x;
end
end
