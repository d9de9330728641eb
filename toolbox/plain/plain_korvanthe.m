function factors = plain_korvanthe(Ct, W, lambda)
%PLAIN_KORVANTHE  Plain-language equivalent of the compiled KORVANTHE kernel.
%   FACTORS = PLAIN_KORVANTHE(CT, W, LAMBDA) returns the n-by-1 cell whose
%   cell l is chol(G'*G + LAMBDA*eye(r)), G holding the rows CT(i,l)*W(i,:)
%   for the stored entries (i, l) of column l. The stored value is the
%   scale, so it enters the Gram matrix squared.
%
%   Vectorized gather, then one chol per column. Used as the reference and
%   as the 'plain' backend of ALSCOMPLETE.

if nargin ~= 3 || nargout ~= 1
    error('Invalid number of input/output parameter. Need 3 inputs and 1 output.');
end
[m, n] = size(Ct);
if size(W, 1) ~= m
    error('Dimensions mismatch in input arguments.');
end
if ~issparse(Ct)
    error('Ct ought to be a sparse matrix.');
end

lambda = double(lambda(1));
r = size(W, 2);
[i, l, c] = find(Ct);
i = i(:);
l = l(:);
c = c(:);
G = reshape(c .* W(i, :), numel(i), r);
counts = accumarray(l, ones(numel(l), 1), [n 1]);
last = cumsum(counts);
first = last - counts + 1;
shift = lambda * eye(r);
factors = cell(n, 1);
for b = 1:n
    Gb = G(first(b):last(b), :);
    [Rb, fail] = chol(Gb' * Gb + shift);
    if fail
        error('dpotrf (in korvanthe): a leading minor is not positive definite.');
    end
    factors{b} = Rb;
end
end
