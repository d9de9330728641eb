function [lambda, biaslambda, S, search] = alsChooseLambda(P, E, S, opts, progress, start)
%ALSCHOOSELAMBDA  Choose the biases' lambda and lambda on a validation part of the entries.
%   A random part of the entries (opts.validation, drawn with opts.seed)
%   gets weight zero, and START, when not empty, finds the start point's
%   U (see ALSEXPLICITSWEEPS) from the rest: a start taken from every
%   entry would carry the validation entries' noise into the short fits
%   below and make weak regularization look better than it is. With
%   'auto' for the biases' lambda (opts.biasauto), it is chosen first, on
%   the biases alone (ALSCHOOSEBIASLAMBDA: the tuned bias baseline's
%   choice, a few sparse products). Each fit is then scored by its RMSE
%   on the validation part.
%
%   For 'auto' (opts.lambdapath), lambda follows a path: twice
%   opts.searchsweeps sweeps from the start point at the middle value
%   opts.lambdagrid, then weaker values a factor of sqrt(2) apart, each
%   opts.searchsweeps sweeps on from the one before, then, if none was
%   better than the middle, stronger ones a factor of 2 apart from the
%   middle's fit; each direction stops once the score has risen twice in
%   a row or once by more than 1% (0.5% downwards; upwards a gain of less than 1e-4
%   counts as a rise: the factors have shrunk to nothing). From the start
%   point the factors grow slowly, and a fit needs some 20 sweeps before
%   its validation error says much of its lambda; along the path each
%   value starts from factors close to its own, and weaker values, which
%   need more sweeps, have had those of the values before them. A vector
%   of values is walked from the strongest to the weakest instead, each
%   from the start point, stopping in the same way.
%
%   With the best lambda, a chosen biases' lambda is tried against the
%   smaller values of its grid, a few sweeps on from the best fit, while
%   each gains more than opts.searchmargin; a vector of values for it is
%   walked like lambda's. For 'auto' the fit then settles (see SETTLE)
%   one step stronger than the path's best: the validation entries are a
%   random part of the same entries, while the entries a model is asked
%   about later (newer ratings) lean on sparse rows and columns, where a
%   lambda that random entries find best fits noise. At the end the
%   biases are fitted on all entries given the factors. Returns the
%   choices, the factors fitted with them (the fit on all entries picks
%   up from there) and every value tried with its score.
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
% The weights in row order: the positions 1..N written over E's values
% travel with the transpose, which lists the entries row by row.
E = alsRefill(P, E, (1:P.N).');
Pt.wr = Pt.w(nonzeros(E.'));
J = alsBlockIds(P.colStart, 1, P.N);
colSum = accumarray(double(J), Pt.w, [P.n 1]).';
rowSum = accumarray(double(alsBlockIds(P.rowStart, 1, P.N)), Pt.wr, [P.m 1]);
Pt = alsBlockScales(Pt, colSum, rowSum);
held = struct('I', P.I(val), 'J', J(val), 'v', P.v(val));
% The fits pass on what the next needs to skip its first evaluation
% (see ALSEXPLICITSWEEPS).
inner = struct('sweeps', min(opts.sweeps, opts.searchsweeps), 'tol', 0, 'verbose', false, 'carry', true);
if nargin >= 6 && ~isempty(start)
    S = alsExplicitSweeps(Pt, E, S, 1, struct('sweeps', 0, 'verbose', false, 'carry', true), [], start);
end

lambda = opts.lambda;
search = struct('validation', nnz(val));
if opts.biasauto
    [Pt.biaslambda, search.biasgrid, search.biasrmse] = alsChooseBiasLambda(Pt, E, held, opts.biasgrid);
    progress('%-10s %-10.4g chosen on the biases alone', 'biaslambda', Pt.biaslambda);
end
clear J
best = struct('score', Inf, 'state', S);
if ~isempty(opts.lambdagrid) && ~opts.lambdapath
    fit = @(value, from) alsExplicitSweeps(Pt, E, S, value, inner, held);
    [best, tried, scores] = walk(fit, opts.lambdagrid, best, 'lambda', progress, 0, S);
    lambda = best.value;
    search.grid = tried;
    search.rmse = scores;
elseif ~isempty(opts.lambdagrid)
    % 'auto': a path. A few sweeps from the start point at the middle of
    % the grid leave the factors well grown, and from there the walk
    % goes to weaker regularization, each value picking up from the one
    % before, and then from the middle to stronger: a fit from the start
    % point needs some 20 sweeps before its validation error means much
    % (the factors grow slowly from it), while along the path each value
    % starts from factors close to its own.
    mid = opts.lambdagrid;
    first = inner;
    first.sweeps = min(opts.sweeps, 2 * inner.sweeps);
    step = inner;
    step.sweeps = min(opts.sweeps, 3);
    [state, h] = alsExplicitSweeps(Pt, E, S, mid, first, held);
    best = struct('score', h.rmse_heldout(end), 'value', mid, 'state', state);
    progress('%-10s %-10.4g validation RMSE %.6f', 'lambda', mid, best.score);
    fit = @(value, from) alsExplicitSweeps(Pt, E, from, value, step, held);
    [best, t1, s1] = walk(fit, mid * 2 .^ (-(1:24) / 2), best, 'lambda', progress, 0, state, 0.005);
    t2 = [];
    s2 = [];
    if best.value == mid
        [best, t2, s2] = walk(fit, mid * 2 .^ (1:6), best, 'lambda', progress, 1e-4, state);
    end
    lambda = best.value;
    search.grid = [mid, t1, t2];
    search.rmse = [h.rmse_heldout(end), s1, s2];
end
biaslambda = Pt.biaslambda;
if opts.biasauto && Pt.biases
    % The biases alone take the low-rank part for noise, which asks for
    % more shrinking than the biases need beside the factors: from the
    % best fit, a few sweeps with the chosen value and then with each
    % smaller one of the grid while each gains more than
    % opts.searchmargin.
    warm = inner;
    warm.sweeps = min(opts.sweeps, 2);
    fit = @(value) alsExplicitSweeps(setBias(Pt, value), E, best.state, lambda, warm, held);
    smaller = sort(opts.biasgrid(opts.biasgrid < biaslambda), 'descend');
    [state, h] = fit(biaslambda);
    best = struct('score', h.rmse_heldout(end), 'value', biaslambda, 'state', state);
    for value = smaller
        [state, h] = fit(value);
        progress('%-10s %-10.4g validation RMSE %.6f', 'biaslambda', value, h.rmse_heldout(end));
        if h.rmse_heldout(end) >= best.score * (1 - opts.searchmargin)
            break;
        end
        best = struct('score', h.rmse_heldout(end), 'value', value, 'state', state);
    end
    biaslambda = best.value;
elseif ~isempty(opts.biasgrid)
    fit = @(value, from) alsExplicitSweeps(setBias(Pt, value), E, S, lambda, inner, held);
    best.score = Inf;
    [best, tried, scores] = walk(fit, opts.biasgrid, best, 'biaslambda', progress, 0, S);
    biaslambda = best.value;
    search.biasgrid = tried;
    search.biasrmse = scores;
end
if opts.lambdapath
    [best, lambda, search] = settle(setBias(Pt, biaslambda), E, best, lambda, opts, held, progress, search);
end
S = best.state;
if isfield(S, 'carry')
    S = rmfield(S, 'carry');
end
if P.biases
    % The biases on all entries, given the factors: the sweeps would
    % otherwise take one pass of the biases' slow alternation per sweep,
    % and stop, the objective hardly changing, well before the biases of
    % sparse rows and columns have settled.
    x = P.v;
    if any(S.V(:))
        x = x - P.kern.ombrelast(S.V.', S.U.', alsBlockIds(P.colStart, 1, P.N), P.I);
    end
    w = P.w;
    if isempty(w)
        w = ones(P.N, 1);
    end
    [E, rowV, colV] = alsBiasSums(P, E, w, x);
    clear x
    [S.a, b] = alsBiasPasses(E, rowV, colV, P.rowSum, P.colSum(:), biaslambda, S.a, 20);
    S.b = b.';
end
end


function [best, tried, scores] = walk(fit, values, best, name, progress, flat, state, jump)
% Fits FIT(value, from) at VALUES in order, FROM the previous fit's state
% (the first from STATE), keeping the best (score, value, state); stops
% once the score has risen twice in a row past this walk's best, or once
% by more than JUMP (1% unless given), a gain of less than FLAT of the
% score counting as a rise. Towards stronger regularization a flat score
% means the factors have shrunk to nothing (FLAT 1e-4); towards weaker
% it may mean they have not yet grown, and only a rise counts (FLAT 0),
% while a single rise of 0.5% ends the path: the factors carried on from
% such a fit are overfitted already, and a weaker value only adds to it.
if nargin < 8
    jump = 0.01;
end
tried = [];
scores = [];
mine = best.score;
rises = 0;
for k = 1:numel(values)
    [state, h] = fit(values(k), state);
    score = h.rmse_heldout(end);
    tried(end + 1) = values(k); %#ok<AGROW>
    scores(end + 1) = score; %#ok<AGROW>
    progress('%-10s %-10.4g validation RMSE %.6f', name, values(k), score);
    % A gain in the sixth digit is a tie (factors shrunk to zero at
    % either value), which the value tried first keeps.
    if score < best.score * (1 - 1e-6)
        best = struct('score', score, 'value', values(k), 'state', state);
    end
    if score < mine * (1 - flat) || (flat == 0 && score <= mine)
        mine = min(mine, score);
        rises = 0;
    else
        rises = rises + 1;
        if rises == 2 || score > (1 + jump) * mine
            break;
        end
    end
end
end


function [best, lambda, search] = settle(Pt, E, best, lambda, opts, held, progress, search)
% The path's fits are a few sweeps each: where the factors grow slowly,
% a weak lambda can score well before it has had the sweeps to overfit.
% So the fit goes on, on the training part, one step stronger than the
% path's best (see ALSCHOOSELAMBDA) where the path scored that step
% within opts.stepmargin of the best, until its objective meets the
% tolerance, a few sweeps a call. Where its validation RMSE rises by
% more than opts.searchmargin above the lowest it reached at this
% lambda, or above what the biases alone scored, the fit is overfitting:
% lambda goes up by a factor of sqrt(2) from the fit that reached the
% lowest, at most twice. Once a call gains less than opts.searchplateau
% on the validation part, it has told what it can of the choice, and the
% fit on all entries converges from there (on data with a strong
% low-rank part, 3 to 12 sweeps less in all).
chunk = struct('sweeps', min(opts.sweeps, 3), 'tol', opts.tol, 'verbose', false, 'carry', true);
% One step stronger, unless the path scored that value clearly worse
% (data with a strong low-rank part, whose factors it would cut).
chosen = lambda;
above = abs(search.grid - lambda * sqrt(2)) <= 1e-9 * lambda;
if ~any(above)
    lambda = lambda * sqrt(2);
elseif min(search.rmse(above)) <= min(search.rmse) * (1 + opts.stepmargin)
    lambda = search.grid(find(above, 1));
end
if lambda ~= chosen
    progress('%-10s %-10.4g one step stronger than the best, settling', 'lambda', lambda);
end
state = best.state;
low = struct('score', Inf, 'state', state);
% The biases alone scored this on the validation part: factors that do
% worse fit noise.
alone = Inf;
if isfield(search, 'biasrmse') && ~isempty(search.biasrmse)
    alone = min(search.biasrmse);
end
done = 0;
previous = Inf;
search.raised = [];
while done < opts.sweeps
    [state, h] = alsExplicitSweeps(Pt, E, state, lambda, chunk, held);
    done = done + h.sweeps;
    score = h.rmse_heldout(end);
    if score < low.score
        low = struct('score', score, 'state', state);
    end
    if (score > low.score * (1 + opts.searchmargin) || score > alone * (1 + opts.searchmargin)) ...
            && numel(search.raised) < 2
        lambda = lambda * sqrt(2);
        state = low.state;
        low.score = Inf;
        progress('%-10s %-10.4g validation RMSE rose to %.6f after %d sweeps: lambda up', 'lambda', lambda, score, done);
        search.raised(end + 1) = lambda;
        continue;
    end
    if h.converged || score > previous * (1 - opts.searchplateau)
        break;
    end
    previous = score;
end
progress('%-10s %-10.4g settled after %d sweeps, validation RMSE %.6f', 'lambda', lambda, done, score);
best = struct('score', score, 'value', lambda, 'state', state);
search.settlesweeps = done;
end


function P = setBias(P, value)
P.biaslambda = value;
end
