function test_korvanthe()
%TEST_KORVANTHE  korvanthe in Octave: messages and their order, the worked
%   worked example to 12 significant digits, edge cases, agreement with
%   the plain-Octave equivalent, and the refusals of inputs outside the data
%   model. Errors out at the first failure.

kCount = 'Invalid number of input/output parameter. Need 3 inputs and 1 output.';
kDims = 'Dimensions mismatch in input arguments.';
kSparse = 'Ct ought to be a sparse matrix.';
kNotPD = 'dpotrf (in korvanthe): a leading minor is not positive definite.';
kCt = 'Ct must be a sparse matrix of real doubles.';
kW = 'W must be a full real double matrix.';
kLambda = 'lambda must be a real numeric scalar.';

W42 = [1 2; 3 4; -2 1; 0.5 -1];
Ct42 = sparse([1 4 2], [1 1 3], [1 2 3], 4, 3);

% Counts come first.
expect_message('korvanthe', @() korvanthe(Ct42, W42, 1), 0, kCount);
expect_message('korvanthe', @() korvanthe(Ct42, W42, 1), 2, kCount);
expect_message('korvanthe', @() korvanthe(Ct42, W42), 1, kCount);
expect_message('korvanthe', @() korvanthe(Ct42, W42, 1, 1), 1, kCount);
expect_message('korvanthe', @() korvanthe('x', single(1), {}), 0, kCount);

% Dimensions before sparsity; only row counts are compared.
expect_message('korvanthe', @() korvanthe(zeros(3, 5), W42, 1), 1, kDims);
expect_message('korvanthe', @() korvanthe(zeros(4, 5), W42, 1), 1, kSparse);
expect_message('korvanthe', @() korvanthe(sparse(5, 2), W42, 1), 1, kDims);
expect_message('korvanthe', @() korvanthe(sparse(3, 0), zeros(4, 0), 1), 1, kDims);
F = korvanthe(sparse(4, 3), W42, 1);
check(iscell(F) && isequal(size(F), [3 1]), 'n and r are free');

% The worked example, to 12 significant digits.
W = [1 2; 3 4; 5 6];
Ct = sparse([1 3], [1 1], [2 -1], 3, 2);
F = korvanthe(Ct, W, 0.5);
check(iscell(F) && isequal(size(F), [2 1]), 'worked example: a 2-by-1 cell');
check(isa(F{1}, 'double') && isreal(F{1}) && ~issparse(F{1}), 'worked example: full real double');
expect_digits(F{1}(1, 1), 5.43139024560);
expect_digits(F{1}(1, 2), 6.99636709603);
expect_digits(F{1}(2, 2), 1.88436924663);
check(F{1}(2, 1) == 0 && ~signbit(F{1}(2, 1)), 'worked example: +0 below the diagonal');
expect_digits(F{2}(1, 1), 0.707106781187);
expect_digits(F{2}(2, 2), 0.707106781187);
check(F{2}(1, 2) == 0 && F{2}(2, 1) == 0, 'worked example: empty column off the diagonal');

% Empty columns.
F = korvanthe(sparse(3, 1, 1.5, 4, 3), W42, 4);
check(isequal(F{2}, 2 * eye(2)) && isequal(F{3}, 2 * eye(2)), 'empty columns: sqrt(lambda) I');
expect_message('korvanthe', @() korvanthe(sparse(3, 1, 1.5, 4, 3), W42, 0), 1, kNotPD);
expect_message('korvanthe', @() korvanthe(sparse(3, 1, 1.5, 4, 3), W42, -1), 1, kNotPD);

% Ct without columns: the 0-by-1 cell, no factorization (lambda 0 would fail).
F = korvanthe(sparse(4, 0), W42, 0);
check(iscell(F) && isequal(size(F), [0 1]), 'm-by-0 Ct: 0-by-1 cell');

% m = 0: every column is empty.
F = korvanthe(sparse(0, 3), zeros(0, 3), 9);
check(isequal(size(F), [3 1]), 'm = 0: three cells');
for l = 1:3
  check(isequal(F{l}, 3 * eye(3)), 'm = 0: sqrt(lambda) I');
end

% r = 1.
F = korvanthe(sparse([1 3 2], [1 1 2], [3 0.5 -4], 3, 2), [2; -1; 5], 1);
check(abs(F{1} - sqrt(1 + 36 + 6.25)) <= 4 * eps(F{1}), 'r = 1, column 1');
check(abs(F{2} - sqrt(1 + 16)) <= 4 * eps(F{2}), 'r = 1, column 2');

% Negative values give the block of their absolute values. (A stored 0
% cannot be made here: Octave drops explicit zeros; the unit tests cover it.)
Fn = korvanthe(sparse([1 2 4], [1 1 1], [-2 0.5 -3], 4, 1), W42, 0.5);
Fp = korvanthe(sparse([1 2 4], [1 1 1], [2 0.5 3], 4, 1), W42, 0.5);
check(isequal(Fn, Fp), 'negative values enter squared');

% Agreement with the plain equivalent, and columns independent of the
% columns before them (long columns first, then short ones).
rand('seed', 3); randn('seed', 3);
m = 40; r = 6; n = 25;
W = randn(m, r);
Ct = sprandn(m, n, 0.3);
Ct(:, 1) = randn(m, 1);                 % a full-length column first
Ct(:, 5) = 0;                           % and an empty one
F = korvanthe(Ct, W, 0.3);
P = plain(Ct, W, 0.3);
for l = 1:n
  check(isequal(size(F{l}), [r r]), 'random: r-by-r blocks');
  check(all(all(tril(F{l}, -1) == 0)), 'random: zero below the diagonal');
  check(norm(F{l} - P{l}, 1) <= 1e-12 * (1 + norm(P{l}, 1)), sprintf('random: column %d', l));
  A = korvanthe(Ct(:, l), W, 0.3);
  check(isequal(A{1}, F{l}), sprintf('column %d alone gives the same bits', l));
