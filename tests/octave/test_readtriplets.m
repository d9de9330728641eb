function test_readtriplets ()
  % The triplet-file reader: both formats, the mapping of ids, malformed
  % lines reported with their numbers; and the demo run on such a file.
  passed = in_temp_dir (@run_cases);
  printf ('%d passed, 0 failed\n', passed);
end

function passed = run_cases (dir)
  passed = 0;

  % Separators of every kind, comments, blank lines, CRLF, a fourth field.
  f = write_file (dir, 'plain.txt', ...
                  ['% a comment\n', '10 3 1.5\n', '\n', '7,3,-2e-1\r\n', ...
                   '  10\t8   4 \n', '# another\n', '7 8 0\n']);
  [I, J, v, rows, cols] = readtriplets (f);
  assert (rows, [7; 10]);
  assert (cols, [3; 8]);
  assert ([I J v], [2 1 1.5; 1 1 -0.2; 2 2 4; 1 2 0]);
  assert (rows(I), [10; 7; 10; 7]);
  f = write_file (dir, 'four.csv', '1,2,3,99\n2,1,4,98\n');
  [I, J, v] = readtriplets (f);
  assert ([I J v], [1 2 3; 2 1 4]);
  passed += 1;

  % The rating format, with and without timestamps; sparse ids.
  f = write_file (dir, 'ratings.dat', '6040::3952::5::978300760\n1::1193::4::978300761\n6040::1::3::9\n');
  [I, J, v, users, items] = readtriplets (f);
  assert (users, [1; 6040]);
  assert (items, [1; 1193; 3952]);
  assert ([I J v], [2 3 5; 1 2 4; 2 1 3]);
  f = write_file (dir, 'short.dat', '3::4::2.5\n3::5::1\n');
  [I, J, v] = readtriplets (f);
  assert ([I J v], [1 1 2.5; 1 2 1]);
  passed += 1;

  % Values survive the round trip exactly.
  rand ('seed', 2);
  t = [randi(50, 200, 1), randi(40, 200, 1), randn(200, 1) * 1e3];
  fid = fopen (fullfile (dir, 'round.txt'), 'w');
  fprintf (fid, '%d %d %.17g\n', t');
  fclose (fid);
  [I, J, v, rows, cols] = readtriplets (fullfile (dir, 'round.txt'));
  assert ([rows(I), cols(J), v], t);
  passed += 1;

  % Decimal values read as str2double reads each one (the nearest double,
  % the sign of zero kept), in blocks read by the whole-number scan and in
  % a block where a point sits in an id; over several blocks, with LF and
  % CR-only line ends alike.
  forms = {'%.1f', '%.4f', '%.6f', '%.2f'};
  x = randn (40000, 1) .* 10 .^ randi ([-3 3], 40000, 1);
  text = cell (numel (x), 1);
  for k = 1:numel (x)
    text{k} = sprintf (forms{mod(k, numel (forms)) + 1}, x(k));
  end
  text(1:6) = {'.5', '5.', '-.25', '-0.0', '+1.50', '007.0100'};
  ids = [randi(300, numel (x), 1), randi(90, numel (x), 1)];
  want = [ids, str2double(text)];
  for k = 1:numel (x)
    text{k} = sprintf ('%d,%d,%s\n', ids(k, :), text{k});
  end
  body = [text{:}];
  for ends = {"\n", "\r"}
    f = write_file (dir, 'decimals.csv', '');
    fid = fopen (f, 'w');
    fprintf (fid, '%s', strrep ([repmat(body, 1, 6) sprintf('7 8 3\n1.5 2 3.25\n')], "\n", ends{1}));
    fclose (fid);
    [I, J, v, rows, cols] = readtriplets (f);
    assert (isequal ([rows(I), cols(J), v], [repmat(want, 6, 1); 7 8 3; 1.5 2 3.25]));
    assert (1 / v(4), -Inf);
  end
  [I, J, v] = readtriplets (write_file (dir, 'four.txt', '1 2 3.5 9.75\n2 1 -4.25 1.5e3\n'));
  assert ([I J v], [1 2 3.5; 2 1 -4.25]);
  passed += 1;

  % Malformed lines: the first one is named, counting every physical line.
  bad = {
    '1 2 3\n\n% c\n4 5\n',            'line 4: expected 3 fields'
    '1 2 3\n4 5 x\n',                  'line 2: not of the form "i j value"'
    '1 2 3\n4 5 3.5x\n',               'line 2: not of the form'
    '1 2 3\n4,,5\n',                   'line 2: '
    '1,2,3\n4,5,\n',                   'line 2: '
    '1,2,3\n4,5,,6\n',                 'line 2: not of the form'
    '1 2 3\n4 5 NaN\n',                'line 2: not of the form'
    '1 2 3\n4 5 6\n7 8 9 10\n',        'line 3: expected 3 fields'
    'user item rating\n1 2 3\n',       'line 1: not of the form'
    '1 2\n3 4\n',                      'line 1: expected 3 or 4 fields'
    '1::2::3::4\n1 2 3 4\n',           'line 2: not of the form "user::item::rating::timestamp"'
    '1::2::3::4\n1:2::3::4::5\n',      'line 2: not of the form'
    '1::2::3::4\n5::6::7\n',           'line 2: expected 4 fields'
    '1 2 3\n1::2::3\n',                'line 2: expected 3 fields'
    '1 2 1e999\n',                     'line 1: ids and value must be finite'
    '% only a comment\n\n',            'holds no data lines'
    '',                                'holds no data lines'
  };
  for k = 1:size (bad, 1)
    f = write_file (dir, sprintf ('bad%d.txt', k), bad{k, 1});
    try
      readtriplets (f);
    catch err
      assert (err.identifier, 'readtriplets:malformed');
      if isempty (strfind (err.message, bad{k, 2}))
        error ('case %d: message "%s" lacks "%s"', k, err.message, bad{k, 2});
      end
      continue;
    end
    error ('case %d: no error for a malformed file', k);
  end
  try
    readtriplets (fullfile (dir, 'missing.txt'));
    error ('no error for a missing file');
  catch err
    assert (err.identifier, 'readtriplets:open');
  end
  passed += 1;

  % The demo on a small rating file, where some pairs are rated twice: a
  % fit that beats the mean, and with the compiled kernels on the path, the
  % two backends agree.
  randn ('seed', 8); rand ('seed', 8);
  A = 3 + randn (40, 2) * randn (2, 30) / 2;
  [i, j] = find (rand (40, 30) < 0.6);
  fid = fopen (fullfile (dir, 'small.dat'), 'w');
  rated = [100 + i, 7 * j, A(sub2ind ([40 30], i, j))];
  fprintf (fid, '%d::%d::%.6f::0\n', [rated; rated(1:20, :)]');
  fclose (fid);
  evalc ('res = alsdemo (fullfile (dir, ''small.dat''), ''rank'', 2, ''sweeps'', 30, ''lambda'', 0.01);');
  assert (res.hist.sweeps >= 1);
  assert (res.hist.rmse_heldout(end) < 0.05);
  if isfield (res, 'plain')
    assert (res.maxdiff < 1e-8);
  end
  passed += 1;
end

function f = write_file (dir, name, content)
  f = fullfile (dir, name);
  fid = fopen (f, 'w');
  if ~isempty (content)
    fprintf (fid, strrep (content, '%', '%%'));
  end
  fclose (fid);
end
