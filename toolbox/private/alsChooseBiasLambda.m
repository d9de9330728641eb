function [biaslambda, tried, scores] = alsChooseBiasLambda(Pt, J, held, grid)
%ALSCHOOSEBIASLAMBDA  The biases' lambda that best predicts the validation entries with the biases alone.
%   Fits the mean plus regularized row and column biases (no factors) to
%   the training part of the entries (weights Pt.w, zero on the
%   validation entries) for each value of GRID, by alternating exact
%   passes over the column and the row biases, and scores each by its
%   RMSE on HELD (fields I, J, v). J holds the column of every entry in
%   column order (Pt.I holds its row). This is the tuned bias baseline's
%   own choice, made on the same split as lambda's and costing a few
%   sparse products instead of sweeps (each value starts from the
%   previous one's biases): where the data carry no
%   low-rank structure the factors shrink to nothing and the fit comes
%   out at that baseline; where they do, the factors take up the rest.
w = Pt.w;
mu = (w.' * Pt.v) / max(sum(w), realmin);
% The weights on the pattern, and the weighted values' row and column sums.
Wm = sparse(double(Pt.I), double(J), w, Pt.m, Pt.n);
rowV = sparse(double(Pt.I), double(J), w .* (Pt.v - mu), Pt.m, Pt.n);
colV = full(sum(rowV, 1)).';
rowV = full(sum(rowV, 2));
rowSum = Pt.rowSum;
colSum = Pt.colSum(:);
tried = grid;
scores = zeros(size(grid));
a = zeros(Pt.m, 1);
for k = 1:numel(grid)
    for pass = 1:20
        b = (colV - (a.' * Wm).') ./ (colSum + grid(k));
        a = (rowV - Wm * b) ./ (rowSum + grid(k));
    end
    res = held.v - mu - a(double(held.I)) - b(double(held.J));
    scores(k) = sqrt((res.' * res) / numel(res));
end
[~, best] = min(scores);
biaslambda = grid(best);
end
