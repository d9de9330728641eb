function test_delmirost ()
  % delmirost in Octave: factors against a plain-Octave reference, the
  % messages as Octave shows them, and the refusals of unsafe input.
  passed = 0;

  % A random problem with empty blocks, repeated rows and a block as large as W.
  rand ('seed', 3); randn ('seed', 3);
  m = 30; r = 4; nb = 12; lambda = 0.3;
  W = randn (m, r);
  J = []; I = [];
  for b = [1 2 2 4 5 5 5 9 12]
    k = randi (m, 1, 3);
    J = [J, b * ones(1, 3)]; I = [I, k];
  end
  J = [J, 7 * ones(1, m)]; I = [I, 1:m];
  [J, order] = sort (J); I = I(order);
  Chat = 0.5 + rand (size (I));
  F = delmirost (Chat(:), W, lambda, uint32 (I), uint32 (J(:)), uint32 (nb));
  assert (iscell (F) && isequal (size (F), [nb 1]));
  for b = 1:nb
    sel = (J == b);
    G = bsxfun (@times, sqrt (Chat(sel))', W(I(sel), :));
    R = chol (G' * G + lambda * eye (r));
    assert (F{b}, R, 1e-12 * norm (R, 1));
    assert (all (F{b}(logical (tril (ones (r), -1))) == 0));
  end
  passed += 1;

  % The worked example of a 2-by-2 factor.
  F = delmirost ([1 1], [1 2; 3 4], 0, uint32 ([1 2]), uint32 ([1 1]), uint32 (1));
  assert (F{1}, [sqrt(10), 14/sqrt(10); 0, sqrt(0.4)], 1e-14);
  passed += 1;

  % No blocks: an empty column cell; no triplets: the regularizer alone.
  F = delmirost ([], W, lambda, uint32 ([]), uint32 ([]), uint32 (0));
  assert (iscell (F) && isequal (size (F), [0 1]));
  F = delmirost ([], zeros (5, 2), 4, uint32 ([]), uint32 ([]), uint32 (3));
  assert (isequal (F, repmat ({2 * eye(2)}, 3, 1)));
  passed += 1;

  % The kernel's own messages, and ours for input it cannot read safely.
  x = uint32 (1);
  expect_error (@() delmirost (1, W, 1, x, x), ...
                'Invalid number of input/output parameter. Need 6 inputs and 1 output.');
  expect_error (@() delmirost ([1 1], W, 1, x, x, x), ...
                'I, J and Chat must be vectors of the same length.');
  expect_error (@() delmirost ([], W, 0, uint32 ([]), uint32 ([]), x), ...
                'dpotrf (in delmirost): a leading minor is not positive definite.');
  expect_error (@() delmirost (single (1), W, 1, x, x, x), ...
                'Chat and W must be full real double arrays.');
  expect_error (@() delmirost (1, sparse (W), 1, x, x, x), ...
                'Chat and W must be full real double arrays.');
  expect_error (@() delmirost (1, W, 1, 1, x, x), ...
                'I, J and nBlocks must be of class uint32.');
  expect_error (@() delmirost (1, W, 1, x, x, 1), ...
                'I, J and nBlocks must be of class uint32.');
  expect_error (@() delmirost (1, W, 1, x, x, uint32 ([])), ...
                'nBlocks must not be empty.');
  expect_error (@() delmirost (1, W, 1, uint32 (m + 1), x, x), ...
                'Row numbers in I must lie between 1 and the number of rows of W.');
  expect_error (@() delmirost (1, W, 1, uint32 (0), x, x), ...
                'Row numbers in I must lie between 1 and the number of rows of W.');
  expect_error (@() delmirost (ones (1, 3), W(1:2, :), 1, uint32 ([1 2 1]), uint32 ([1 1 1]), x), ...
                'A block may hold at most as many triplets as W has rows.');
  passed += 1;

  printf ('%d passed, 0 failed\n', passed);
end

function expect_error (f, message)
  assert (raised ('delmirost', f), message);
end
