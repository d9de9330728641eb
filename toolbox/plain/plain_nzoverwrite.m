function M = plain_nzoverwrite(M, X, I, J)
%PLAIN_NZOVERWRITE  Plain-language equivalent of the compiled NZOVERWRITE kernel.
%   M = PLAIN_NZOVERWRITE(M, X) returns M with its first numel(X) stored
%   values (column-major storage order) replaced by X(:). Unlike the
%   compiled kernel it cannot write into the caller's array, so the new
%   matrix is returned and must be assigned.
%
%   M = PLAIN_NZOVERWRITE(M, X, I, J) takes the stored pattern from the
%   row and column vectors I, J (in storage order) instead of from M. Use
%   it when values may be exactly zero: the rebuilt matrix does not keep
%   zero entries, so find(M) would lose their positions on the next call.

if nargin < 2
    error('M and X are required.');
end
if ~isa(M, 'double') || ~isa(X, 'double')
    error('M and X must be of type DOUBLE.');
end
if ~issparse(M)
    error('M must be sparse.');
end
capacity = nzmax(M);
if nargin >= 4
    capacity = max(capacity, numel(I));
end
if numel(X) > capacity
    error('M must be able to contain at least as many elements as X.');
end
if nargin < 4
    [I, J, v] = find(M);
else
    v = nonzeros(M);
    if numel(v) ~= numel(I)
        % Zeros written earlier are not stored; take the values through
        % the pattern instead.
        v = full(M(sub2ind(size(M), I(:), J(:))));
    end
end
v = v(:);
c = min(numel(X), numel(v));
v(1:c) = X(1:c);
% MATLAB takes double (or logical) subscripts only.
M = sparse(double(I(:)), double(J(:)), v, size(M, 1), size(M, 2));
end
