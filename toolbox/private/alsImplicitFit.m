function [S, hist, seen] = alsImplicitFit(I, J, vals, m, n, opts, kern, progress, tStart, wantSeen)
%ALSIMPLICITFIT  Confidence-weighted alternating least squares for implicit feedback.
%   Minimizes
%     f = 1/2 sum_{all i,j} c(i,j) (p(i,j) - U(i,:) V(:,j))^2
%       + lambda/2 (sum_i d_i |U(i,:)|^2 + sum_j e_j |V(:,j)|^2)
%   with p = 1, c = 1 + alpha*vals at the observed entries and p = 0,
%   c = 1 elsewhere. The sum over all entries splits into U'*U (or V*V')
%   plus corrections on the pattern, so a column's normal matrix is
%     U'*U + sum_{observed i} alpha*vals U(i,:)'U(i,:) + lambda e_j I.
%   The triplet builder forms it unchanged from an extended pattern: the
%   other factor gets r extra rows holding a factor R with R'*R = U'*U,
%   and every column r extra entries on those rows with weight 1. The
%   extended pattern and its weights are built once; only the r extra
%   rows change. Each block's solution is its Newton step from the
%   current point, the gradient coming from the residual on the pattern:
%     grad_V = U'*U*V + lambda V.*e - U' * (1 + alpha*vals.*(1 - pred)).
N = numel(vals);
r = opts.rank;
lambda = opts.lambda;
alpha = opts.alpha;

% The pattern sorted by column, with the confidences in the same order
% (a repeated pair stops the fit).
colCount = alsActivity(J, n).';
label = @(k) sprintf('(%d, %d)', double(I(k)), double(J(k)));
[P.I, conf, E, P.J] = alsSortedTriplets(I, J, [], [], m, n, colCount, {alpha * vals(:)}, label, false);
clear I J vals label
P.kern = kern;
P.N = N;
P.colStart = [1; cumsum(colCount(:)) + 1];
P.a = conf{1};
clear conf
rowCount = alsActivity(P.I, m);
progress('sorted %d entries', N);

% Extended patterns: r extra entries at the end of every column (rows
% m+1..m+r) and of every row (columns n+1..n+r); E's values, the
% column-order positions, bring the confidences along.
E = alsRefill(P, E, (1:N).');
[P.Ic, P.Jc, wc] = extended(E, P.a, r);
[P.Jr, P.Ir, wr] = extended(E.', P.a, r);
if strcmp(opts.regularization, 'scaled')
    e = max(colCount, 1);
    d = max(rowCount, 1);
else
    e = ones(1, n);
    d = ones(m, 1);
end
ChatV = wc ./ reshape(e(P.Jc), [], 1);
ChatU = wr ./ d(P.Ir);
clear wc wr
progress('built the extended patterns (%d and %d entries)', numel(P.Ic), numel(P.Ir));

if isempty(opts.U0)
    E = alsRefill(P, E, 1 + P.a);
    U = alsStartPoint(E, N, r, opts.init, opts.seed, (1:m).', (1:n).');
    progress('start point (%s)', opts.init);
else
    U = opts.U0;
end
V = zeros(r, n);

maxSweeps = opts.sweeps;
hist = alsHistory(maxSweeps);
[E, pred] = residual(kern, P, E, U, V);
clear pred
gV = columnGradient(E, U, V, lambda, e);
gU = lambda * U .* d;
hist.gradnorm0 = sqrt(sum(gV(:) .^ 2) + sum(gU(:) .^ 2));
clear gU
hist.setup = toc(tStart);
alsSweepDone(hist, 0, 0, 0, opts, false);
for s = 1:maxSweeps
    t0 = tic;
    % Column step, with U extended by a factor of U'*U.
    Rv = kern.delmirost(ChatV, [U; gramFactor(U.' * U)], lambda, P.Ic, P.Jc, uint32(n));
    step = kern.vantresk(Rv, gV ./ e);
    clear Rv
    V = V - step;
    % A column without interactions has a zero right-hand side: exactly 0.
    V(:, colCount == 0) = 0;
    clear step

    % Row step, with V' extended by a factor of V*V'.
    [E, pred] = residual(kern, P, E, U, V);
    clear pred
    gU = U * (V * V.') + lambda * U .* d - E * V.';
    Ru = kern.delmirost(ChatU, [V.'; gramFactor(V * V.')], lambda, P.Jr, P.Ir, uint32(m));
    step = kern.vantresk(Ru, (gU ./ d).');
    clear Ru gU
    U = U - step.';
    U(rowCount == 0, :) = 0;
    clear step

    [E, pred] = residual(kern, P, E, U, V);
    gV = columnGradient(E, U, V, lambda, e);
    g = sqrt(gV(:).' * gV(:));
    miss = 1 - pred;
    everywhere = sum(sum((U.' * U) .* (V * V.')));
    fit = everywhere + (miss.' * ((1 + P.a) .* miss)) - pred.' * pred;
    penalty = d.' * sum(U .^ 2, 2) + sum(V .^ 2, 1) * e.';
    hist.objective(s) = 0.5 * (fit + lambda * penalty);
    hist.rmse_train(s) = sqrt((miss.' * miss) / N);
    clear miss pred
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
end
S = struct('U', U, 'V', V, 'a', zeros(m, 1), 'b', zeros(1, n));
end


function [E, pred] = residual(kern, P, E, U, V)
% The prediction on the pattern, and E refilled with 1 + alpha*vals*(1 - pred),
% the pattern's share of the gradient.
pred = kern.ombrelast(V.', U.', P.J, P.I);
E = alsRefill(P, E, 1 + P.a .* (1 - pred));
end


function [rows, cols, w] = extended(X, conf, r)
% The entries of X in column-major order followed, in every column, by r
% extra entries on rows size(X,1)+1..+r; their weights are the
% confidences CONF (given in X's order) and 1 on the extra rows. X's
% values are positions, the extra entries' numbered on from numel(CONF).
N = numel(conf);
[rows, cols, pos] = find([X; sparse(reshape(N + (1:r * size(X, 2)), r, size(X, 2)))]);
rows = uint32(rows);
cols = uint32(cols);
w = ones(numel(pos), 1);
obs = pos <= N;
w(obs) = conf(pos(obs));
end


function g = columnGradient(E, U, V, lambda, e)
% Gradient with respect to V, E holding the pattern's share; U'*E is
% taken as (E.'*U).', the same sums without striding through U.
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
