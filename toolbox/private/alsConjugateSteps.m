function X = alsConjugateSteps(P, E, W, X, R, shared, precond, steps, side)
%ALSCONJUGATESTEPS  A few preconditioned conjugate-gradient steps on every block of one side at once.
%   Block b (a column of X) stands for the system A_b x = y_b with
%     A_b = SHARED + W' * diag(c) * W   over the block's entries only,
%   c the weights P.w of the pattern (ones when P.w is empty) and SHARED
%   a linear map that acts on each column alone: SHARED(p, cols) returns
%   it applied to the columns p of the blocks COLS. R holds the residuals
%   y_b - A_b*x_b at the current X, which is the warm start. SIDE 'col'
%   takes the blocks as the pattern's columns (W a row per row of the
%   pattern), 'row' as its rows (W a row per column). PRECOND multiplies
%   the residuals elementwise (a diagonal preconditioner per block, or 1).
%
%   A step costs one masked product (ALSMASKEDPRODUCT) and one sparse
%   product with the weighted result written over E (whose values are
%   lost), O(r) per entry, and SHARED: no block's normal matrix is
%   formed. Each step lowers every block's quadratic, so the half-step
%   never raises the objective, and a block already solved (R zero)
%   stays where it is. On the column side the blocks go in chunks of at
%   most 2^20 entries (a busier column is a chunk of its own) and 2^14
%   blocks, so that the vectors a step holds are a chunk's, not as long
%   as the data, and its r-by-blocks arrays are a chunk's too.
col = strcmp(side, 'col');
if ~col
    X = steps1(P, E, W, X, R, shared, precond, steps, col, 1:size(X, 2));
    return;
end
start = P.colStart;
nb = numel(start) - 1;
Wt = W.';
b0 = 1;
while b0 <= nb
    b1 = alsChunkEnd(start, b0, 2^14, 2^20);
    t0 = start(b0);
    t1 = start(b1 + 1) - 1;
    cols = b0:b1;
    if t1 >= t0
        % The chunk's entries as a pattern of its own.
        Q = struct('kern', P.kern, 'N', t1 - t0 + 1, 'I', P.I(t0:t1), ...
                   'colStart', start(b0:b1 + 1) - (t0 - 1), 'w', []);
        if ~isempty(P.w)
            Q.w = P.w(t0:t1);
        end
        if isscalar(precond)
            pc = precond;
        else
            pc = precond(:, cols);
        end
        X(:, cols) = steps1(Q, E(:, cols), W, X(:, cols), R(:, cols), shared, pc, steps, ...
                            true, cols, Wt);
    end
    b0 = b1 + 1;
end
end


function X = steps1(P, E, W, X, R, shared, precond, steps, col, cols, Wt)
% The steps on the blocks COLS, E and P their pattern.
if isscalar(precond) && precond == 1
    Z = R;
else
    Z = R .* precond;
end
p = Z;
rz = sum(R .* Z, 1);
% The weighted masked products, written a range at a time into Q.
q = zeros(P.N, 1);
for k = 1:steps
    if col
        pt = p.';
    end
    for t0 = 1:2^20:P.N
        t1 = min(P.N, t0 + 2^20 - 1);
        if col
            qt = alsMaskedProduct(P, pt, Wt, t0, t1);
        else
            qt = alsMaskedProduct(P, W, p, t0, t1);
        end
        if isempty(P.w)
            q(t0:t1) = qt;
        else
            q(t0:t1) = P.w(t0:t1) .* qt;
        end
    end
    clear qt pt
    E = alsRefill(P, E, q);
    if col
        Ap = shared(p, cols) + (E.' * W).';
    else
        Ap = shared(p, cols) + (E * W).';
    end
    pAp = sum(p .* Ap, 1);
    a = rz ./ pAp;
    % A zero direction: the block is solved.
    a(~(pAp > 0)) = 0;
    X = X + p .* a;
    if k == steps
        break;
    end
    R = R - Ap .* a;
    clear Ap
    if isscalar(precond) && precond == 1
        Z = R;
    else
        Z = R .* precond;
    end
    rzNext = sum(R .* Z, 1);
    beta = rzNext ./ rz;
    beta(~(rz > 0)) = 0;
    p = Z + p .* beta;
    rz = rzNext;
end
end
