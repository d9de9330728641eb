%DELMIROST  Regularized Cholesky factors of weighted Gram blocks, from triplets.
%   FACTORS = DELMIROST(CHAT, W, LAMBDA, I, J, NBLOCKS) returns, for every
%   block b = 1..NBLOCKS, the upper Cholesky factor of
%
%       sum over the triplets k with J(k) = b of  CHAT(k) * W(I(k),:)' * W(I(k),:)
%       + LAMBDA * eye(r),
%
%   the regularized normal matrix of a weighted least-squares problem for
%   block b (for example one column of a matrix known at a few entries).
%
%   Inputs:
%     CHAT     double vector of length len: weight of triplet k (used
%              through sqrt(CHAT(k)), so weights must not be negative)
%     W        full real double m-by-r matrix; r is the order of every block
%     LAMBDA   numeric scalar, added to every diagonal element
%     I        uint32 vector of length len: 1-based row of W of triplet k,
%              1 <= I(k) <= m
%     J        uint32 vector of length len: 1-based block number of
%              triplet k, in ascending order
%     NBLOCKS  uint32 scalar: the number of blocks (and of output cells)
%   The length of a vector is its larger dimension; row and column vectors
%   may be mixed. No block may hold more than m triplets (distinct pairs
%   (I(k), J(k)) always satisfy this).
%
%   Output:
%     FACTORS  NBLOCKS-by-1 cell; cell b holds the r-by-r upper triangular
%              factor R (R'*R equals the matrix above) with exact zeros
%              below the diagonal. A block without triplets gets
%              sqrt(LAMBDA)*eye(r). The cell is what VANTRESK takes.
%
%   The triplets are consumed in one forward walk: a triplet whose J is
%   smaller than the block being built (unsorted J, or J = 0) stops the
%   walk, and it and every later triplet are left out; triplets with
%   J > NBLOCKS are never used.
%
%   Errors:
%     'Invalid number of input/output parameter. Need 6 inputs and 1 output.'
%         six inputs and exactly one output are required
%     'I, J and Chat must be vectors of the same length.'
%     'dpotrf (in delmirost): invalid argument.'
%     'dpotrf (in delmirost): a leading minor is not positive definite.'
%         a block's matrix is not positive definite, e.g. a block without
%         triplets when LAMBDA <= 0
%   Input it cannot read safely is refused:
%     'Chat and W must be full real double arrays.'
%     'I, J and nBlocks must be of class uint32.'
%     'nBlocks must not be empty.'
%     'I, J and Chat must hold as many elements as their length.'
%     'Row numbers in I must lie between 1 and the number of rows of W.'
%     'A block may hold at most as many triplets as W has rows.'
%   A W without columns gives 0-by-0 factors.
%   Octave puts the name of the plug-in before the message ('delmirost: ...').
%
%   Example:
%     W = [1 2; 3 4; 5 6];
%     F = delmirost([1 4 2], W, 0.5, uint32([1 2 3]), uint32([1 1 3]), uint32(3));
%     F{1}' * F{1}      % = W(1:2,:)' * diag([1 4]) * W(1:2,:) + 0.5*eye(2)
%     F{2}              % = sqrt(0.5) * eye(2): block 2 has no triplets
%
%   See also KORVANTHE, VANTRESK, ALSCOMPLETE.
