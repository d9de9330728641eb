function [lambda, S, search] = alsChooseLambda(P, E, S, opts, progress)
%ALSCHOOSELAMBDA  Choose lambda on a validation part of the training entries.
%   A random part of the entries (opts.validation, drawn with opts.seed)
%   gets weight zero; the fit on the rest follows opts.lambdagrid from the
%   strongest regularization to the weakest, each point starting from the
%   previous one's factors, and is scored by its RMSE on the validation
%   part. The walk stops once the score has risen twice in a row past the
%   best. Returns the best lambda, the factors fitted with it (a start for
%   the fit on all entries) and the grid with its scores.
grid = opts.lambdagrid;
saved = rng;
rng(opts.seed + 1);
val = rand(P.N, 1) < opts.validation;
rng(saved);
if ~any(val) || all(val)
    val = false(P.N, 1);
    val(1:max(1, floor(P.N * opts.validation))) = true;
end

% The training part: weights zero on the validation entries, block
% scales from what is left.
Pt = P;
if isempty(P.w)
    Pt.w = double(~val);
else
    Pt.w = P.w .* ~val;
end
Pt.wr = alsRowOrder(P, E, Pt.w);
colSum = accumarray(double(P.J), Pt.w, [P.n 1]).';
rowSum = accumarray(double(P.Ir), Pt.wr, [P.m 1]);
Pt = alsBlockScales(Pt, colSum, rowSum);
held = struct('I', P.I(val), 'J', P.J(val), 'v', P.v(val));

scores = NaN(size(grid));
first = min(opts.sweeps, 8);
later = min(opts.sweeps, 4);
inner = struct('sweeps', first, 'tol', 0, 'verbose', false);
best = 0;
rises = 0;
for k = 1:numel(grid)
    [S, h] = alsExplicitSweeps(Pt, E, S, grid(k), inner, held, progress);
    inner.sweeps = later;
    scores(k) = h.rmse_heldout(end);
    progress('lambda %-10.4g validation RMSE %.6f', grid(k), scores(k));
    if best == 0 || scores(k) < scores(best)
        best = k;
        bestState = S;
        rises = 0;
    else
        rises = rises + 1;
        if rises == 2
            break;
        end
    end
end
lambda = grid(best);
S = bestState;
search = struct('grid', grid, 'rmse', scores, 'validation', nnz(val));
end
