function test_vantresk()
%TEST_VANTRESK  vantresk in Octave: messages and their order, the cell in
%   column-major order, agreement with the per-column U \ (U' \ y) loop, the
%   refusals of inputs outside the data model, and the round trip from both
%   block builders to the normal equations. Errors out at the first failure.

kInputs = 'Two input arguments required.';
kOutputs = 'Single output argument required.';
kCell = 'VANTRESK: R must be a cell containing m upper triangular matrices of size n-be-n.';
kDims = 'VANTRESK: inconsistent matrix / cell dimensions.';
kY = 'VANTRESK: Y must be a full real double matrix.';
kElement = 'VANTRESK: the elements of R must be full real double matrices.';

R2 = {eye(2), 2 * eye(2)};
Y2 = [1 2; 3 4];

% Counts: inputs, then outputs.
expect_message('vantresk', @() vantresk(R2, Y2, Y2), 1, kInputs);
expect_message('vantresk', @() vantresk(R2), 1, kInputs);
expect_message('vantresk', @() vantresk(R2), 0, kInputs);
expect_message('vantresk', @() vantresk(R2, Y2), 0, kOutputs);
expect_message('vantresk', @() vantresk(R2, Y2), 2, kOutputs);

% R must be a cell, tested before any dimension.
expect_message('vantresk', @() vantresk(eye(2), Y2), 1, kCell);
expect_message('vantresk', @() vantresk([], zeros(2, 0)), 1, kCell);
expect_message('vantresk', @() vantresk(7, 1), 1, kCell);

% Dimensions of Y and the element count of R.
expect_message('vantresk', @() vantresk({}, zeros(3, 0)), 1, kDims);
expect_message('vantresk', @() vantresk({}, zeros(0, 2)), 1, kDims);
expect_message('vantresk', @() vantresk({[], []}, zeros(0, 2)), 1, kDims);
expect_message('vantresk', @() vantresk({eye(2)}, Y2), 1, kDims);
expect_message('vantresk', @() vantresk({eye(2), eye(2), eye(2)}, Y2), 1, kDims);

% n = m = 1: y / u^2.
check(vantresk({2}, 10) == 2.5, 'n = m = 1');

% Identity factors return Y exactly.
Y = [1 -2 3.5; 0 1e300 -0; 7 8 9];
Z = vantresk({eye(3), eye(3), eye(3)}, Y);
check(isequal(Z, Y) && isa(Z, 'double') && isreal(Z) && ~issparse(Z), 'identity factors');

% A cell of any shape: element k in column-major order serves column k.
rand('seed', 5); randn('seed', 5);
n = 4;
R = cell(2, 3);
for k = 1:6
  R{k} = triu(randn(n)) + 3 * eye(n);
end
Y = randn(n, 6);
Z = vantresk(R, Y);
for k = 1:6
  U = R{k};
  check(norm(U' * U * Z(:, k) - Y(:, k)) <= 1e-12 * (1 + norm(Y(:, k))), ...
        sprintf('2-by-3 cell, column %d', k));
end

% Garbage (NaN included) below the diagonal is never read.
G = R;
for k = 1:6
  G{k} = R{k} + tril(1e3 * randn(n), -1);
end
G{2}(2, 1) = NaN;
check(isequal(vantresk(G, Y), Z), 'garbage below the diagonal');

% Wrong-sized elements; a late one after columns were solved: no output.
for shape = {[2 3], [3 2], [3 3], [1 1], [0 0], [1 4]}
  s = shape{1};
  expect_message('vantresk', @() vantresk({eye(2), zeros(s)}, Y2), 1, kDims);
end
clear Zlate
try
  Zlate = vantresk({2 * eye(2), 2 * eye(2), zeros(3), 2 * eye(2)}, [1 2 3 4; 5 6 7 8]);
catch err
  check(strcmp(raised('vantresk', @() error(err.message), 0), kDims), 'late wrong size: the dimension message');
end
check(~exist('Zlate', 'var'), 'late wrong size: no output');

% A zero on a factor's diagonal raises nothing.
Z = vantresk({[1 0; 0 0], eye(2)}, [1 3; 1 4]);
check(isequal(Z(:, 2), [3; 4]), 'zero diagonal: no error, next column solved');

% Against the per-column plain loop on factors of order 10.
m = 200; n = 10;
R = cell(m, 1);
for k = 1:m
  R{k} = chol(gallery('minij', n) + k * eye(n));
end
Y = randn(n, m);
Z = vantresk(R, Y);
P = zeros(n, m);
for k = 1:m
  U = triu(R{k});
  P(:, k) = U \ (U' \ Y(:, k));
end
check(norm(Z - P, 1) <= 1e-12 * norm(P, 1), 'agrees with U \ (U'' \ y)');

% Refusals of inputs outside the data model, after the kernel's fixed checks.
expect_message('vantresk', @() vantresk(R2, single(Y2)), 1, kY);
expect_message('vantresk', @() vantresk(R2, sparse(Y2)), 1, kY);
expect_message('vantresk', @() vantresk(R2, complex(Y2, 0)), 1, kY);
expect_message('vantresk', @() vantresk(R2, Y2 > 2), 1, kY);
expect_message('vantresk', @() vantresk(R2, ['ab'; 'cd']), 1, kY);
expect_message('vantresk', @() vantresk(R2, int32(Y2)), 1, kY);
expect_message('vantresk', @() vantresk(R2, num2cell(Y2)), 1, kY);
expect_message('vantresk', @() vantresk(R2, single(ones(2, 3))), 1, kDims);   % the size test first
expect_message('vantresk', @() vantresk(eye(2), single(Y2)), 1, kCell);
for bad = {single(eye(2)), sparse(eye(2)), complex(eye(2), 0), ['ab'; 'cd'], ...
           repmat(struct(), 2, 2), true(2), int32(eye(2)), {1 2; 3 4}}
  expect_message('vantresk', @() vantresk({eye(2), bad{1}}, Y2), 1, kElement);
end
% An empty element, or a wrong-sized one of another class, gets the
% dimension message: the size is tested first. cell(2, 1) holds empty
% elements in Octave.
expect_message('vantresk', @() vantresk(cell(2, 1), Y2), 1, kDims);
expect_message('vantresk', @() vantresk({eye(2), single([])}, Y2), 1, kDims);
expect_message('vantresk', @() vantresk({eye(2), 'abc'}, Y2), 1, kDims);

% Round trip: the factors of korvanthe and of delmirost solve the normal
% equations (sum of weighted outer products + lambda I) z = y.
m = 30; r = 5; n = 12; lambda = 0.2;
W = randn(m, r);
Ct = sprandn(m, n, 0.25);
Ct(:, 4) = 0;
F = korvanthe(Ct, W, lambda);
Y = randn(r, n);
Z = vantresk(F, Y);
for l = 1:n
  [i, ~, c] = find(Ct(:, l));
  G = c .* W(i, :);
  A = G' * G + lambda * eye(r);
  check(norm(A * Z(:, l) - Y(:, l)) <= 1e-10 * (1 + norm(Y(:, l))), ...
        sprintf('round trip with korvanthe, column %d', l));
end

blocks = 6;
I = []; J = []; Chat = [];
for b = [1 2 4 5 6]                       % block 3 stays empty
  rows = (1:b:m)';
  I = [I; rows]; J = [J; b * ones(size(rows))]; Chat = [Chat; 0.5 + rand(size(rows))];
end
F = delmirost(Chat, W, lambda, uint32(I), uint32(J), uint32(blocks));
Y = randn(r, blocks);
Z = vantresk(F, Y);
for b = 1:blocks
  sel = J == b;
  G = sqrt(Chat(sel)) .* W(I(sel), :);
  A = G' * G + lambda * eye(r);
  check(norm(A * Z(:, b) - Y(:, b)) <= 1e-10 * (1 + norm(Y(:, b))), ...
        sprintf('round trip with delmirost, block %d', b));
end

printf('test_vantresk: all checks passed\n');
end

function check(ok, what)
if ~ok
  error('test_vantresk: failed: %s', what);
end
end
