function [lambda, biaslambda, S, search] = alsChooseLambda(P, E, S, opts, progress)
%ALSCHOOSELAMBDA  Choose lambda, then the biases' lambda, on a validation part of the entries.
%   A random part of the entries (opts.validation, drawn with opts.seed)
%   gets weight zero; the fit on the rest follows opts.lambdagrid from the
%   strongest regularization to the weakest, each point a few sweeps from
%   the start point S, and is scored by its RMSE on the validation part.
%   (Starting each point from the previous one's factors would be cheaper
%   per point but misleading: strong regularization shrinks the factors
%   towards zero, from where a weaker one needs many sweeps to recover.)
%   The walk stops once the score has risen twice in a row past the best.
%   With the best lambda, opts.biasgrid is walked the same way. Returns
%   the choices, the factors fitted with them (a start for the fit on all
%   entries) and the grids with their scores.
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
inner = struct('sweeps', min(opts.sweeps, 5), 'tol', 0, 'verbose', false);

lambda = opts.lambda;
search = struct('validation', nnz(val));
best = S;
if ~isempty(opts.lambdagrid)
    [k, best, scores] = walk(Pt, E, S, opts.lambdagrid, @(p, x) x, inner, held, ...
                             'lambda', NaN, progress);
    lambda = opts.lambdagrid(k);
    search.grid = opts.lambdagrid;
    search.rmse = scores;
    % 'auto' then narrows in on the best point: the held-out error of a
    % low-rank fit changes quickly near the lambda at which the factors
    % would shrink to zero, often within a factor of two.
    for f = opts.lambdarefine
        around = [lambda * f, lambda / f];
        [k, state, sc] = walk(Pt, E, S, around, @(p, x) x, inner, held, 'lambda', NaN, progress);
        search.grid = [search.grid, around];
        search.rmse = [search.rmse, sc];
        if sc(k) < min(scores)
            lambda = around(k);
            best = state;
        end
        scores = [scores, sc]; %#ok<AGROW>
    end
end
biaslambda = P.biaslambda;
if ~isempty(opts.biasgrid)
    [k, best, scores] = walk(Pt, E, S, opts.biasgrid, @setBias, inner, held, ...
                             'biaslambda', lambda, progress);
    biaslambda = opts.biasgrid(k);
    search.biasgrid = opts.biasgrid;
    search.biasrmse = scores;
end
S = best;
end


function [best, bestState, scores] = walk(Pt, E, start, grid, apply, inner, held, name, lambda, progress)
scores = NaN(size(grid));
best = 0;
rises = 0;
for k = 1:numel(grid)
    if isnan(lambda)
        [S, h] = alsExplicitSweeps(Pt, E, start, grid(k), inner, held, progress);
    else
        [S, h] = alsExplicitSweeps(apply(Pt, grid(k)), E, start, lambda, inner, held, progress);
    end
    scores(k) = h.rmse_heldout(end);
    progress('%-10s %-10.4g validation RMSE %.6f', name, grid(k), scores(k));
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
end


function P = setBias(P, value)
P.biaslambda = value;
end
