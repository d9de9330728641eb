function w = alsCheckWeights(w, N)
%ALSCHECKWEIGHTS  Validate per-entry weights; empty (all ones) when none are given.
if isempty(w)
    w = [];
    return;
end
if ~isnumeric(w) || ~isreal(w) || numel(w) ~= N
    alsFail(sprintf('weights must be a real vector with one element per observed entry (%d, got %d)', ...
                    N, numel(w)));
end
w = double(full(w(:)));
k = find(~(isfinite(w) & w >= 0), 1);
if ~isempty(k)
    alsFail(sprintf('weights(%d) must be finite and non-negative', k));
end
if all(w == 1)
    w = [];
end
end
