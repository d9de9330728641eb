function Z = plain_vantresk(R, Y)
%PLAIN_VANTRESK  Plain-language equivalent of the compiled VANTRESK kernel.
%   Z = PLAIN_VANTRESK(R, Y) solves (U'*U) * Z(:,k) = Y(:,k) for every
%   column k, U = triu(R{k}) (the strict lower triangle is ignored), with
%   two triangular solves per column.

if nargin ~= 2
    error('Two input arguments required.');
end
if nargout ~= 1
    error('Single output argument required.');
end
if ~iscell(R)
    error('VANTRESK: R must be a cell containing m upper triangular matrices of size n-be-n.');
end
[n, m] = size(Y);
if m == 0 || n == 0 || numel(R) ~= m
    error('VANTRESK: inconsistent matrix / cell dimensions.');
end
Z = Y;
for k = 1:m
    if size(R{k}, 1) ~= n || size(R{k}, 2) ~= n
        error('VANTRESK: inconsistent matrix / cell dimensions.');
    end
    U = triu(R{k});
    Z(:, k) = U \ (U' \ Y(:, k));
end
end
