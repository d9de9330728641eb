function [P, E] = alsSetup(I, J, vals, w, m, n, opts, kern, progress)
%ALSSETUP  Build the fixed structures of an explicit-feedback fit.
%   Sorts the entries by row (then column) and by column (then row),
%   builds one sparse matrix E on the observed pattern, which the sweeps
%   reuse for every residual, and keeps on the pattern only what a sweep
%   reads: the row indices in column order and the column indices in row
%   order (uint32), the values (centered by their weighted mean when the
%   model has biases) and the weights when they are not all one; per
%   block, where its triplets start (which numbers the blocks' own
%   entries, see ALSBLOCKIDS) and its regularization scale.
N = numel(vals);
P = struct('m', m, 'n', n, 'N', N, 'kern', kern, 'biases', opts.biases, ...
           'scaled', strcmp(opts.regularization, 'scaled'), 'pseudo', 0, ...
           'biaslambda', opts.biaslambda, 'blockChunk', opts.blockchunk);

% Rows and columns renumbered by activity, busiest first: the rows of the
% factors that most blocks gather then sit together in memory, which the
% builders' gathers and the masked products read much faster. The fit
% runs in the new numbering; the caller's comes back at the end.
rowCount = alsActivity(I, m);
colCount = alsActivity(J, n);
[~, P.rowOrder] = sort(rowCount, 'descend');
[~, P.colOrder] = sort(colCount, 'descend');
P.rowNew = zeros(m, 1, 'uint32');
P.rowNew(P.rowOrder) = 1:m;
P.colNew = zeros(n, 1, 'uint32');
P.colNew(P.colOrder) = 1:n;
rowCount = rowCount(P.rowOrder);
colCount = colCount(P.colOrder);
% Where each block's triplets start, in either order.
P.colStart = [1; cumsum(colCount) + 1];
P.rowStart = [1; cumsum(rowCount) + 1];

% The triplets in row order (the weights coming along), sorted through
% the transpose of the pattern, built a range of rows at a time: a row's
% few entries sort much faster than a busy column's many. The ranges'
% transposes make E, the sparse matrix on the pattern for the sweeps'
% residuals. Its values bring the data into column order as the triplets
% in that order are read: the values themselves when there are no
% weights and no zeros among them (a sparse matrix drops a zero value),
% else the entries' positions, which then bring values and weights.
label = @(k) sprintf('(%d, %d)', double(I(k)), double(J(k)));
stored = [];
if isempty(w) && nnz(vals) == N
    stored = vals;
end
carry = {};
if ~isempty(w)
    carry = {w};
end
[P.Jr, carried, E] = alsSortedTriplets(J, I, P.colNew, P.rowNew, n, m, rowCount, ...
                                           carry, label, true, stored);
clear I J label
P.wr = [];
if ~isempty(w)
    P.wr = carried{1};
end
progress('sorted %d entries', N);
if isempty(stored)
    carry = [{vals}, carry];
end
clear vals stored
[P.I, carried] = alsChunkedFind(E, colCount, carry);
clear carry
v = carried{1};
w = [];
if numel(carried) > 1
    w = carried{2};
end
clear carried
P.w = w;

% The global mean (weighted), and the per-row and per-column weight sums.
if isempty(w)
    colSum = colCount.';
    rowSum = rowCount;
    total = N;
    counted = N;
    wsum = sum(v);
else
    colSum = accumarray(double(alsBlockIds(P.colStart, 1, N)), w, [n 1]).';
    rowSum = accumarray(double(alsBlockIds(P.rowStart, 1, N)), P.wr, [m 1]);
    total = sum(w);
    counted = nnz(w);
    wsum = w.' * v;
end
P.mean = 0;
if P.biases && total > 0
    P.mean = wsum / total;
    % In place, a range at a time: no second vector as long as the data.
    for t0 = 1:2^20:N
        t = t0:min(N, t0 + 2^20 - 1);
        v(t) = v(t) - P.mean;
    end
end
P.v = v;
clear v
% The pseudocount in units of the mean weight of the entries that count
% (an entry of weight zero is as good as absent).
if total > 0
    P.pseudo = opts.pseudocount * total / counted;
end
P = alsBlockScales(P, colSum, rowSum);
progress('built the fixed structures (%d rows, %d columns)', m, n);
end

