function [lambda, biaslambda, S, search] = alsChooseLambda(P, E, S, opts, progress, start)
%ALSCHOOSELAMBDA  Choose the biases' lambda and lambda on a validation part of the entries.
%   A random part of the entries (opts.validation, drawn with opts.seed)
%   gets weight zero. With 'auto' for the biases' lambda
%   (opts.biasauto), it is chosen first, on the biases alone
%   (ALSCHOOSEBIASLAMBDA: the tuned bias baseline's choice, a few passes
%   over the entries). The fit on the rest then follows opts.lambdagrid
%   from the strongest regularization to the weakest, each point a few
%   sweeps from the start point S, and is scored by its RMSE on the
%   validation part. (Starting each point from the previous one's factors
%   would be cheaper per point but misleading: strong regularization
%   shrinks the factors towards zero, from where a weaker one needs many
%   sweeps to recover.) The walk stops once the score has risen twice in
%   a row past the best, or once by more than 1%. For 'auto'
%   (opts.lambdarefine not empty) the walk goes on past either end of the
%   grid while the best point is there, then tries the best times and
%   over each factor of opts.lambdarefine, each from the best fit of the
%   walk (which is itself run as far again and scored anew). With the
%   best lambda, a chosen biases' lambda is then tried against the
%   smaller values of its grid, a few sweeps on from the best fit; a
%   vector of values for it is walked like lambda's. Returns the choices,
%   the factors fitted with them (the fit on all entries picks up from
%   there) and every value tried with its score. START, when not empty,
%   finds the start point's U (see ALSEXPLICITSWEEPS) from the training
%   part alone: a start taken from every entry would carry the validation
%   entries' noise into the short fits of the search and make weak
%   regularization look better than it is.
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
inner = struct('sweeps', min(opts.sweeps, opts.searchsweeps), 'tol', 0, 'verbose', false);
if nargin >= 6 && ~isempty(start)
    S = alsExplicitSweeps(Pt, E, S, 1, struct('sweeps', 0, 'verbose', false), [], start);
end

lambda = opts.lambda;
search = struct('validation', nnz(val));
if opts.biasauto
    [Pt.biaslambda, search.biasgrid, search.biasrmse] = alsChooseBiasLambda(Pt, E, held, opts.biasgrid);
    progress('%-10s %-10.4g chosen on the biases alone', 'biaslambda', Pt.biaslambda);
end
clear J
best = struct('score', Inf, 'state', S);
if ~isempty(opts.lambdagrid)
    fit = @(value) alsExplicitSweeps(Pt, E, S, value, inner, held);
    [best, tried, scores] = walk(fit, opts.lambdagrid, best, 'lambda', progress);
    if ~isempty(opts.lambdarefine)
        % Past the ends of the grid while the best point is there and
        % gains more than 1e-4 of its score; upwards one value at a time,
        % the factors being nearly shrunk to zero at the top of the grid.
        while numel(tried) < 30 && (best.value == max(tried) || best.value == min(tried))
            if best.value == max(tried)
                more = max(tried) * 2;
            else
                more = min(tried) * [1/2 1/4];
            end
            last = best.score;
            [best, t, s] = walk(fit, more, best, 'lambda', progress);
            tried = [tried, t]; %#ok<AGROW>
            scores = [scores, s]; %#ok<AGROW>
            if best.score >= last * (1 - 1e-4)
                break;
            end
        end
        % The neighbours pick up from the best fit so far, and so does the
        % best value itself, scored again: all are then compared a few
        % sweeps further on, where a weaker regularization has had the
        % sweeps it needs to show its worth.
        % Where the scores around the best differ by less than 1e-4 of it
        % (the factors shrunk to nothing on that side) there is nothing
        % to refine.
        base = best.state;
        fit = @(value) alsExplicitSweeps(Pt, E, base, value, inner, held);
        near = scores(tried ~= best.value & tried <= 4 * best.value & tried >= best.value / 4);
        refine = opts.lambdarefine;
        if ~isempty(near) && min(near) < best.score * (1 + 1e-4)
            refine = [];
        else
            [state, h] = fit(best.value);
            best = struct('score', h.rmse_heldout(end), 'value', best.value, 'state', state);
            scores(tried == best.value) = best.score;
        end
        for f = refine
            [best, t, s] = walk(fit, untried(best.value * [f, 1 / f], tried), best, 'lambda', progress);
            tried = [tried, t]; %#ok<AGROW>
            scores = [scores, s]; %#ok<AGROW>
        end
    end
    lambda = best.value;
    search.grid = tried;
    search.rmse = scores;
