%OMBRELAST  Entries of a product of two factors at given positions.
%   X = OMBRELAST(A, B, I, J) returns X(k) = A(I(k),:) * B(:,J(k)) for every
%   element k of I and J, without forming A*B. X has the shape of I. Each
%   sum is accumulated left to right from the first product, without fused
%   multiply-add, so results are reproducible bit for bit.
%
%   Inputs:
%     A   full real double m-by-r matrix
%     B   full real double r-by-n matrix
%     I   uint32 array of any 2-D shape, 1-based rows of A, 1 <= I(k) <= m
%     J   uint32 array of the same shape as I, 1-based columns of B,
%         1 <= J(k) <= n
%
%   Output:
%     X   double array of the shape of I
%
%   Errors:
%     'Four input arguments are required.'
%     'A single output argument is required.'
%     'I and J must be of class UINT32.'
%     'A and B must be of class DOUBLE.'
%     'A and B must be REAL.'
%     'Matrix dimensions mismatch for A and B.'
%         columns of A differ from rows of B
%     'Matrix dimensions mismatch for I and J.'
%         I and J differ in shape (equal element counts are not enough)
%     'OMBRELAST: Could not allocate X. Out of memory?'
%   Input it cannot read safely is refused:
%     'A and B must be full, not sparse.'
%     'Row numbers in I must lie between 1 and the number of rows of A.'
%     'Column numbers in J must lie between 1 and the number of columns of B.'
%   With no inner dimension (A m-by-0, B 0-by-n) X holds zeros, the empty
%   sum. Octave puts the name of the plug-in before the message
%   ('ombrelast: ...').
%
%   Example:
%     A = [1 2; 3 4; 5 6];  B = [1 0 2; 0 1 3];
%     X = ombrelast(A, B, uint32([3 1; 2 2]), uint32([3 1; 1 2]))
%     % X = [28 1; 3 4], i.e. the entries (3,3), (1,1), (2,1), (2,2) of A*B
%
%   See also ALSCOMPLETE.
