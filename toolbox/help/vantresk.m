%VANTRESK  Solve one Cholesky-factored system per column.
%   Z = VANTRESK(R, Y) returns Z with Z(:,k) = (U'*U) \ Y(:,k) for every
%   column k, where U = triu(R{k}) is an upper Cholesky factor. Only the
%   upper triangle of each factor (diagonal included) is read.
%
%   Inputs:
%     R   cell array with exactly m elements, of any shape (element k taken
%         in column-major order); each an n-by-n full real double matrix
%         holding an upper triangular factor, as DELMIROST and KORVANTHE
%         return them
%     Y   full real double n-by-m matrix of right-hand sides, n >= 1, m >= 1
%
%   Output:
%     Z   n-by-m double matrix of solutions
%
%   Errors:
%     'Two input arguments required.'
%     'Single output argument required.'
%     'VANTRESK: R must be a cell containing m upper triangular matrices of size n-be-n.'
%         R is not a cell array
%     'VANTRESK: inconsistent matrix / cell dimensions.'
%         Y has no rows or no columns, R does not have one element per
%         column of Y, or element k is not n-by-n
%     'dpotrs (in vantresk): invalid argument.'
%   Input it cannot read safely is refused:
%     'VANTRESK: Y must be a full real double matrix.'
%     'VANTRESK: every element of R must hold an array.'
%     'VANTRESK: the elements of R must be full real double matrices.'
%   A zero on the diagonal of a factor is not detected: its column of Z
%   holds whatever the solve yields (Inf or NaN). Octave puts the name of
%   the plug-in before the message ('vantresk: ...').
%
%   Example:
%     A = [4 2; 2 3];
%     Z = vantresk({chol(A), eye(2)}, [1 5; 2 6]);
%     Z(:,1) - A \ [1; 2]       % zero up to rounding
%     Z(:,2)                    % [5; 6]: the identity factor leaves it as is
%
%   See also DELMIROST, KORVANTHE, ALSCOMPLETE.