end
biaslambda = Pt.biaslambda;
if opts.biasauto && Pt.biases
    % The biases alone take the low-rank part for noise, which asks for
    % more shrinking than the biases need beside the factors: from the
    % best fit, a few sweeps with the chosen value and then with each
    % smaller one of the grid while the score improves.
    warm = inner;
    warm.sweeps = min(opts.sweeps, 2);
    fit = @(value) alsExplicitSweeps(setBias(Pt, value), E, best.state, lambda, warm, held);
    smaller = sort(opts.biasgrid(opts.biasgrid < biaslambda), 'descend');
    [state, h] = fit(biaslambda);
    best = struct('score', h.rmse_heldout(end), 'value', biaslambda, 'state', state);
    for value = smaller
        [state, h] = fit(value);
        progress('%-10s %-10.4g validation RMSE %.6f', 'biaslambda', value, h.rmse_heldout(end));
        if h.rmse_heldout(end) >= best.score
            break;
        end
        best = struct('score', h.rmse_heldout(end), 'value', value, 'state', state);
    end
    biaslambda = best.value;
elseif ~isempty(opts.biasgrid)
    fit = @(value) alsExplicitSweeps(setBias(Pt, value), E, S, lambda, inner, held);
    best.score = Inf;
    [best, tried, scores] = walk(fit, opts.biasgrid, best, 'biaslambda', progress);
    biaslambda = best.value;
    search.biasgrid = tried;
    search.biasrmse = scores;
end
S = best.state;
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
    E = alsRefill(P, E, w .* x);
    clear x
    rowV = full(sum(E, 2));
    colV = full(sum(E, 1)).';
    E = alsRefill(P, E, w);
    [S.a, b] = alsBiasPasses(E, rowV, colV, P.rowSum, P.colSum(:), biaslambda, S.a, 20);
    S.b = b.';
end
end


function [best, tried, scores] = walk(fit, values, best, name, progress)
% Fits at VALUES in order, keeping the best (score, value, state) so far;
% stops once the score has risen twice in a row past this walk's best,
% or once by more than 1% of it: the validation score is smooth enough
% in lambda that a rise that large is not noise.
tried = [];
scores = [];
mine = Inf;
rises = 0;
for k = 1:numel(values)
    [state, h] = fit(values(k));
    score = h.rmse_heldout(end);
    tried(end + 1) = values(k); %#ok<AGROW>
    scores(end + 1) = score; %#ok<AGROW>
    progress('%-10s %-10.4g validation RMSE %.6f', name, values(k), score);
    % A gain in the sixth digit is a tie (factors shrunk to zero at
    % either value), which the value tried first keeps.
    if score < best.score * (1 - 1e-6)
        best = struct('score', score, 'value', values(k), 'state', state);
    end
    if score < mine
        mine = score;
        rises = 0;
    else
        rises = rises + 1;
        if rises == 2 || score > 1.01 * mine
            break;
        end
    end
end
end


function values = untried(values, tried)
% VALUES less those already in TRIED (up to rounding).
keep = true(size(values));
for k = 1:numel(values)
    keep(k) = ~any(abs(tried / values(k) - 1) < 1e-9);
end
values = values(keep);
end


function P = setBias(P, value)
P.biaslambda = value;
end
