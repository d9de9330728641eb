function [S, hist, seen] = alsImplicitFit(I, J, vals, m, n, opts, kern, progress, tStart, wantSeen)
%ALSIMPLICITFIT  Confidence-weighted alternating least squares for implicit feedback.
%   Minimizes
%     f = 1/2 sum_{all i,j} c(i,j) (p(i,j) - U(i,:) V(:,j))^2
%       + lambda/2 (sum_i d_i |U(i,:)|^2 + sum_j e_j |V(:,j)|^2)
%   with p = 1, c = 1 + alpha*vals at the observed entries and p = 0,
%   c = 1 elsewhere (d, e ones, or the blocks' entry counts under
%   count-scaled regularization). The sum over all entries splits into
%   U'*U (or V*V') plus corrections on the pattern, so a column's normal
%   matrix is
%     A_j = U'*U + lambda e_j I + sum_{observed i} alpha*vals U(i,:)'U(i,:)
%   and its gradient, from the residual on the pattern,
%     grad_V = U'*U*V + lambda V.*e - U' * (1 + alpha*vals.*(1 - pred)).
%
%   Under uniform regularization every block shares G = U'*U + lambda*I.
%   With G = L'*L, the coordinates x~ = L*x turn a block's normal matrix
%   into I + sum alpha*vals W(i,:)'W(i,:), W = U/L: the explicit form
%   with lambda 1 and regressors W, which the triplet builder forms from
%   the pattern alone (ALSBLOCKSTEP), and the gradient into x~ - W'*E.
%   Under count-scaled regularization the shift lambda*e_j differs per
%   block and no one change of coordinates serves them all: the exact
%   solve then gives the other factor r extra rows holding a factor of
%   U'*U, which every block sees with weight 1 (an extended pattern).
%   The solver 'cg' takes instead a few conjugate-gradient steps on
%   every block at once in the same whitened coordinates (see
%   ALSCONJUGATESTEPS): no block's normal matrix is formed at all.
%
%   The fit runs with rows and columns renumbered by activity (ALSSETUP)
%   and returns them in the caller's numbering.
N = numel(vals);
r = opts.rank;
lambda = opts.lambda;
cg = strcmp(opts.solver, 'cg');

% The fixed structures, with the confidences' excess alpha*vals as the
% weights: the pattern in column order (rows, weights) and, for the
% exact solve, in row order.
[P, E] = alsSetup(I, J, vals, opts.alpha * vals(:), m, n, opts, kern, progress);
clear I J vals
P = rmfield(P, 'v');
colCount = diff(P.colStart).';
rowCount = diff(P.rowStart);
% A block with entries of value 0 has no excess confidence but is not empty.
P.emptyCol = colCount == 0;
P.emptyRow = rowCount == 0;
if P.scaled
    P.dCol = max(colCount, 1);
    P.dRow = max(rowCount, 1);
end
% At most 2^24 doubles of factors in a chunk (128 MB), whatever the rank.
P.blockChunk = min(P.blockChunk, max(1, floor(2^24 / r^2)));
X = [];
if cg
    % The steps read the pattern in column order only.
    P.Jr = [];
    P.wr = [];
elseif P.scaled
    X = extendedPatterns(P, E, r);
    P.Jr = [];
    P.wr = [];
    progress('built the extended patterns (%d and %d entries)', X.N, X.Nr);
end

if isempty(opts.U0)
    E = alsRefill(P, E, 1 + P.w);
    U = alsStartPoint(E, N, r, opts.init, opts.seed, P.rowOrder, P.colOrder);
    progress('start point (%s)', opts.init);
else
    U = opts.U0(P.rowOrder, :);
end
S = struct('U', U, 'V', zeros(r, n));
clear U

