function metrics = rankmetricsCompute(cols, a, Jh, k)
% Ranking metrics at k of recommendation lists against held-out entries:
% line a of COLS (E-by-k, 0 for an empty slot) is the list of the a-th
% evaluated row, whose held-out columns are Jh(a == ...); A and JH are
% column vectors of one length, every line 1..E has at least one entry.

E = size(cols, 1);
ncol = max([cols(:); Jh; 0]);
% One key per (line, column) pair; column 0 (an empty slot) gets a key of
% its own that no held-out entry has.
heldKey = unique((a - 1) * (ncol + 1) + Jh);
relevant = accumarray(floor((heldKey - 1) / (ncol + 1)) + 1, 1, [E 1]);
listKey = bsxfun(@plus, (0:E-1).' * (ncol + 1), cols);
rel = double(ismember(listKey, heldKey) & cols > 0);

hits = sum(rel, 2);
depth = min(k, relevant);
discount = 1 ./ log2((1:k) + 1);
idealGain = cumsum(discount);
precisionAt = bsxfun(@rdivide, cumsum(rel, 2), 1:k);

metrics.precision = mean(hits / k);
metrics.recall = mean(hits ./ depth);
metrics.map = mean(sum(precisionAt .* rel, 2) ./ depth);
% A column of ideal gains, one per line (indexing a scalar at k = 1 would
% take the index's shape instead).
metrics.ndcg = mean((rel * discount.') ./ reshape(idealGain(depth), [], 1));
metrics.rows = E;
metrics.k = k;
end
