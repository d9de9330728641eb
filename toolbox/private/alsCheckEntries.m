function [I, J, vals, m, n] = alsCheckEntries(I, J, vals, m, n, nameI, nameJ, nameV)
%ALSCHECKENTRIES  Validate index pairs and values against an M-by-N matrix.
%   Returns I, J and VALS as double column vectors and M, N as doubles;
%   indices must be whole numbers in range and values finite.
if ~isnumeric(m) || ~isscalar(m) || ~isreal(m) || m ~= round(m) || m < 1 || m >= 2^32
    alsFail('m must be a positive integer below 2^32');
end
if ~isnumeric(n) || ~isscalar(n) || ~isreal(n) || n ~= round(n) || n < 1 || n >= 2^32
    alsFail('n must be a positive integer below 2^32');
end
m = double(m);
n = double(n);
if ~isnumeric(I) || ~isnumeric(J) || ~isnumeric(vals) || ~isreal(I) || ~isreal(J) || ~isreal(vals)
    alsFail(sprintf('%s, %s and %s must be real numeric vectors', nameI, nameJ, nameV));
end
if numel(I) ~= numel(J) || numel(I) ~= numel(vals)
    alsFail(sprintf('%s, %s and %s must have the same number of elements (got %d, %d and %d)', ...
                    nameI, nameJ, nameV, numel(I), numel(J), numel(vals)));
end
% Index vectors keep their class (uint32 stays narrow); the checks below
% work in any numeric class.
I = full(I(:));
J = full(J(:));
vals = double(full(vals(:)));
k = find(~(I >= 1 & I <= m & I == round(I)), 1);
if ~isempty(k)
    alsFail(sprintf('%s(%d) = %g is not a row index in 1..%d', nameI, k, double(I(k)), m));
end
k = find(~(J >= 1 & J <= n & J == round(J)), 1);
if ~isempty(k)
    alsFail(sprintf('%s(%d) = %g is not a column index in 1..%d', nameJ, k, double(J(k)), n));
end
k = find(~isfinite(vals), 1);
if ~isempty(k)
    alsFail(sprintf('%s(%d) is not finite', nameV, k));
end
end
