%NZOVERWRITE  Overwrite the stored values of a sparse matrix in place.
%   NZOVERWRITE(M, X) copies the elements of X, in linear (column-major)
%   order, over the first numel(X) stored values of the sparse matrix M.
%   It returns nothing: M itself, the caller's variable, is changed. The
%   pattern of M (which entries are stored) stays as it was, so new values
%   for a fixed pattern reach the matrix without building a new one.
%
%   The stored values are in storage order: column by column, and by row
%   within each column. For the pattern of M, [i, j] = find(M) lists them
%   in that order (as long as M stores no zeros), so
%       nzoverwrite(M, f(i, j))
%   gives M(i(k), j(k)) = f(i(k), j(k)) for every stored entry.
%
%   Inputs:
%     M   sparse double matrix, changed in place
%     X   full real double array of any shape with at most as many
%         elements as M has room for (nzmax(M))
%
%   Output: none.
%
%   Errors (M is left unchanged):
%     'M and X must be of type DOUBLE.'
%     'M must be sparse.'
%     'M must be able to contain at least as many elements as X.'
%   and, for input it cannot handle safely:
%     'Two input arguments, M and X, are required.'
%     'X must be a full array, not sparse.'
%     'M must be real: a complex M cannot be written in place.'
%       (a host may hand a plug-in only a copy of a complex array's real
%       part, Octave always and MATLAB R2018a and later, which store complex
%       data interleaved, where it converts; the new values would be lost
%       while the call reported success)
%   Octave puts the name of the plug-in before the message ('nzoverwrite: ...').
%
%   Warning: the update is made in the array's own storage, as with any
%   in-place update. Variables that share data with M - copies made by
%   plain assignment (T = M), values in cells or structs taken from M,
%   arguments of a caller passing M on - see the change too. To keep an
%   unchanged copy, force a real copy first, for example T = M + 0 or
%   T = sparse(i, j, v, m, n) rebuilt from find(M).
%   A value of 0 stays stored as an explicit zero in the pattern. Values
%   beyond nnz(M) (up to nzmax(M)) go to spare room that M does not show.
%
%   Example:
%     M = sparse([1 2 3], [1 1 2], [1 1 1], 3, 2);
%     nzoverwrite(M, [7 8 9]);
%     full(M)            % [7 0; 8 0; 0 9]
%
%   See also ALSCOMPLETE.
