function S = alsBlockStep(P, side, W, G, esum, lambda, S)
%ALSBLOCKSTEP  Newton steps of every block of one side, built, solved and applied in chunks.
%   SIDE 'col' solves for the columns of [V; b] (blocks of the
%   column-order triplets, regressors W = [U 1] or U, G = U'*E and ESUM
%   E's column sums), 'row' for the rows of [U a] (row-order triplets,
%   W = [V' 1] or V', G = E*V' and ESUM E's row sums), E holding the
%   weighted residual. A block's gradient is
%     lambda*d*x - G(block)   and, for its bias,   biaslambda*bias - ESUM(block),
%   its normal matrix over its scale d is built by the triplet builder
%   with weights w/d and lambda, and the step (R'R) \ (g/d) is taken, with
%   the biases' own regularizer put in by a rank-one correction. Blocks go
%   in chunks of at most P.blockChunk blocks and a bounded number of
%   entries, so that the factors and per-entry weights of one chunk are all
%   a step holds at a time, however many blocks there are. Row chunks hold
%   at most 2^20 entries, whose temporaries the memory allocator then
%   reuses from chunk to chunk instead of mapping fresh memory for each.
%   The builder takes a scratch array of W's size on every call, which on
%   the column side (W has a row per row of the data) costs more than a
%   chunk's own temporaries: column chunks hold up to an eighth of the
%   entries (at least 2^21), so that there are few calls. Blocks without
%   entries get zero.
if strcmp(side, 'col')
    rows = P.I;
    start = P.colStart;
    d = P.dCol;
    sums = P.colSum;
    w = P.w;
    empty = P.emptyCol;
    most = max(2^21, ceil(P.N / 8));
else
    rows = P.Jr;
    start = P.rowStart;
    d = P.dRow.';
    sums = P.rowSum.';
    w = P.wr;
    empty = P.emptyRow.';
    most = 2^20;
end
if P.scaled && isempty(w)
    inverse = 1 ./ d;
end
r = size(G, 1 + strcmp(side, 'row'));
nb = numel(d);
b0 = 1;
while b0 <= nb
    b1 = alsChunkEnd(start, b0, P.blockChunk, most);
    t0 = start(b0);
    t1 = start(b1 + 1) - 1;
    cols = b0:b1;
    if t1 >= t0
        if b0 == 1 && b1 == nb
            chunkRows = rows;
        else
            chunkRows = rows(t0:t1);
        end
        chunkBlocks = alsBlockIds(start(b0:b1 + 1) - (t0 - 1), 1, t1 - t0 + 1);
        scale = d(cols);
        if isempty(w)
            if P.scaled
                Chat = inverse(cols);
                Chat = reshape(Chat(chunkBlocks), [], 1);
            else
                Chat = ones(t1 - t0 + 1, 1);
            end
        else
            Chat = w(t0:t1) ./ reshape(scale(chunkBlocks), [], 1);
        end
        R = P.kern.delmirost(Chat, W, lambda, chunkRows, chunkBlocks, uint32(b1 - b0 + 1));
        Chat = []; chunkRows = []; chunkBlocks = [];
        % The chunk's gradients, one column per block.
        if strcmp(side, 'col')
            x = S.V(:, cols);
            g = lambda * x .* scale - G(:, cols);
        else
            x = S.U(cols, :).';
            g = lambda * x .* scale - G(cols, :).';
        end
        if P.biases
            if strcmp(side, 'col')
                bias = S.b(cols);
            else
                bias = S.a(cols).';
            end
            g = [g; P.biaslambda * bias - reshape(esum(cols), 1, [])]; %#ok<AGROW>
        end
        step = biasCorrected(P, R, g ./ scale, lambda, scale, sums(cols));
        clear R g
        x = x - step(1:r, :);
        x(:, empty(cols)) = 0;
        if P.biases
            bias = bias - step(r + 1, :);
            bias(empty(cols)) = 0;
        end
    else
        x = zeros(r, numel(cols));
        bias = zeros(1, numel(cols));
    end
    if strcmp(side, 'col')
        S.V(:, cols) = x;
        if P.biases
            S.b(cols) = bias;
        end
    else
        S.U(cols, :) = x.';
        if P.biases
            S.a(cols) = bias.';
        end
    end
    b0 = b1 + 1;
end
end


function x = biasCorrected(P, R, y, lambda, d, sums)
% Solves every block's system with its factor R{j} after the bias's share
% of the regularizer is changed from lambda*d(j) (what the builder adds
% to every diagonal entry) to the biases' own P.biaslambda: a rank-one
% change of the last diagonal entry, by the Sherman-Morrison formula
% with a second solve for the last unit vector. Systems are divided by
% d(j), as the builder's are; SUMS(j) is the block's weight sum.
%
% The formula's denominator 1 + delta*z(q) equals sigma*z(q), with sigma
% the changed system's last pivot, s - |R(1:q-1,q)|^2 + biaslambda/d
% (s the block's sum of weights over d). Taken as 1 + delta*z(q) it
% cancels once lambda*d/biaslambda nears 1/eps, and the blocks where the
% ratio passes 1e6 take it from sigma instead, which has no such
% difference.
x = P.kern.vantresk(R, y);
if ~P.biases
    return;
end
q = size(y, 1);
u = zeros(size(y));
u(q, :) = 1;
z = P.kern.vantresk(R, u);
delta = (P.biaslambda - lambda * d) ./ d;
denominator = 1 + delta .* z(q, :);
lossy = find(lambda * d > 1e6 * P.biaslambda);
if ~isempty(lossy)
    factors = [R{lossy}];
    above = factors(1:q - 1, q:q:end);
    % The bias's diagonal entry: the block's weight sum over its scale.
    s = sums(lossy) ./ d(lossy);
    sigma = s - sum(above .^ 2, 1) + P.biaslambda ./ d(lossy);
    denominator(lossy) = sigma .* z(q, lossy);
end
x = x - z .* (delta .* x(q, :) ./ denominator);
end
