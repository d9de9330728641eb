function [biaslambda, tried, scores] = alsChooseBiasLambda(Pt, E, held, grid)
%ALSCHOOSEBIASLAMBDA  The biases' lambda that best predicts the validation entries with the biases alone.
%   Fits the mean plus regularized row and column biases (no factors) to
%   the training part of the entries (weights Pt.w, zero on the
%   validation entries) for each value of GRID, by alternating exact
%   passes over the column and the row biases, and scores each by its
%   RMSE on HELD (fields I, J, v). E is the sparse matrix on the pattern,
%   whose values are overwritten. This is the tuned bias baseline's
%   own choice, made on the same split as lambda's and costing a few
%   sparse products instead of sweeps (each value starts from the
%   previous one's biases): where the data carry no
%   low-rank structure the factors shrink to nothing and the fit comes
%   out at that baseline; where they do, the factors take up the rest.
w = Pt.w;
mu = 0;
if sum(w) > 0
    mu = (w.' * Pt.v) / sum(w);
end
% The weighted values' row and column sums, then the weights, on the
% pattern.
[E, rowV, colV] = alsBiasSums(Pt, E, w, Pt.v - mu);
rowSum = Pt.rowSum;
colSum = Pt.colSum(:);
% In the order given (from weak to strong), stopping once the score has
% risen twice in a row: past its best the score only grows.
scores = zeros(size(grid));
a = zeros(Pt.m, 1);
rises = 0;
for k = 1:numel(grid)
    [a, b] = alsBiasPasses(E, rowV, colV, rowSum, colSum, grid(k), a, 20);
    res = held.v - mu - a(double(held.I)) - b(double(held.J));
    scores(k) = sqrt((res.' * res) / numel(res));
    if k > 1 && scores(k) > scores(k - 1)
        rises = rises + 1;
        if rises == 2
            break;
        end
    else
        rises = 0;
    end
end
tried = grid(1:k);
scores = scores(1:k);
[~, best] = min(scores);
biaslambda = grid(best);
end
