function test_nzoverwrite()
  % nzoverwrite in Octave: the caller's own M takes the new values, in
  % storage order and up to its capacity, its pattern stays; each message and
  % its order, and the refusals of missing inputs and a sparse X.
  results = {};
  [i, j] = deal([1 3 2 3]', [1 1 2 3]');
  M0 = sparse(i, j, [1 2 3 4]', 3, 3);

  M = sparse(i, j, [1 2 3 4]', 3, 3);  % a matrix of its own
  nzoverwrite(M, [5 6 7 8]);
  results(end+1, :) = {'the caller''s M takes every value', isequal(M, sparse(i, j, [5 6 7 8]', 3, 3))};
  nzoverwrite(M, [9; 10]);
  results(end+1, :) = {'fewer values replace the first ones', isequal(nonzeros(M), [9 10 7 8]')};
  nzoverwrite(M, []);
  results(end+1, :) = {'an empty X changes nothing', isequal(nonzeros(M), [9 10 7 8]')};
  nzoverwrite(M, [1 2; 3 4]);
  results(end+1, :) = {'the shape of X does not matter', isequal(nonzeros(M), [1 3 2 4]')};
  nzoverwrite(M, 5:8);
  results(end+1, :) = {'a range as X', isequal(nonzeros(M), [5 6 7 8]')};
  nzoverwrite(M, [1 0 2 3]);
  results(end+1, :) = {'a zero stays in the pattern', nnz(M) == 4 && M(3, 1) == 0 && ...
      isequal(full(M), full(sparse(i, j, [1 0 2 3]', 3, 3)))};

  % Octave shares the data of copies made with = until one is changed:
  % such copies, and arguments passed on to a function, see the new values.
  M = sparse(i, j, [1 2 3 4]', 3, 3);
  C = M;
  overwrite_in_function(M, [4 3 2 1]);
  results(end+1, :) = {'through a function argument', isequal(nonzeros(M), [4 3 2 1]')};
  results(end+1, :) = {'a copy sharing the data sees it too', isequal(C, M)};
  results(end+1, :) = {'a matrix of its own does not', isequal(nonzeros(M0), [1 2 3 4]')};

  % Spare room: values past the entries in use are not shown.
  S = spalloc(3, 3, 5);
  S(1, 1) = 1; S(3, 1) = 2; S(2, 3) = 3;
  results(end+1, :) = {'spalloc leaves spare room', nzmax(S) == 5};
  nzoverwrite(S, [7 8 9 10 11]);
  results(end+1, :) = {'values past the entries in use stay hidden', ...
      isequal(S, sparse([1 3 2], [1 1 3], [7 8 9], 3, 3))};

  M = sparse(i, j, [1 2 3 4]', 3, 3);
  results(end+1, :) = expect_error('more values than room', @() nzoverwrite(M, 1:5), ...
      'M must be able to contain at least as many elements as X.');
  results(end+1, :) = {'a refused call leaves M unchanged', isequal(M, M0)};
  results(end+1, :) = expect_error('sparse logical M', @() nzoverwrite(M0 > 0, 1), ...
      'M and X must be of type DOUBLE.');
  results(end+1, :) = expect_error('single X', @() nzoverwrite(M, single(1)), ...
      'M and X must be of type DOUBLE.');
  results(end+1, :) = expect_error('full single M', @() nzoverwrite(single(full(M)), 1), ...
      'M and X must be of type DOUBLE.');
  results(end+1, :) = expect_error('full double M', @() nzoverwrite(full(M), 1), ...
      'M must be sparse.');
  results(end+1, :) = expect_error('one input', @() nzoverwrite(M), ...
      'Two input arguments, M and X, are required.');
  results(end+1, :) = expect_error('sparse X', @() nzoverwrite(M, sparse([1 0 2])), ...
      'X must be a full array, not sparse.');
  results(end+1, :) = {'refusals leave M unchanged', isequal(M, M0)};
  % A host may hand the kernel a copy of a complex M's real part, and the
  % new values would be lost; the call is refused instead, and M kept.
  Mc = M + 1i * M;
  Mc0 = Mc;
  results(end+1, :) = expect_error('complex M', @() nzoverwrite(Mc, [1 2]), ...
      'M must be real: a complex M cannot be written in place.');
  results(end+1, :) = {'complex M unchanged', isequal(Mc, Mc0)};

  y = nzoverwrite_with_output(M, [4 4 4 4]);
  results(end+1, :) = {'an output request is not refused', isequal(nonzeros(M), [4 4 4 4]')};

  report_cases('test_nzoverwrite', results);
end

function overwrite_in_function(M, X)
  nzoverwrite(M, X);
end

function y = nzoverwrite_with_output(M, X)
  % The kernel runs and returns nothing; Octave then finds no value to
  % assign, an error of its own after the call.
  y = [];
  try
    y = nzoverwrite(M, X);
  catch err
    if ~strcmp(err.message, 'value on right hand side of assignment is undefined')
      rethrow(err);
    end
  end
end

function result = expect_error(name, f, message)
  got = raised('nzoverwrite', f, 0);
  result = {name, strcmp(got, message)};
  if ~result{2}
    printf('%s: got "%s"\n', name, got);
  end
end
