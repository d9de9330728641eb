function X = plain_ombrelast(A, B, I, J)
%PLAIN_OMBRELAST  Plain-language equivalent of the compiled OMBRELAST kernel.
%   X = PLAIN_OMBRELAST(A, B, I, J) returns X(k) = A(I(k),:) * B(:,J(k)),
%   X having the shape of I, without forming A*B.

if nargin ~= 4
    error('Four input arguments are required.');
end
if nargout ~= 1
    error('A single output argument is required.');
end
if ~isa(I, 'uint32') || ~isa(J, 'uint32')
    error('I and J must be of class UINT32.');
end
if ~isa(A, 'double') || ~isa(B, 'double')
    error('A and B must be of class DOUBLE.');
end
if ~isreal(A) || ~isreal(B)
    error('A and B must be REAL.');
end
if size(A, 2) ~= size(B, 1)
    error('Matrix dimensions mismatch for A and B.');
end
if size(I, 1) ~= size(J, 1) || numel(I) ~= numel(J)
    error('Matrix dimensions mismatch for I and J.');
end
if isempty(I)
    X = zeros(size(I));
    return;
end
X = reshape(sum(A(I(:), :) .* B(:, J(:)).', 2), size(I));
end
