function X = alsConjugateSteps(P, E, W, X, R, shared, precond, steps, side)
%ALSCONJUGATESTEPS  A few preconditioned conjugate-gradient steps on every block of one side at once.
%   Block b (a column of X) stands for the system A_b x = y_b with
%     A_b = SHARED + W' * diag(c) * W   over the block's entries only,
%   c the weights P.w of the pattern (ones when P.w is empty) and SHARED
%   a linear map that acts on each column alone (SHARED(p) returns it
%   applied to every column of p). R holds the residuals y_b - A_b*x_b
%   at the current X, which is the warm start. SIDE 'col' takes the
%   blocks as the pattern's columns (W a row per row of the pattern),
%   'row' as its rows (W a row per column). PRECOND multiplies the
%   residuals elementwise (a diagonal preconditioner per block, or 1).
%
%   A step costs one masked product (ALSMASKEDPRODUCT) and one sparse
%   product with the weighted result written over E (whose values are
%   lost), O(r) per entry, and SHARED: no block's normal matrix is
%   formed. Each step lowers every block's quadratic, so the half-step
%   never raises the objective, and a block already solved (R zero)
%   stays where it is.
col = strcmp(side, 'col');
Z = R .* precond;
p = Z;
rz = sum(R .* Z, 1);
Wt = W.';
for k = 1:steps
    if col
        q = alsMaskedProduct(P, p.', Wt);
    else
        q = alsMaskedProduct(P, W, p);
    end
    if ~isempty(P.w)
        q = P.w .* q;
    end
    E = alsRefill(P, E, q);
    clear q
    if col
        Ap = shared(p) + (E.' * W).';
    else
        Ap = shared(p) + (E * W).';
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
    Z = R .* precond;
    rzNext = sum(R .* Z, 1);
    beta = rzNext ./ rz;
    beta(~(rz > 0)) = 0;
    p = Z + p .* beta;
    rz = rzNext;
end
end
