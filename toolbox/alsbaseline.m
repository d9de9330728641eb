function [model, info] = alsbaseline(I, J, vals, m, n, varargin)
%ALSBASELINE  The bias baseline: mean plus a regularized offset per row and per column.
%   MODEL = ALSBASELINE(I, J, VALS, M, N) fits, to the entries VALS(k) at
%   (I(k), J(k)) of an M-by-N matrix, the prediction
%       mean + rowBias(i) + colBias(j)
%   where mean is the mean of VALS and the biases minimize
%       sum_k (VALS(k) - mean - rowBias(I(k)) - colBias(J(k)))^2
%           + LAMBDA * (sum(rowBias.^2) + sum(colBias.^2))
%   by alternating exact passes over the column and the row biases (20 of
%   each, plenty for this separable problem). It is the baseline every
%   rating predictor is measured against: a low-rank fit that does not
%   beat it has learned nothing beyond who rates high and what is liked.
%   MODEL has the fields of ALSCOMPLETE's model (U and V of rank 0), so
%   ALSPREDICT predicts from it.
%
%   ALSBASELINE(..., 'lambda', LAMBDA) sets the regularization [10]; a
%   vector of values, or 'auto' (1, 2, 5, 10, 20, 50, 100), chooses the
%   one with the lowest RMSE on a random 10% of the entries (seed 0)
%   fitted on the rest, then fits all entries with it. That 10% comes
%   from the host's generator, which draws differently in MATLAB and in
%   Octave: the choice may differ between the hosts.
%   [MODEL, INFO] = ALSBASELINE(...) also returns INFO.lambda, and with a
%   choice INFO.grid and INFO.rmse (validation RMSE per value).
%
%   Example:
%     base = alsbaseline(I, J, vals, m, n, 'lambda', 'auto');
%     rmse = sqrt(mean((alspredict(base, Ih, Jh) - vh).^2))
%
%   See also ALSCOMPLETE, ALSPREDICT, ALSPOPULARITY.

varargin = alsChars(varargin);
if mod(numel(varargin), 2) ~= 0
    error('alsbaseline:input', 'alsbaseline: options must come as name/value pairs.');
end
lambda = 10;
for k = 1:2:numel(varargin)
    if ~ischar(varargin{k}) || ~strcmpi(varargin{k}, 'lambda')
        error('alsbaseline:input', 'alsbaseline: the only option is ''lambda''.');
    end
    lambda = varargin{k + 1};
end
if ischar(lambda) && strcmpi(lambda, 'auto')
    lambda = [1 2 5 10 20 50 100];
end
if ~isnumeric(lambda) || isempty(lambda) || ~isreal(lambda) || ~all(isfinite(lambda(:))) ...
        || ~all(lambda(:) >= 0)
    error('alsbaseline:input', 'alsbaseline: lambda must be non-negative and finite, or ''auto''.');
end
if ~isnumeric(I) || ~isnumeric(J) || ~isnumeric(vals) || numel(I) ~= numel(J) ...
        || numel(I) ~= numel(vals) || isempty(I)
    error('alsbaseline:input', 'alsbaseline: I, J and VALS must be numeric vectors of one length.');
end
I = double(I(:));
J = double(J(:));
vals = double(vals(:));
if ~isscalar(m) || ~isscalar(n) || any(I < 1 | I > m | I ~= round(I)) ...
        || any(J < 1 | J > n | J ~= round(J)) || ~all(isfinite(vals))
    error('alsbaseline:input', 'alsbaseline: indices must lie in 1..M and 1..N, values be finite.');
end

info = struct('lambda', lambda(1));
if numel(lambda) > 1
    saved = rng;
    rng(0);
    val = rand(numel(I), 1) < 0.1;
    rng(saved);
    scores = zeros(size(lambda));
    for k = 1:numel(lambda)
        [mu, a, b] = fitBiases(I(~val), J(~val), vals(~val), m, n, lambda(k));
        res = vals(val) - mu - a(I(val)) - b(J(val)).';
        scores(k) = sqrt(mean(res .^ 2));
    end
    [~, best] = min(scores);
    info = struct('lambda', lambda(best), 'grid', lambda, 'rmse', scores);
end
[mu, a, b] = fitBiases(I, J, vals, m, n, info.lambda);
model = struct('U', zeros(m, 0), 'V', zeros(0, n), 'mean', mu, 'rowBias', a, ...
               'colBias', b, 'seen', [], 'm', m, 'n', n, 'rank', 0, ...
               'feedback', 'explicit', 'lambda', info.lambda, 'opts', struct());
end


function [mu, a, b] = fitBiases(I, J, v, m, n, lambda)
mu = mean(v);
v = v - mu;
rowCount = accumarray(I, 1, [m 1]);
colCount = accumarray(J, 1, [n 1]).';
a = zeros(m, 1);
for pass = 1:20
    b = accumarray(J, v - a(I), [n 1]).' ./ (colCount + lambda);
    a = accumarray(I, v - b(J).', [m 1]) ./ (rowCount + lambda);
end
b(colCount == 0) = 0;
a(rowCount == 0) = 0;
end
