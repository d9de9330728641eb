function test_ombrelast()
  % ombrelast in Octave: values against the plain product at the same
  % positions (bit for bit), the shape of X, each message and its order,
  % and the refusals of positions outside A and B and of sparse factors.
  results = {};
  rand('seed', 3); randn('seed', 3);

  % Random factors and positions, in pattern order and in random order.
  m = 57; n = 41;
  for r = [1 2 5 10]
    A = randn(m, r); B = randn(r, n);
    [i, j] = find(sprand(m, n, 0.3));
    I = uint32(randi(m, 1003, 1)); J = uint32(randi(n, 1003, 1));
    results(end+1, :) = {sprintf('r = %d, pattern order', r), ...
        isequal(ombrelast(A, B, uint32(i), uint32(j)), plain(A, B, uint32(i), uint32(j)))};
    results(end+1, :) = {sprintf('r = %d, random order', r), ...
        isequal(ombrelast(A, B, I, J), plain(A, B, I, J))};
  end

  A = [1 10; 2 20; 3 30]; B = [1 2 3 4; 100 200 300 400];
  I = uint32([1 2 3; 3 2 2]); J = uint32([4 3 1; 1 3 3]);
  X = ombrelast(A, B, I, J);
  results(end+1, :) = {'X has the shape of I', isequal(size(X), [2 3])};
  results(end+1, :) = {'each value at its pair''s position', isequal(X, 1001 * double(I) .* double(J))};
  results(end+1, :) = {'repeated pairs give equal values', X(2, 2) == X(2, 3)};
  results(end+1, :) = {'0-by-3 positions give 0-by-3 X', ...
      isequal(size(ombrelast(A, B, zeros(0, 3, 'uint32'), zeros(0, 3, 'uint32'))), [0 3])};

  x = ombrelast(-1, 0, uint32(1), uint32(1));
  results(end+1, :) = {'-1 times 0 is negative zero', x == 0 && 1 / x == -Inf};
  x = ombrelast([1 1e16 -1e16], [1; 1; 1], uint32([1 1 1 1 1]), uint32([1 1 1 1 1]));
  results(end+1, :) = {'sum from the first product, left to right', isequal(x, zeros(1, 5))};
  x = ombrelast([-1, 1 + 2^-27], [1 + 2^-26; 1 + 2^-27], uint32([1 1 1 1 1]), uint32([1 1 1 1 1]));
  results(end+1, :) = {'each product rounded before it is added', isequal(x, zeros(1, 5))};
  x = ombrelast(zeros(3, 0), zeros(0, 2), uint32([1 3]), uint32([2 1]));
  results(end+1, :) = {'no inner dimension gives zeros', isequal(x, [0 0])};

  % Messages, in the order of the checks.
  u = uint32([1 1]);
  results(end+1, :) = expect_error('three inputs', @() ombrelast(1, 1, u), ...
      'Four input arguments are required.');
  results(end+1, :) = expect_error('no output requested', @() no_output(1, 1, u, u), ...
      'A single output argument is required.');
  results(end+1, :) = expect_error('two outputs requested', @() two_outputs(1, 1, u, u), ...
      'A single output argument is required.');
  results(end+1, :) = expect_error('double I before single A', @() ombrelast(single(1), 1, [1 1], u), ...
      'I and J must be of class UINT32.');
  results(end+1, :) = expect_error('int32 J', @() ombrelast(1, 1, u, int32([1 1])), ...
      'I and J must be of class UINT32.');
  results(end+1, :) = expect_error('single A', @() ombrelast(single(1), 1i, u, u), ...
      'A and B must be of class DOUBLE.');
  results(end+1, :) = expect_error('complex B', @() ombrelast(ones(5, 3), complex(ones(4, 2)), u, u'), ...
      'A and B must be REAL.');
  results(end+1, :) = expect_error('A 5-by-3, B 4-by-2', @() ombrelast(ones(5, 3), ones(4, 2), u, u'), ...
      'Matrix dimensions mismatch for A and B.');
  results(end+1, :) = expect_error('I 1-by-5, J 5-by-1', ...
      @() ombrelast(ones(5, 3), ones(3, 2), uint32(ones(1, 5)), uint32(ones(5, 1))), ...
      'Matrix dimensions mismatch for I and J.');

  % Our own refusals.
  A = ones(3, 2); B = ones(2, 4);
  rows = 'Row numbers in I must lie between 1 and the number of rows of A.';
  cols = 'Column numbers in J must lie between 1 and the number of columns of B.';
  results(end+1, :) = expect_error('row 0', @() ombrelast(A, B, uint32([1 0]), u), rows);
  results(end+1, :) = expect_error('row m + 1', @() ombrelast(A, B, uint32([1 2 3 4 1]), uint32(ones(1, 5))), rows);
  results(end+1, :) = expect_error('column 0', @() ombrelast(A, B, u, uint32([0 1])), cols);
  results(end+1, :) = expect_error('column n + 1', @() ombrelast(A, B, u, uint32([1 5])), cols);
  results(end+1, :) = expect_error('sparse A', @() ombrelast(sparse(A), B, u, u), ...
      'A and B must be full, not sparse.');
  results(end+1, :) = expect_error('sparse B', @() ombrelast(A, sparse(B), u, u), ...
      'A and B must be full, not sparse.');

  report_cases('test_ombrelast', results);
end

function X = plain(A, B, I, J)
  % The product at the positions, summed from left to right.
  X = reshape(sum(A(I, :) .* B(:, J).', 2), size(I));
end

function done = no_output(varargin)
  ombrelast(varargin{:});
  done = true;
end

function done = two_outputs(varargin)
  [x, y] = ombrelast(varargin{:});
  done = true;
end

function result = expect_error(name, f, message)
  got = raised('ombrelast', f, 1);
  result = {name, strcmp(got, message)};
  if ~result{2}
    printf('%s: got "%s"\n', name, got);
  end
end
