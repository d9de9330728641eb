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
%   Rows are the same with the roles of U and V exchanged.
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
%   every block at once in the whitened coordinates, the blocks' excess
%   shift (count-scaled) applied as L'\(L\p) times it (see
%   ALSCONJUGATESTEPS): no block's normal matrix is formed at all.
%
%   The fit runs with rows and columns renumbered by activity (ALSSETUP)
%   and returns them in the caller's numbering.
N = numel(vals);
r = opts.rank;
lambda = opts.lambda;
cg = strcmp(opts.solver, 'cg');

% The fixed structures, with the confidences' excess alpha*vals as the
% values: the pattern in column order (rows, values) and the columns in
% row order. Column i of F, the transpose of the sparse matrix E on the
% pattern, is row i of E: its values bring the values into row order,
% and its products make both sides' shares of the gradient products with
% a transpose (E.'*U and F.'*V'), which the hosts evaluate fastest.
[P, E] = alsSetup(I, J, opts.alpha * vals(:), [], m, n, opts, kern, progress);
clear I J vals
colCount = diff(P.colStart).';
rowCount = diff(P.rowStart).';
if nnz(P.v) == N
    % E holds the values themselves.
    F = E.';
    wr = nonzeros(F);
else
    % A sparse matrix drops a zero: E's values are positions in the
    % caller's order. Column-order positions bring the values instead.
    E = alsRefill(P, E, (1:N).');
    F = E.';
    wr = P.v(nonzeros(F));
end
% Each side as the triplet builder's column side takes it: blocks are
% the columns of V (of E) or the rows of U (of F), each with the other
% side's indices in order, its weights and its regularization scale. A
% block with entries of value 0 has no excess confidence but is not
% empty. A chunk of blocks holds at most 2^24 doubles of factors (128
% MB), whatever the rank.
chunk = min(P.blockChunk, max(1, floor(2^24 / r^2)));
C = side(kern, P.I, P.colStart, P.v, colCount, chunk, P.scaled);
R = side(kern, P.Jr, P.rowStart, wr, rowCount, chunk, P.scaled);
clear wr
rowOrder = P.rowOrder;
colOrder = P.colOrder;
rowNew = P.rowNew;
colNew = P.colNew;
clear P
XC = [];
XR = [];
if ~cg && C.scaled
    E = alsRefill(C, E, (1:N).');
    XC = extendedSide(C, E, C.w, r);
    XR = extendedSide(R, E.', C.w, r);
    progress('built the extended patterns (%d and %d entries)', XC.N, XR.N);
end

% With V zero the prediction is zero: E takes 1 + alpha*vals, the
% pattern's share of the gradient at the start, which is also the data
% the start point is found from.
E = alsRefill(C, E, 1 + C.w);
if isempty(opts.U0)
    F = alsRefill(R, F, 1 + R.w);
    U = alsStartPoint(E, N, r, opts.init, opts.seed, rowOrder, colOrder, [], F);
    progress('start point (%s)', opts.init);
else
    U = opts.U0(rowOrder, :);
end
V = zeros(r, n);

maxSweeps = opts.sweeps;
hist = alsHistory(maxSweeps);
% UtE = U'*E, the pattern's share of the column gradient.
UtE = (E.' * U).';
gV = columnGradient(U.' * U, UtE, V, lambda, C.dCol);
gU = lambda * U .* R.dCol.';
hist.gradnorm0 = sqrt(sum(gV(:) .^ 2) + sum(gU(:) .^ 2));
clear gU gV
hist.setup = toc(tStart);
alsSweepDone(hist, 0, 0, 0, opts, false);
for s = 1:maxSweeps
    t0 = tic;
    % Column step given U, then row step given V.
    V = solveSide(C, XC, E, U, V, UtE, lambda, cg, opts.cgsteps);
    clear UtE
    F = residual(R, F, U, V);
    U = solveSide(R, XR, F, V.', U.', [], lambda, cg, opts.cgsteps).';

    [E, UtE, sums] = residual(C, E, V.', U.');
    gramU = U.' * U;
    gV = columnGradient(gramU, UtE, V, lambda, C.dCol);
    g = sqrt(gV(:).' * gV(:));
    clear gV
    % Over all entries, sum (U*V).^2 from the Gram matrices; on the
    % pattern, the confidence-weighted misses replace the predictions.
    everywhere = sum(sum(gramU .* (V * V.')));
    fit = everywhere + sums(2) - sums(1);
    penalty = R.dCol * sum(U .^ 2, 2) + sum(V .^ 2, 1) * C.dCol.';
    hist.objective(s) = 0.5 * (fit + lambda * penalty);
    hist.rmse_train(s) = sqrt(sums(3) / N);
    [hist, stop] = alsSweepDone(hist, s, g, t0, opts, false);
    if stop
        break;
    end
end
hist = alsHistory(hist);
seen = [];
if wantSeen
    E = alsRefill(C, E, ones(N, 1));
    seen = logical(E.');
    seen = seen(colNew, rowNew);
end
clear E F
S = struct('U', U(rowNew, :), 'V', V(:, colNew), 'a', zeros(m, 1), 'b', zeros(1, n));
end


function Q = side(kern, other, start, w, count, chunk, scaled)
% A side's blocks in the fields the triplet builder's column side reads.
scale = ones(size(count));
if scaled
    scale = max(count, 1);
end
Q = struct('kern', kern, 'N', numel(other), 'I', other, 'colStart', start, 'w', w, ...
           'dCol', scale, 'colSum', count, 'emptyCol', count == 0, 'blockChunk', chunk, ...
           'scaled', scaled, 'biases', false);
end


function x = solveSide(Q, X, M, other, x, share, lambda, cg, steps)
% Every block of side Q (the columns of x) given the other factor, as
% the rows OTHER; SHARE = OTHER'*M is the pattern's share of the
% gradient, M the side's sparse matrix (the conjugate-gradient steps
% overwrite its values), X the side's extended pattern (count-scaled,
% exact) or empty; an empty SHARE is taken here, as (M.'*OTHER).'. A
% block without entries has a zero right-hand side: exactly 0. What is
% as large as the factors is freed as soon as it has served.
if isempty(share)
    share = (M.' * other).';
end
gram = other.' * other;
if isempty(X)
    % Whitened: G = L'*L, regressors W = other/L, unknowns L*x, and the
    % share W'*M = L'\share.
    L = chol(gram + lambda * eye(size(gram)));
    W = other / L;
    share = L.' \ share;
    xw = L * x;
    clear x
    if cg
        if Q.scaled
            % The part of lambda*scale beyond the shared lambda, whitened.
            excess = lambda * (Q.dCol - 1);
            shared = @(p, cols) p + (L.' \ (L \ p)) .* excess(cols);
        else
            shared = @(p, cols) p;
        end
        share = share - shared(xw, 1:size(xw, 2));
        xw = alsConjugateSteps(Q, M, W, xw, share, shared, 1, steps, 'col');
    else
        T = alsBlockStep(Q, 'col', W, share, [], 1, struct('V', xw));
        xw = T.V;
    end
    clear share T
    x = L \ xw;
else
    % Count-scaled, exact: the extended pattern, r rows R'*R = gram.
    T = alsBlockStep(X, 'col', [other; gramFactor(gram)], share - gram * x, [], lambda, ...
                     struct('V', x));
    x = T.V;
end
x(:, Q.emptyCol) = 0;
end


function [M, share, sums] = residual(Q, M, A, B)
% The prediction A(b,:)*B(:,i) at side Q's entries (block b, other
% index i), M refilled with 1 + alpha*vals*(1 - pred), and SHARE, the
% other factor's share of the gradient: B*M taken as (M.'*B.').'. SUMS
% holds the sums of pred.^2, (1 + alpha*vals).*(1 - pred).^2 and
% (1 - pred).^2, taken a range at a time with the values: no vector as
% long as the data but the one written into M.
x = zeros(Q.N, 1);
sums = zeros(1, 3);
for t0 = 1:2^20:Q.N
    t1 = min(Q.N, t0 + 2^20 - 1);
    pred = alsMaskedProduct(Q, A, B, t0, t1);
    miss = 1 - pred;
    wmiss = Q.w(t0:t1) .* miss;
    x(t0:t1) = 1 + wmiss;
    sums = sums + [pred.' * pred, miss.' * (miss + wmiss), miss.' * miss];
end
clear pred miss wmiss
M = alsRefill(Q, M, x);
clear x
if nargout > 1
    share = (M.' * B.').';
end
end


function X = extendedSide(Q, M, w, r)
% For the exact solve under count-scaled regularization: side Q with r
% extra entries at the end of every block, on rows size(M,1)+1..+r, of
% weight 1. M's values are positions into the weights W.
X = Q;
[X.I, X.w] = extended(M, w, r);
X.N = numel(X.I);
X.colStart = Q.colStart + r * (0:numel(Q.colStart) - 1).';
end


function [rows, w] = extended(X, conf, r)
% The rows of X's entries in column-major order followed, in every
% column, by r extra entries on rows size(X,1)+1..+r; their weights are
% CONF(X's values) and 1 on the extra rows (whose positions are numbered
% on from numel(CONF)).
N = numel(conf);
[rows, ~, pos] = find([X; sparse(reshape(N + (1:r * size(X, 2)), r, size(X, 2)))]);
rows = uint32(rows);
w = ones(numel(pos), 1);
obs = pos <= N;
w(obs) = conf(pos(obs));
end


function g = columnGradient(gram, share, V, lambda, e)
% Gradient with respect to V: gram = U'*U, share = U'*E.
g = gram * V + lambda * V .* e - share;
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
