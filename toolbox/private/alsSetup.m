function [P, E] = alsSetup(I, J, vals, w, m, n, opts, kern, progress)
%ALSSETUP  Build the fixed structures of an explicit-feedback fit.
%   Sorts the entries by column (then row) through one sparse matrix E on
%   the observed pattern, which the sweeps reuse for every residual, and
%   keeps on the pattern only what a sweep reads: row and column indices
%   as uint32 in column order and in row order, the values (centered by
%   their weighted mean when the model has biases) and the weights when
%   they are not all one; per block, where its triplets start and its
%   regularization scale.
N = numel(vals);
P = struct('m', m, 'n', n, 'N', N, 'kern', kern, 'biases', opts.biases, ...
           'scaled', strcmp(opts.regularization, 'scaled'), ...
           'biaslambda', opts.biaslambda, 'blockChunk', opts.blockchunk);

% Rows and columns renumbered by activity, busiest first: the rows of the
% factors that most blocks gather then sit together in memory, which the
% builders' gathers and the masked products read much faster. The fit
% runs in the new numbering; the caller's comes back at the end.
rowCount = zeros(m, 1);
colCount = zeros(n, 1);
for t0 = 1:2^22:N
    t = t0:min(N, t0 + 2^22 - 1);
    rowCount = rowCount + accumarray(double(I(t)), 1, [m 1]);
    colCount = colCount + accumarray(double(J(t)), 1, [n 1]);
end
[~, P.rowOrder] = sort(rowCount, 'descend');
[~, P.colOrder] = sort(colCount, 'descend');
P.rowNew = zeros(m, 1);
P.rowNew(P.rowOrder) = 1:m;
P.colNew = zeros(n, 1);
P.colNew(P.colOrder) = 1:n;
rowCount = rowCount(P.rowOrder);
colCount = colCount(P.colOrder);

% The triplets in column order, and one sparse matrix E on the pattern
% for the sweeps' residuals, with the values and weights in the same order.
P.rowNew = uint32(P.rowNew);
P.colNew = uint32(P.colNew);
label = @(k) sprintf('(%d, %d)', double(I(k)), double(J(k)));
if isempty(w)
    [P.I, P.J, carried, E] = alsSortedTriplets(I, J, P.rowNew, P.colNew, m, n, colCount, ...
                                               {vals}, label);
else
    [P.I, P.J, carried, E] = alsSortedTriplets(I, J, P.rowNew, P.colNew, m, n, colCount, ...
                                               {vals, w}, label);
end
clear I J vals label
P.v = carried{1};
wc = [];
if ~isempty(w)
    wc = carried{2};
end
clear carried
progress('sorted %d entries', N);

% The triplets in row order, from the transposed pattern (transposing
% sorts in linear time); its values, the column-order positions, carry
% the weights across.
E = alsRefill(P, E, (1:N).');
Ct = E.';
[P.Jr, P.Ir, pos] = alsChunkedFind(Ct, rowCount);
clear Ct
P.wr = [];
if ~isempty(w)
    P.wr = wc(pos);
end
clear pos
P.w = wc;
w = wc;
clear wc

% Where each block's triplets start, the global mean (weighted), and the
% per-row and per-column weight sums.
P.colStart = [1; cumsum(colCount) + 1];
P.rowStart = [1; cumsum(rowCount) + 1];
if isempty(w)
    colSum = colCount.';
    rowSum = rowCount;
    total = N;
    wsum = sum(P.v);
else
    colSum = accumarray(double(P.J), w, [n 1]).';
    rowSum = accumarray(double(P.Ir), P.wr, [m 1]);
    total = sum(w);
    wsum = w.' * P.v;
end
P.mean = 0;
if P.biases && total > 0
    P.mean = wsum / total;
    P.v = P.v - P.mean;
end
P = alsBlockScales(P, colSum, rowSum);
progress('built the fixed structures (%d rows, %d columns)', m, n);
end
