function [S, hist] = alsExplicitSweeps(P, E, S, lambda, opts, held, start, tStart)
%ALSEXPLICITSWEEPS  Alternating exact block minimizations of the explicit model.
%   The model predicts P.mean + a(i) + b(j) + U(i,:)*V(:,j) and the sweeps
%   minimize
%     f = 1/2 sum_k w(k) res(k)^2
%       + lambda/2 (sum_i dRow(i) |U(i,:)|^2 + sum_j dCol(j) |V(:,j)|^2)
%       + biaslambda/2 (|a|^2 + |b|^2)
%   (dRow, dCol are the blocks' weight sums under count-scaled
%   regularization, ones under uniform). Each sweep solves for every
%   column of [V; b] given [U a], then every row of [U a] given [V; b].
%   A block's solution is its Newton step from the current point, which
%   for a quadratic is the exact minimizer:
%     [V; b](:,j) -= (R_j' R_j) \ (g_j / dCol(j)),
%   g the gradient and R_j the factor of the block's normal matrix over
%   dCol(j), built by the triplet builder with weights w/dCol(j) and a
%   fixed column of ones for the bias (ALSBLOCKSTEP). The gradient comes from the
%   residual on the pattern, which the sweep needs anyway for its history:
%   one sparse product per half-sweep and no right-hand side to assemble.
%
%   S holds U, V, a, b; E is the sparse matrix on the pattern that carries
%   the weighted residual (refilled in place); HELD is a struct with I, J
%   (uint32) and v, or empty. START, when given (not empty), finds U from
%   E holding the weighted residual of the start with V zero, which the
%   first evaluation leaves there whatever U is: S.U is then set by
%   START(E) after it, so that the start's residual goes into the same
%   buffer as every later one. TSTART, when given, is the fit's TIC:
%   hist.setup then takes the seconds up to the first sweep.
m = P.m;
n = P.n;
maxSweeps = opts.sweeps;
hist = alsHistory(maxSweeps);

% Half-step h = 0 is the start, then 2s-1 and 2s the column and row steps
% of sweep s. After each, E takes the weighted residual at the new point;
% Gc = [U 1]'*E and Gr = E*[V' 1] are the pattern's share of the column
% and row gradients. The residual is written in place into one buffer,
% RES, a range of entries at a time: a fresh vector as long as the data
% at every evaluation would cost its allocation and first touch twice a
% sweep. Temporaries are released by assigning [] rather than by CLEAR,
% which costs about half a millisecond a call in Octave: a few percent
% of the time of a fit of 10^5 entries.
res = zeros(P.N, 1);
step = 2^20;
findU = nargin >= 7 && ~isempty(start);
if findU
    % V is zero: the first residual does not read U.
    S.U = zeros(m, 0);
end
% A fit that picks up where another left off, E still holding that
% fit's residual (the same weights, the fingerprint matching), skips the
% start's evaluation: its column shares came with S (see the end).
resumed = false;
if isfield(S, 'carry')
    resumed = ~findU && isequal(S.carry.check, fingerprint(E));
    if resumed
        Gc = S.carry.Gc;
        sc = S.carry.sc;
    end
    S = rmfield(S, 'carry');
