function [biaslambda, tried, scores] = alsChooseBiasLambda(Pt, J, held, grid)
%ALSCHOOSEBIASLAMBDA  The biases' lambda that best predicts the validation entries with the biases alone.
%   Fits the mean plus regularized row and column biases (no factors) to
%   the training part of the entries (weights Pt.w, zero on the
%   validation entries) for each value of GRID, by alternating exact
%   passes over the column and the row biases, and scores each by its
%   RMSE on HELD (fields I, J, v). J holds the column of every entry in
%   column order (Pt.I holds its row). This is the tuned bias baseline's
%   own choice, made on the same split as lambda's and costing a few
%   passes over the entries instead of sweeps: where the data carry no
%   low-rank structure the factors shrink to nothing and the fit comes
%   out at that baseline; where they do, the factors take up the rest.
I = double(Pt.I);
J = double(J);
w = Pt.w;
wsum = sum(w);
mu = (w.' * Pt.v) / max(wsum, realmin);
v = Pt.v - mu;
wv = w .* v;
rowSum = Pt.rowSum;
colSum = Pt.colSum(:);
tried = grid;
scores = zeros(size(grid));
for k = 1:numel(grid)
    a = zeros(Pt.m, 1);
    for pass = 1:20
        b = accumarray(J, wv - w .* a(I), [Pt.n 1]) ./ (colSum + grid(k));
        a = accumarray(I, wv - w .* b(J), [Pt.m 1]) ./ (rowSum + grid(k));
    end
    res = held.v - mu - a(double(held.I)) - b(double(held.J));
    scores(k) = sqrt((res.' * res) / numel(res));
end
[~, best] = min(scores);
biaslambda = grid(best);
end
