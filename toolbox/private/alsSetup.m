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

% One sparse matrix whose values are the entries' positions in the input:
% its column-major order is the order of the sweeps, and a pair given
% twice shows as a missing position.
E = sparse(double(I), double(J), (1:N).', m, n);
if nnz(E) < N
    lin = (double(J) - 1) * m + double(I);
    [lin, ord] = sort(lin);
    k = ord(find(diff(lin) == 0, 1));
    alsFail(sprintf('the entry (%d, %d) is observed more than once', double(I(k)), double(J(k))));
end
clear I J
[Is, Js, ord] = find(E);
P.I = uint32(Is);
clear Is
P.J = uint32(Js);
clear Js
P.v = vals(ord);
clear vals
progress('sorted %d entries', N);

% Row order: the transposed pattern lists every row's entries together;
% its values, the input positions, carry the weights across.
Ct = E.';
if isempty(w)
    [Jr, Ir] = find(Ct);
    P.wr = [];
else
    [Jr, Ir, pos] = find(Ct);
    P.wr = w(pos);
    clear pos
    w = w(ord);
end
clear Ct ord
P.Ir = uint32(Ir);
clear Ir
P.Jr = uint32(Jr);
clear Jr
P.w = w;

% Where each block's triplets start, the global mean (weighted), and the
% per-row and per-column weight sums.
colCount = accumarray(double(P.J), 1, [n 1]);
rowCount = accumarray(double(P.Ir), 1, [m 1]);
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
