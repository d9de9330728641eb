function step = alsBlockStep(P, side, W, g, lambda)
%ALSBLOCKSTEP  Newton steps of every block of one side, built and solved in chunks.
%   SIDE 'col' solves for the columns (blocks of the column-order triplets,
%   regressors W = [U 1] or U), 'row' for the rows (row-order triplets,
%   W = [V' 1] or V'). G holds one gradient per block, as columns. Each
%   block's normal matrix over its scale d is built by the triplet builder
%   with weights w/d and lambda, and the step is (R'R) \ (g/d), with the
%   biases' own regularizer put in by BIASCORRECTED's rank-one change.
%   Blocks go in chunks of at most P.blockChunk blocks and 2^23 entries, so that
%   the factor cell and the per-entry weights of one chunk are all that a
%   step holds at a time, however many blocks there are.
if strcmp(side, 'col')
    rows = P.I;
    blocks = P.J;
    start = P.colStart;
    d = P.dCol;
    w = P.w;
else
    rows = P.Jr;
    blocks = P.Ir;
    start = P.rowStart;
    d = P.dRow.';
    w = P.wr;
end
nb = numel(d);
step = zeros(size(g));
b0 = 1;
while b0 <= nb
    % The largest chunk from block b0 within both limits (at least one block).
    b1 = min(nb, b0 + P.blockChunk - 1);
    limit = start(b0) + 2^23;
    if start(b1 + 1) > limit
        b1 = max(b0, find(start(b0 + 1:b1 + 1) <= limit, 1, 'last') + b0 - 1);
    end
    t0 = start(b0);
    t1 = start(b1 + 1) - 1;
    if b0 == 1 && b1 == nb
        chunkRows = rows;
        chunkBlocks = blocks;
    else
        chunkRows = rows(t0:t1);
        chunkBlocks = blocks(t0:t1) - uint32(b0 - 1);
    end
    scale = d(b0:b1);
    if isempty(w)
        if P.scaled
            Chat = 1 ./ scale(chunkBlocks);
            Chat = Chat(:);
        else
            Chat = ones(t1 - t0 + 1, 1);
        end
    else
        Chat = w(t0:t1) ./ reshape(scale(chunkBlocks), [], 1);
    end
    R = P.kern.delmirost(Chat, W, lambda, chunkRows, chunkBlocks, uint32(b1 - b0 + 1));
    clear Chat chunkRows chunkBlocks
    step(:, b0:b1) = biasCorrected(P, R, g(:, b0:b1) ./ scale, lambda, scale);
    clear R
    b0 = b1 + 1;
end
end


function x = biasCorrected(P, R, y, lambda, d)
% Solves every block's system with its factor R{j} after the bias's share
% of the regularizer is changed from lambda*d(j) (what the builder adds
% to every diagonal entry) to the biases' own P.biaslambda: a rank-one
% change of the last diagonal entry, by the Sherman-Morrison formula
% with a second solve for the last unit vector. Systems are divided by
% d(j), as the builder's are.
x = P.kern.vantresk(R, y);
if ~P.biases
    return;
end
q = size(y, 1);
u = zeros(size(y));
u(q, :) = 1;
z = P.kern.vantresk(R, u);
delta = (P.biaslambda - lambda * d) ./ d;
x = x - z .* (delta .* x(q, :) ./ (1 + delta .* z(q, :)));
end