end

% A W without columns: 0-by-0 factors and no factorization, as delmirost.
for lambda = [0 -1 2]
  F = korvanthe(sparse([1 4 2], [1 1 3], [1 2 3], 4, 3), zeros(4, 0), lambda);
  check(isequal(size(F), [3 1]), 'r = 0: three cells');
  for l = 1:3
    check(isa(F{l}, 'double') && isequal(size(F{l}), [0 0]), 'r = 0: 0-by-0 factors');
  end
end
F = delmirost(1, zeros(4, 0), 0, uint32(1), uint32(1), uint32(1));
check(isequal(size(F{1}), [0 0]), 'r = 0: delmirost alike');

% A W whose r-by-r blocks cannot exist is refused before any is made: Octave
% would let their byte count wrap round and hand out too little room.
kHuge = 'W has too many columns: its r-by-r factor blocks cannot exist.';
for r = [2^31 2^40]
  expect_message('korvanthe', @() korvanthe(sparse(0, 2), zeros(0, r), 1), 1, kHuge);
  expect_message('delmirost', @() delmirost([], zeros(0, r), 1, uint32([]), uint32([]), ...
                                            uint32(1)), 1, kHuge);
end
check(isequal(size(korvanthe(sparse(0, 0), zeros(0, 2^40), 1)), [0 1]), 'no column, no block');

% Refusals of inputs outside the data model, after the kernel's fixed checks.
expect_message('korvanthe', @() korvanthe(sparse(logical([1 0; 0 0; 0 0; 0 1])), W42, 1), 1, kCt);
expect_message('korvanthe', @() korvanthe(sparse([1i 0; 0 0; 0 0; 0 1]), W42, 1), 1, kCt);
expect_message('korvanthe', @() korvanthe(Ct42, single(W42), 1), 1, kW);
expect_message('korvanthe', @() korvanthe(Ct42, sparse(W42), 1), 1, kW);
expect_message('korvanthe', @() korvanthe(Ct42, complex(W42, 0), 1), 1, kW);
expect_message('korvanthe', @() korvanthe(Ct42, int32(W42), 1), 1, kW);
expect_message('korvanthe', @() korvanthe(Ct42, W42 > 0, 1), 1, kW);
expect_message('korvanthe', @() korvanthe(Ct42, ['ab'; 'cd'; 'ef'; 'gh'], 1), 1, kW);
expect_message('korvanthe', @() korvanthe(Ct42, num2cell(W42), 1), 1, kW);
expect_message('korvanthe', @() korvanthe(Ct42, W42, [1 1]), 1, kLambda);
expect_message('korvanthe', @() korvanthe(Ct42, W42, []), 1, kLambda);
expect_message('korvanthe', @() korvanthe(Ct42, W42, complex(1, 0)), 1, kLambda);
expect_message('korvanthe', @() korvanthe(Ct42, W42, 'a'), 1, kLambda);
expect_message('korvanthe', @() korvanthe(Ct42, W42, true), 1, kLambda);
expect_message('korvanthe', @() korvanthe(Ct42, W42, {1}), 1, kLambda);
expect_message('korvanthe', @() korvanthe(Ct42, W42, struct('a', 1)), 1, kLambda);
% Any real numeric scalar is a lambda.
F = korvanthe(Ct42, W42, 2);
check(isequal(korvanthe(Ct42, W42, int8(2)), F), 'int8 lambda');
check(isequal(korvanthe(Ct42, W42, single(2)), F), 'single lambda');
check(isequal(korvanthe(Ct42, W42, sparse(2)), F), 'sparse lambda');
% Order: counts, dimensions, sparsity, then the values of Ct, W, lambda.
expect_message('korvanthe', @() korvanthe(sparse(true(3, 2)), single(W42), []), 1, kDims);
expect_message('korvanthe', @() korvanthe(single(zeros(4, 2)), single(W42), []), 1, kSparse);
expect_message('korvanthe', @() korvanthe(sparse(true(4, 2)), single(W42), []), 1, kCt);
expect_message('korvanthe', @() korvanthe(Ct42, single(W42), []), 1, kW);

printf('test_korvanthe: all checks passed\n');
end

function P = plain(Ct, W, lambda)
% Vectorized gather, then one chol per column.
[i, l, c] = find(Ct);
n = size(Ct, 2);
r = size(W, 2);
G = c(:) .* W(i(:), :);
counts = accumarray(l(:), 1, [n 1]);
last = cumsum(counts);
first = last - counts + 1;
P = cell(n, 1);
for b = 1:n
  Gb = G(first(b):last(b), :);
  P{b} = chol(Gb' * Gb + lambda * eye(r));
end
end

function check(ok, what)
if ~ok
  error('test_korvanthe: failed: %s', what);
end
end

function expect_digits(got, want)
% got, rounded to 12 significant digits, is the value of the worked example.
check(str2double(sprintf('%.12g', got)) == str2double(sprintf('%.12g', want)), ...
      sprintf('%.15g is not %.12g to 12 significant digits', got, want));
end
