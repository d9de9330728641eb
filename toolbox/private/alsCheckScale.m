function alsCheckScale(I, J, vals, w, U0, m, n, opts, implicit)
%ALSCHECKSCALE  Refuse numbers the fit cannot represent, before it starts.
%   The fit squares the residuals, scaled by the weights, and sums them;
%   its factors grow like the square root of the values. Values (less
%   their mean when the model has biases) whose size times the root of the
%   largest weight lies outside 1e-100..1e100 would overflow or underflow
%   in those sums and give NaN factors or a gradient norm of zero or Inf,
%   so they are refused, as are weights, U0, ALPHA times the values, or a
%   lambda or biaslambda beyond 1e100. A problem's scale is free: dividing
%   the values by s and lambda by s gives the same fit, scaled. Positive
%   weights spanning more than 1e12 are refused too: the objective then
%   no longer resolves the lightest entries' share.
%
%   A block (row or column) with fewer entries of positive weight than its
%   unknowns (rank, plus one for the bias) has a singular Gram matrix, so
%   lambda alone keeps its normal matrix positive definite. Relative to
%   the Gram matrices' size, about the values' spread (at least 1 with
%   biases, times the largest weight and the unknowns under uniform
%   regularization; count-scaled blocks are divided by their weight sums),
%   a lambda below 1e-9 of it leaves a factorization that rounding can break; such
%   a lambda is refused, naming the smallest one accepted.
fail = @alsFail;
if isempty(w)
    wmax = 1;
else
    wmax = max(w);
    if wmax > 1e100 || (wmax > 0 && wmax < 1e-100)
        fail(sprintf(['weights up to %g are out of range: the largest must lie in ' ...
                      '1e-100..1e100 (scale them all, and under uniform regularization lambda by the same factor)'], wmax));
    end
    % The stopping rule and the solves see an entry's share of the
    % objective only within rounding of the heaviest one's: past a range
    % of 1e12 the lightest entries stop counting, and the fit would stop
    % on a decrease it can no longer measure.
    wmin = min(w(w > 0));
    if ~isempty(wmin) && wmax / wmin > 1e12
        fail(sprintf(['the positive weights span %g to %g, a range the fit cannot resolve: ' ...
                      'it must be at most 1e12 (give the lightest entries weight 0 to leave them out)'], ...
                     wmin, wmax));
    end
end
lambdas = opts.lambda;
if ~isempty(opts.lambdagrid)
    lambdas = opts.lambdagrid;
end
if max(lambdas) > 1e100 || max([opts.biaslambda, opts.biasgrid]) > 1e100
    fail('lambda and biaslambda must be at most 1e100');
end
if implicit
    top = opts.alpha * max(vals);
    if top > 1e100
        fail(sprintf(['alpha * max(vals) = %g is too large a confidence: it must be at ' ...
                      'most 1e100'], top));
    end
    if ~isempty(U0) && max(abs(U0(:))) > 1e100
        fail('U0''s entries must be at most 1e100 in magnitude');
    end
    return;
end
centre = 0;
if opts.biases
    if isempty(w)
        centre = mean(vals);
    elseif any(w)
        centre = (w.' * vals) / sum(w);
    end
end
% The largest deviation, without a vector as long as the data.
spread = max(max(vals) - centre, centre - min(vals));
if spread * sqrt(wmax) > 1e100 || (spread > 0 && spread * sqrt(wmax) < 1e-100)
    fail(sprintf(['the values are out of range: their largest deviation%s, %g, must lie ' ...
                  'in 1e-100..1e100; divide them by a power of ten, and lambda by the ' ...
                  'same factor, for the same fit'], ...
                 weightNote(w), spread * sqrt(wmax)));
end
if ~isempty(U0) && max(abs(U0(:))) > 1e100
    fail('U0''s entries must be at most 1e100 in magnitude');
end

% The smallest lambda a sparse block takes; the blocks are counted only
% when lambda is below it.
unknowns = opts.rank + opts.biases;
gram = max(spread, double(opts.biases));
if strcmp(opts.regularization, 'uniform')
    gram = gram * unknowns * wmax;
end
smallest = 1e-9 * gram;
if min(lambdas) >= smallest
    return;
end
rowCount = alsActivity(I, m);
colCount = alsActivity(J, n);
if ~isempty(w)
    % Entries of zero weight add nothing to a Gram matrix.
    none = find(w == 0);
    rowCount = rowCount - alsActivity(I(none), m);
    colCount = colCount - alsActivity(J(none), n);
end
sparsest = min([rowCount(rowCount > 0); colCount(colCount > 0); Inf]);
if sparsest < unknowns
    fail(sprintf(['lambda %g is too small: a row or column with %d entr%s and %d unknowns ' ...
                  'needs lambda >= %.3g at this scale of the values'], min(lambdas), ...
                 sparsest, plural(sparsest), unknowns, smallest));
end
end


function s = weightNote(w)
s = ' from the mean';
if ~isempty(w)
    s = ' from the mean, times the root of the largest weight';
end
end


function s = plural(k)
s = 'ies';
if k == 1
    s = 'y';
end
end