end
for h = 0:2 * maxSweeps
    s = h / 2;
    if h == 0 && resumed
        alsSweepDone(hist, 0, 0, 0, opts, true);
        continue;
    end
    if mod(h, 2) == 1
        t0 = tic;
        % Column step: every column of [V; b] given [U a].
        S = alsExplicitStep(P, E, 'col', rowSide(S, P, m), Gc, sc, lambda, S, opts);
        clear Gc sc
    elseif h > 0
        % Row step: every row of [U a] given [V; b].
        S = alsExplicitStep(P, E, 'row', colSide(S, P, n), Gr, sr, lambda, S, opts);
        clear Gr sr
    end

    % The weighted residual; at the end of a sweep also FIT and SSE, its
    % weighted and plain sums of squares, which the history records.
    [A, B] = modelFactors(S, P.biases);
    for k = 1:step:P.N
        t = k:min(P.N, k + step - 1);
        res(t) = P.v(t) - P.kern.ombrelast(A, B, alsBlockIds(P.colStart, k, t(end)), P.I(t));
    end
    A = []; B = []; t = [];
    evaluate = h > 0 && mod(h, 2) == 0;
    if evaluate
        sse = res.' * res;
        fit = sse;
    end
    if ~isempty(P.w)
        fit = 0;
        for k = 1:step:P.N
            t = k:min(P.N, k + step - 1);
            wres = P.w(t) .* res(t);
            if evaluate
                fit = fit + res(t).' * wres;
            end
            res(t) = wres;
        end
        t = []; wres = [];
    end
    E = alsRefill(P, E, res);
    if h == 0 && findU
        S.U = start(E);
    end
    if mod(h, 2) == 1
        Gr = E * S.V.';
        sr = full(sum(E, 2));
        continue;
    end

    [Gc, sc] = columnShare(E, rowSide(S, P, m), S);
    if h == 0
        if any(S.V(:))
            Gr = E * S.V.';
        else
            % E * 0: the start's V is zero.
            Gr = zeros(m, size(S.V, 1));
        end
        sr = full(sum(E, 2));
        hist.gradnorm0 = sqrt(sum(sum(columnGradient(P, Gc, sc, S, lambda) .^ 2)) ...
                              + sum(sum((lambda * S.U .* P.dRow - Gr) .^ 2)) ...
                              + P.biases * sum((P.biaslambda * S.a - sr) .^ 2));
        Gr = []; sr = [];
        if nargin >= 8 && ~isempty(tStart)
            hist.setup = toc(tStart);
        end
        alsSweepDone(hist, 0, 0, 0, opts, true);
        continue;
    end

    % Evaluate sweep s: the column part of the gradient (the row part
    % vanishes up to rounding, the rows having just been solved for), the
    % objective, and the held-out error.
    gV = columnGradient(P, Gc, sc, S, lambda);
    g = sqrt(gV(:).' * gV(:));
    gV = [];
    hist.objective(s) = 0.5 * (fit + penalty(P, S, lambda));
    hist.rmse_train(s) = sqrt(sse / P.N);
    if ~isempty(held)
        [A, B] = modelFactors(S, P.biases);
        resh = held.v - P.kern.ombrelast(A, B, held.J, held.I);
        A = []; B = [];
        hist.rmse_heldout(s) = sqrt((resh.' * resh) / numel(resh));
    end
    [hist, stop] = alsSweepDone(hist, s, g, t0, opts, true);
    if stop
        break;
    end
end
hist = alsHistory(hist);
if isfield(opts, 'carry') && opts.carry
    % For a fit that goes on from here with E as it is now.
    S.carry = struct('Gc', Gc, 'sc', sc, 'check', fingerprint(E));
end
end


function f = fingerprint(E)
% Tells one residual held in E from another: E's entries weighted by
% their row and column, two sparse sums.
[m, n] = size(E);
f = full(((1:m) / m) * (E * ((1:n).' / n)));
end


function W = rowSide(S, P, m)
% The rows of the column step's regressors: [U 1] with biases, else U.
if P.biases
    W = [S.U, ones(m, 1)];
else
    W = S.U;
end
end


function W = colSide(S, P, n)
if P.biases
    W = [S.V.', ones(n, 1)];
else
    W = S.V.';
end
end


function [A, B] = modelFactors(S, biases)
% The model without the global mean is A' * B = [U a 1] * [V; 1; b]; the
% masked products take it as ombrelast(A, B, J, I), the product of the
% transposes, so that the random rows I read a contiguous column each.
% With V zero, as at the start, U*V adds only exact zeros ahead of a(i)
% and b(j): the biases alone give the same sums with two terms for r+2.
if ~any(S.V(:))
    if biases
        A = [ones(numel(S.b), 1), S.b.'];
        B = [S.a.'; ones(1, numel(S.a))];
    else
        A = zeros(size(S.V, 2), 1);
        B = zeros(1, size(S.U, 1));
    end
elseif biases
    A = [S.V.', ones(numel(S.b), 1), S.b.'];
    B = [S.U.'; S.a.'; ones(1, numel(S.a))];
else
    A = S.V.';
    B = S.U.';
end
end


function [G, s] = columnShare(E, W, S)
% The pattern's share of the column gradient: U'*E and, with biases, E's
% column sums, both from one product with W = [U 1] (or U). Taken as
% (E.'*W).', which the hosts evaluate without forming the transpose: the
% same sums in the same order as W.'*E, but reading W's rows together
% instead of striding through it, several times faster for a tall W.
G = (E.' * W).';
s = [];
if size(G, 1) > size(S.U, 2)
    s = G(end, :);
    G = G(1:size(S.U, 2), :);
end
end


function g = columnGradient(P, G, s, S, lambda)
% Gradient of f with respect to [V; b].
g = lambda * S.V .* P.dCol - G;
if P.biases
    g = [g; P.biaslambda * S.b - s];
end
end


function p = penalty(P, S, lambda)
% A column of U at a time: no temporary of U's size.
p = sum(S.V .^ 2, 1) * P.dCol.';
for k = 1:size(S.U, 2)
    p = p + P.dRow.' * (S.U(:, k) .^ 2);
end
p = lambda * p;
if P.biases
    p = p + P.biaslambda * (S.a.' * S.a + S.b * S.b.');
end
end
