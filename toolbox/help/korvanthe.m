%KORVANTHE  Regularized Cholesky factors of Gram blocks, one per sparse column.
%   FACTORS = KORVANTHE(CT, W, LAMBDA) returns, for every column l of the
%   sparse matrix CT, the upper Cholesky factor of G'*G + LAMBDA*eye(r),
%   where G holds one row CT(i,l) * W(i,:) for each stored entry (i, l) of
%   column l. The stored value is the scale itself, so it enters the Gram
%   matrix squared (store sqrt of a weight to weight a row by it).
%
%   Inputs:
%     CT       sparse real double m-by-n matrix; its pattern says which rows
%              of W take part in each block, its values how they are scaled
%     W        full real double m-by-r matrix (same row count as CT)
%     LAMBDA   numeric scalar, added to every diagonal element
%
%   Output:
%     FACTORS  n-by-1 cell; cell l holds the r-by-r upper triangular factor
%              of column l, with exact zeros below the diagonal. A column
%              without stored entries gets sqrt(LAMBDA)*eye(r). The cell is
%              what VANTRESK takes.
%
%   Errors:
%     'Invalid number of input/output parameter. Need 3 inputs and 1 output.'
%     'Dimensions mismatch in input arguments.'
%         W and CT have different row counts (tested before sparsity)
%     'Ct ought to be a sparse matrix.'
%     'dpotrf (in korvanthe): invalid argument.'
%     'dpotrf (in korvanthe): a leading minor is not positive definite.'
%         e.g. a column without entries when LAMBDA <= 0
%   Input it cannot read safely is refused:
%     'Ct must be a sparse matrix of real doubles.'
%     'W must be a full real double matrix.'
%     'lambda must be a real numeric scalar.'
%     'Ct is not a well-formed sparse matrix.'
%   A W without columns gives 0-by-0 factors. Octave puts the name of the
%   plug-in before the message ('korvanthe: ...').
%
%   Example:
%     W = [1 2; 3 4; 5 6];
%     Ct = sparse([1 3], [1 1], [2 -1], 3, 2);
%     F = korvanthe(Ct, W, 0.5);
%     F{1}      % [5.4314 6.9964; 0 1.8844]: chol([2*W(1,:); -W(3,:)]' * [2*W(1,:); -W(3,:)] + 0.5*eye(2))
%     F{2}      % sqrt(0.5) * eye(2)
%
%   See also DELMIROST, VANTRESK, ALSCOMPLETE.