maxSweeps = opts.sweeps;
hist = alsHistory(maxSweeps);
E = residual(P, E, S.U, S.V);
gV = columnGradient(E, S.U, S.V, lambda, P.dCol);
gU = lambda * S.U .* P.dRow;
hist.gradnorm0 = sqrt(sum(gV(:) .^ 2) + sum(gU(:) .^ 2));
clear gU gV
hist.setup = toc(tStart);
alsSweepDone(hist, 0, 0, 0, opts, false);
for s = 1:maxSweeps
    t0 = tic;
    % Column step given U, then row step given V; E holds the pattern's
    % share of the gradient at the current point before each.
    S = halfStep(P, X, E, S, 'col', lambda, cg, opts.cgsteps);
    S.V(:, P.emptyCol) = 0;
    E = residual(P, E, S.U, S.V);
    S = halfStep(P, X, E, S, 'row', lambda, cg, opts.cgsteps);
    S.U(P.emptyRow, :) = 0;

    [E, pred] = residual(P, E, S.U, S.V);
    gV = columnGradient(E, S.U, S.V, lambda, P.dCol);
    g = sqrt(gV(:).' * gV(:));
    clear gV
    predSq = pred.' * pred;
    miss = 1 - pred;
    clear pred
    everywhere = sum(sum((S.U.' * S.U) .* (S.V * S.V.')));
    fit = everywhere + (miss.' * ((1 + P.w) .* miss)) - predSq;
    penalty = P.dRow.' * sum(S.U .^ 2, 2) + sum(S.V .^ 2, 1) * P.dCol.';
    hist.objective(s) = 0.5 * (fit + lambda * penalty);
    hist.rmse_train(s) = sqrt((miss.' * miss) / N);
    clear miss
    [hist, stop] = alsSweepDone(hist, s, g, t0, opts, false);
    if stop
        break;
    end
end
hist = alsHistory(hist);
seen = [];
if wantSeen
    E = alsRefill(P, E, ones(N, 1));
    seen = logical(E.');
    seen = seen(P.colNew, P.rowNew);
end
clear E
S = struct('U', S.U(P.rowNew, :), 'V', S.V(:, P.colNew), 'a', zeros(m, 1), 'b', zeros(1, n));
end


function S = halfStep(P, X, E, S, side, lambda, cg, steps)
% Every column of V (SIDE 'col') or every row of U ('row') given the other
% factor, E holding the pattern's share of the gradient.
col = strcmp(side, 'col');
if col
    other = S.U;
    x = S.V;
    e = P.dCol;
else
    other = S.V.';
    x = S.U.';
    e = P.dRow.';
end
gram = other.' * other;
if isempty(X)
    % Whitened: G = L'*L, regressors W = other/L, unknowns L*x.
    L = chol(gram + lambda * eye(size(gram)));
    W = other / L;
    share = pattern(E, W, col);
    if cg
        if P.scaled
            % The part of lambda*e_j beyond the shared lambda, whitened.
            excess = lambda * (e - 1);
            shared = @(p) p + (L.' \ (L \ p)) .* excess;
        else
            shared = @(p) p;
        end
        xw = L * x;
        xw = alsConjugateSteps(P, E, W, xw, share - shared(xw), shared, 1, steps, side);
        x = L \ xw;
    else
        T = struct('U', [], 'V', []);
        if col
            T.V = L * x;
            T = alsBlockStep(P, side, W, share, [], 1, T);
            x = L \ T.V;
        else
            T.U = x.' * L.';
            T = alsBlockStep(P, side, W, share.', [], 1, T);
            x = L \ T.U.';
        end
    end
else
    % Count-scaled, exact: the extended pattern, with r rows R'*R = gram.
    g = pattern(E, other, col) - gram * x;
    W = [other; gramFactor(gram)];
    T = struct('U', S.U, 'V', S.V);
    if col
        S = alsBlockStep(X, side, W, g, [], lambda, T);
    else
        S = alsBlockStep(X, side, W, g.', [], lambda, T);
    end
    return;
end
if col
    S.V = x;
else
    S.U = x.';
end
end


function G = pattern(E, W, col)
% The pattern's share W'*E (columns) or (E*W)' (rows); W'*E is taken as
% (E.'*W).', the same sums without striding through a tall W.
if col
    G = (E.' * W).';
else
    G = (E * W).';
end
end


function [E, pred] = residual(P, E, U, V)
% The prediction on the pattern, and E refilled with 1 + alpha*vals*(1 - pred),
% the pattern's share of the gradient.
pred = alsMaskedProduct(P, V.', U.');
E = alsRefill(P, E, 1 + P.w .* (1 - pred));
end


function X = extendedPatterns(P, E, r)
% For the exact solve under count-scaled regularization: block-step
% structures on the pattern extended by r entries at the end of every
% column (rows m+1..m+r) and of every row (columns n+1..n+r), weight 1.
E = alsRefill(P, E, (1:P.N).');
[rows, ~, w] = extended(E, P.w, r);
X = struct('kern', P.kern, 'N', numel(rows), 'I', rows, 'w', w, ...
           'colStart', P.colStart + r * (0:P.n).', 'dCol', P.dCol, 'emptyCol', P.emptyCol, ...
           'scaled', true, 'biases', false, 'blockChunk', P.blockChunk);
clear rows w
[X.Jr, ~, X.wr] = extended(E.', P.w, r);
X.Nr = numel(X.Jr);
X.rowStart = P.rowStart + r * (0:P.m).';
X.dRow = P.dRow;
X.emptyRow = P.emptyRow;
end


function [rows, cols, w] = extended(X, conf, r)
% The entries of X in column-major order followed, in every column, by r
% extra entries on rows size(X,1)+1..+r; their weights are CONF (given in
% X's order) and 1 on the extra rows. X's values are positions, the
% extra entries' numbered on from numel(CONF).
N = numel(conf);
[rows, cols, pos] = find([X; sparse(reshape(N + (1:r * size(X, 2)), r, size(X, 2)))]);
rows = uint32(rows);
cols = uint32(cols);
w = ones(numel(pos), 1);
obs = pos <= N;
w(obs) = conf(pos(obs));
end


function g = columnGradient(E, U, V, lambda, e)
% Gradient with respect to V, E holding the pattern's share.
g = U.' * U * V + lambda * V .* e - (E.' * U).';
end


function R = gramFactor(G)
% Rows whose Gram matrix is G: the upper Cholesky factor, or, when G is
% singular, its eigenvectors scaled by the square roots of its eigenvalues.
G = (G + G.') / 2;
[R, fail] = chol(G);
if fail
    [Q, L] = eig(G);
    R = diag(sqrt(max(diag(L), 0))) * Q.';
end
end
