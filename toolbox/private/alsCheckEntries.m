function [I, J, vals, m, n] = alsCheckEntries(I, J, vals, m, n, nameI, nameJ, nameV, fail)
%ALSCHECKENTRIES  Validate index pairs and values against an M-by-N matrix.
%   Returns I, J and VALS as double column vectors and M, N as doubles;
%   indices must be whole numbers in range and values finite. A failed
%   check calls FAIL (the completion routine's own by default) with the
%   reason.
if nargin < 9
    fail = @alsFail;
end
if ~isnumeric(m) || ~isscalar(m) || ~isreal(m) || m ~= round(m) || m < 1 || m >= 2^32
    fail('m must be a positive integer below 2^32');
end
if ~isnumeric(n) || ~isscalar(n) || ~isreal(n) || n ~= round(n) || n < 1 || n >= 2^32
    fail('n must be a positive integer below 2^32');
end
m = double(m);
n = double(n);
if ~isnumeric(I) || ~isnumeric(J) || ~isnumeric(vals) || ~isreal(I) || ~isreal(J) || ~isreal(vals)
    fail(sprintf('%s, %s and %s must be real numeric vectors', nameI, nameJ, nameV));
end
if numel(I) ~= numel(J) || numel(I) ~= numel(vals)
    fail(sprintf('%s, %s and %s must have the same number of elements (got %d, %d and %d)', ...
                    nameI, nameJ, nameV, numel(I), numel(J), numel(vals)));
end
% Index vectors keep their class (uint32 stays narrow); the checks below
% work in any numeric class.
I = full(I(:));
J = full(J(:));
vals = double(full(vals(:)));
k = firstOutside(I, m);
if ~isempty(k)
    fail(sprintf('%s(%d) = %g is not a row index in 1..%d', nameI, k, double(I(k)), m));
end
k = firstOutside(J, n);
if ~isempty(k)
    fail(sprintf('%s(%d) = %g is not a column index in 1..%d', nameJ, k, double(J(k)), n));
end
k = firstOf(@(x) ~isfinite(x), vals);
if ~isempty(k)
    fail(sprintf('%s(%d) is not finite', nameV, k));
end
end


function k = firstOutside(x, hi)
% The first element of x that is not a whole number in 1..HI, or [].
% Integer classes hold whole numbers only: their extremes tell.
k = [];
if isinteger(x) && (isempty(x) || (min(x) >= 1 && max(x) <= hi))
    return;
end
k = firstOf(@(y) ~(y >= 1 & y <= hi & y == round(y)), x);
end


function k = firstOf(test, x)
% The first element of x for which TEST holds, or []; taken a million
% elements at a time, so that no temporary is as long as x.
k = [];
for t0 = 1:2^20:numel(x)
    k = find(test(x(t0:min(numel(x), t0 + 2^20 - 1))), 1);
    if ~isempty(k)
        k = k + t0 - 1;
        return;
    end
end
end
