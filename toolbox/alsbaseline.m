function [model, info] = alsbaseline(I, J, vals, m, n, varargin)
%ALSBASELINE  The bias baseline: mean plus a regularized offset per row and per column.
%   MODEL = ALSBASELINE(I, J, VALS, M, N) fits, to the entries VALS(k) at
%   (I(k), J(k)) of an M-by-N matrix, the prediction
%       mean + rowBias(i) + colBias(j)
%   where mean is the mean of VALS and the biases minimize
%       sum_k (VALS(k) - mean - rowBias(I(k)) - colBias(J(k)))^2
%           + LAMBDA * (sum(rowBias.^2) + sum(colBias.^2))
%   exactly: the row biases are eliminated and the column biases solved by
%   conjugate gradients to a relative residual of 1e-10 (the biases agree
%   with a direct solve to about 1e-9 of the values' spread). It is the baseline every
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
%   Bad input (indices outside 1..M or 1..N, complex or non-finite values,
%   vectors of different lengths, a negative lambda, an unknown option)
%   raises an error with identifier 'alsbaseline:input'; a problem whose
%   vectors of M or N doubles cannot fit in memory, 'alsbaseline:memory'.
%
%   Example:
%     base = alsbaseline(I, J, vals, m, n, 'lambda', 'auto');
%     rmse = sqrt(mean((alspredict(base, Ih, Jh) - vh).^2))
%
%   See also ALSCOMPLETE, ALSPREDICT, ALSPOPULARITY.

fail = @(msg) alsInputError('alsbaseline', msg);
if nargin < 5
    fail('expected alsbaseline(I, J, VALS, M, N, ...)');
end
varargin = alsChars(varargin);
opts = alsNameValue(varargin, struct('lambda', 10), fail);
lambda = opts.lambda;
if ischar(lambda) && strcmpi(lambda, 'auto')
    lambda = [1 2 5 10 20 50 100];
end
if ~isnumeric(lambda) || isempty(lambda) || ~isreal(lambda) || ~all(isfinite(lambda(:))) ...
        || ~all(lambda(:) >= 0)
    fail('lambda must be non-negative and finite, a vector of such values, or ''auto''');
end
lambda = double(lambda(:).');
[I, J, vals, m, n] = alsCheckEntries(I, J, vals, m, n, 'I', 'J', 'vals', fail);
% The indices as doubles, a few vectors of M and of N doubles.
alsMemoryRefuse('alsbaseline', 48 * numel(vals) + 80 * (m + n), ...
                sprintf('a %d-by-%d baseline of %d entries', m, n, numel(vals)));
if isempty(vals)
    fail('at least one observed entry is needed');
end
I = double(I);
J = double(J);

info = struct('lambda', lambda(1));
if numel(lambda) > 1
    saved = rng;
    rng(0);
    val = rand(numel(I), 1) < 0.1;
    rng(saved);
    scores = zeros(size(lambda));
    for k = 1:numel(lambda)
        [mu, a, b] = fitBiases(I(~val), J(~val), vals(~val), m, n, lambda(k));
        res = vals(val) - mu - a(I(val)) - b(J(val));
        scores(k) = sqrt(mean(res .^ 2));
    end
    [~, best] = min(scores);
    info = struct('lambda', lambda(best), 'grid', lambda, 'rmse', scores);
end
[mu, a, b] = fitBiases(I, J, vals, m, n, info.lambda);
model = struct('U', zeros(m, 0), 'V', zeros(0, n), 'mean', mu, 'rowBias', a, ...
               'colBias', b.', 'seen', [], 'm', m, 'n', n, 'rank', 0, ...
               'feedback', 'explicit', 'lambda', info.lambda, 'opts', struct());
end


function [mu, a, b] = fitBiases(I, J, v, m, n, lambda)
% The normal equations of the biases,
%   (Dr + lambda) a + C b = rowSums,   C' a + (Dc + lambda) b = colSums
% with C the M-by-N count matrix, after eliminating a: the Schur complement
% (Dc + lambda) - C' (Dr + lambda)^-1 C is positive semidefinite and its
% system consistent, so conjugate gradients (with its diagonal part as
% preconditioner) converge, also at lambda = 0, where only a + b is
% determined. Rows and columns without entries get zero.
mu = mean(v);
v = v - mu;
dr = accumarray(I, 1, [m 1]) + lambda;
dc = accumarray(J, 1, [n 1]) + lambda;
emptyRow = dr == lambda;
emptyCol = dc == lambda;
dr(dr == 0) = 1;
dc(dc == 0) = 1;
rowSums = accumarray(I, v, [m 1]);
rhs = accumarray(J, v - rowSums(I) ./ dr(I), [n 1]);
b = zeros(n, 1);
if any(rhs)
    [b, ~] = pcg(@(x) schur(x, I, J, m, n, dr, dc), rhs, 1e-10, max(100, min(n, 2000)), ...
                 @(x) x ./ dc, [], rhs ./ dc);
end
a = (rowSums - accumarray(I, b(J), [m 1])) ./ dr;
a(emptyRow) = 0;
b(emptyCol) = 0;
end


function y = schur(x, I, J, m, n, dr, dc)
t = accumarray(I, x(J), [m 1]) ./ dr;
y = dc .* x - accumarray(J, t(I), [n 1]);
end
