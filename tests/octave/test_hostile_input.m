function test_hostile_input()
  % Careless and hostile input to the public functions: each refusal with
  % the function's own identifier and a message naming the mistake; where
  % a result comes back, it is checked against a plain dense computation.
  results = in_temp_dir(@(dir) [refusals(dir); baseline_exact(); topk_beyond_columns(); ...
                                 extreme_lambdas(); thin_start(); reader_results(dir)]);
  report_cases('test_hostile_input', results);
end

function results = refusals(dir)
  % One case per distinct fault: {call, identifier, text the message holds}.
  rand('seed', 1); randn('seed', 1);
  m = 30; n = 20;
  [I, J] = find(sprand(m, n, 0.3) ~= 0);
  v = 3 + randn(numel(I), 1);
  pop = alspopularity(I, J, m, n);
  good = alsbaseline(I, J, v, m, n);
  bad_mean = good; bad_mean.mean = 'a';
  bad_bias = good; bad_bias.rowBias = zeros(m - 1, 1);
  bad_u = good; bad_u.U = complex(zeros(m, 0));
  few = [I(1); I(1)]; fewJ = [1; 2];   % row I(1) with two entries
  w = ones(size(v));
  cases = {
    % alscomplete
    @() alscomplete(I, J, v),                                        'alscomplete:input', 'at least five arguments'
    @() alscomplete(I, J, v, m, n, 'lambda', 1e-12, 'rank', 5),      'alscomplete:input', 'needs lambda >='
    @() alscomplete(I, J, v * 1e200, m, n),                          'alscomplete:input', 'values are out of range'
    @() alscomplete(I, J, v, m, n, 'weights', w * 1e200),            'alscomplete:input', 'weights up to 1e+200'
    @() alscomplete(I, J, v, m, n, 'weights', [1e16; w(2:end)]),     'alscomplete:input', 'range the fit cannot resolve'
    @() alscomplete(I, J, v, m, n, 'rank', 2, 'U0', 1e200 * ones(m, 2)), 'alscomplete:input', 'U0'
    @() alscomplete(I, J, abs(v), m, n, 'feedback', 'implicit', 'alpha', 1e200), 'alscomplete:input', 'alpha * max(vals)'
    @() alscomplete(I, J, v, m, n, 'lambda', 1e200),                 'alscomplete:input', 'at most 1e100'
    @() alscomplete(I, J, v, m, n, 'verbose', []),                   'alscomplete:input', 'verbose must be true or false'
    @() alscomplete(I, J, v, m, n, 'biases', 'yes'),                 'alscomplete:input', 'biases must be true or false'
    % alsbaseline
    @() alsbaseline(I, J, v),                                        'alsbaseline:input', 'expected alsbaseline'
    @() alsbaseline(I, J, v + 1i, m, n),                             'alsbaseline:input', 'real numeric'
    @() alsbaseline(I, J, v, m + 1i, n),                             'alsbaseline:input', 'm must be'
    @() alsbaseline(I, J, v, m, n, 'lambda', -1),                    'alsbaseline:input', 'lambda'
    @() alsbaseline(I, J, v, m, n, 'lamda', 1),                      'alsbaseline:input', 'unknown option'
    @() alsbaseline(I, J, v, 2^32 - 1, n),                           'alsbaseline:memory', 'GB of memory'
    % alspredict
    @() alspredict(bad_mean, 1, 1),                                  'alspredict:input', 'model.mean'
    @() alspredict(bad_bias, 1, 1),                                  'alspredict:input', 'model.rowBias'
    @() alspredict(bad_u, 1, 1),                                     'alspredict:input', 'real numeric'
    @() alspredict(struct('U', 1), 1, 1),                           'alspredict:input', 'lacks the field'
    % alsrecommend, alsrankmetrics, alspopularity
    @() alsrecommend(pop),                                           'alsrecommend:input', 'expected alsrecommend'
    @() alsrecommend(pop, ':', 1e12),                                'alsrecommend:memory', 'lists of 1000000000000 columns'
    @() alsrecommend(pop, 1, 3, 'exclude', NaN),                     'alsrecommend:input', 'exclude must be true or false'
    @() alsrankmetrics(pop, I, J, 3, 'blockrows', 0),                'alsrankmetrics:input', 'blockrows'
    @() alspopularity(I, J),                                         'alspopularity:input', 'expected alspopularity'
    % alsdemo: options checked before anything runs
    @() alsdemo([], 'compare', 'no'),                                'alsdemo:input', 'compare must be true or false'
    @() alsdemo([], 'threshold', '4', 'feedback', 'implicit'),       'alsdemo:input', 'threshold must be a finite number'
    @() alsdemo([], 'noise', -0.1),                                  'alsdemo:input', 'noise must be'
    @() alsdemo([], 'heldout', {1, 1, 1}),                           'alsdemo:input', '''heldout'' is set by the demo'
    @() alsdemo([], 'size', [10 0]),                                 'alsdemo:input', 'size must be'
    @() alsdemo([], 'truerank', 30, 'size', [20 20]),                'alsdemo:input', 'truerank must be an integer in 1..20'
    @() alsdemo([], 'size', [1e9 1e9]),                              'alsdemo:memory', 'synthetic'
    @() alsdemo(7),                                                  'alsdemo:input', 'PATH must be a file name'
    @() alsdemo([], 'rank', 0, 'size', [1e5 1e5]),                   'alsdemo:input', 'rank must be'
    % readtriplets
    @() readtriplets(),                                              'readtriplets:input', 'expected one argument'
    @() readtriplets(dir),                                           'readtriplets:open', 'it is a folder'
    @() readtriplets('/dev/zero'),                                   'readtriplets:malformed', 'NUL byte'
  };
  results = cell(rows(cases), 2);
  for k = 1:rows(cases)
    [id, msg] = caught(cases{k, 1});
    results{k, 1} = sprintf('refusal %d(%s): got %s "%s"', k, cases{k, 2}, id, msg);
    results{k, 2} = strcmp(id, cases{k, 2}) && ~isempty(strfind(msg, cases{k, 3}));
  end
end

function results = baseline_exact()
  % The bias baseline against the dense normal equations, at lambda 0(only
  % row + column sums are determined: compare predictions) and at small
  % and moderate lambda, on rating-like data with an empty row and column.
  rand('seed', 4); randn('seed', 4);
  m = 40; n = 25;
  [I, J] = find(sprand(m, n, 0.25) ~= 0);
  keep = I ~= 7 & J ~= 3;
  I = I(keep); J = J(keep);
  v = min(max(round(3 + randn(numel(I), 1) + 0.8 * randn(m, 1)(I)), 1), 5);
  results = cell(0, 2);
  for lambda = [0 1 10]
    model = alsbaseline(I, J, v, m, n, 'lambda', lambda);
    C = sparse(I, J, 1, m, n);
    r = v - mean(v);
    A = [diag(sum(C, 2)) + lambda * eye(m), full(C); full(C)', diag(sum(C, 1)) + lambda * eye(n)];
    x = pinv(A) * [accumarray(I, r, [m 1]); accumarray(J, r, [n 1])];
    want = x(1:m) + x(m+1:end).';
    got = model.rowBias + model.colBias;
    seen = bsxfun(@and, sum(C, 2) > 0, sum(C, 1) > 0);
    ok = max(abs(got(seen) - want(seen))) < 1e-8 && model.rowBias(7) == 0 && model.colBias(3) == 0;
    results(end+1, :) = {sprintf('alsbaseline lambda %g against the dense solve', lambda), ok};
  end
end

function results = topk_beyond_columns()
  % K beyond the number of columns: the lists end in padding, and the
  % metrics equal a brute-force count over full rankings.
  rand('seed', 6); randn('seed', 6);
  m = 25; n = 12;
  [I, J] = find(sprand(m, n, 0.4) ~= 0);
  held = rand(size(I)) < 0.3;
  model = alsbaseline(I(~held), J(~held), randn(nnz(~held), 1), m, n);
  model.seen = sparse(J(~held), I(~held), true, n, m);
  [cols, scores] = alsrecommend(model, ':', n + 4);
  ok = true;
  for i = 1:m
    s = model.mean + model.rowBias(i) + model.colBias;
    s(model.seen(:, i)) = -Inf;
    [t, order] = sort(s, 'descend');
    left = sum(isfinite(t));
    ok = ok && isequal(cols(i, :), [order(1:left), zeros(1, n + 4 - left)]) ...
         && all(isnan(scores(i, left+1:end)));
  end
  results = {'alsrecommend with k > n against full sorts', ok};
  Ih = I(held); Jh = J(held);
  for k = [5, n + 3, 1e12]
    got = alsrankmetrics(model, Ih, Jh, k);
    want = brute_metrics(cols, Ih, Jh, k);
    ok = abs(got.precision - want(1)) < 1e-12 && abs(got.recall - want(2)) < 1e-12 ...
         && abs(got.map - want(3)) < 1e-12 && abs(got.ndcg - want(4)) < 1e-12 && got.k == k;
    results(end+1, :) = {sprintf('alsrankmetrics k = %g against a brute-force count', k), ok};
  end
end

function w = brute_metrics(cols, Ih, Jh, k)
  rowsHeld = unique(Ih);
  acc = zeros(numel(rowsHeld), 4);
  for p = 1:numel(rowsHeld)
    i = rowsHeld(p);
    relevantCols = unique(Jh(Ih == i));
    list = cols(i, 1:min(k, end));
    rel = ismember(list, relevantCols) & list > 0;
    d = min(k, numel(relevantCols));
    hits = sum(rel);
    prec = cumsum(rel) ./ (1:numel(rel));
    dcg = sum(rel ./ log2((1:numel(rel)) + 1));
    idcg = sum(1 ./ log2((1:d) + 1));
    acc(p, :) = [hits / k, hits / d, sum(prec .* rel) / d, dcg / idcg];
  end
  w = mean(acc, 1);
end

function results = extreme_lambdas ()
  % Lambda far above biaslambda (up to 1e100) and biaslambda tiny: the fit
  % stays finite, and as every sweep ends by solving for the rows of
  % [U rowBias] exactly, the gradient of the stated objective in those
  % (computed here on dense matrices) is zero after any number of sweeps.
  rand('seed', 9); randn('seed', 9);
  m = 30; n = 22; r = 2;
  [I, J] = find(sprand(m, n, 0.35) ~= 0);
  v = 3 + randn(numel(I), 1) + randn(numel(I), 1) .* (I / m);
  results = cell(0, 2);
  pairs = [1e3 1e-4; 1e16 2; 1e100 2; 0.5 1e-14];
  for p = 1:rows(pairs)
    [lambda, bl] = deal(pairs(p, 1), pairs(p, 2));
    [U, V, h, model] = alscomplete(I, J, v, m, n, 'rank', r, 'lambda', lambda, ...
                                   'biaslambda', bl, 'sweeps', 8, 'tol', 0);
    g = row_gradient(I, J, v, m, n, U, V, model, lambda, bl, 2 * r);
    ok = all(isfinite([U(:); V(:); model.rowBias; model.colBias(:)])) && g < 1e-10;
    results(end+1, :) = {sprintf('lambda %g, biaslambda %g: gradient in the rows %g', ...
                                 lambda, bl, g), ok};
  end
end

function g = row_gradient (I, J, v, m, n, U, V, model, lambda, bl, pseudo)
  % Norm of the gradient in U and rowBias of the count-scaled objective
  % (PSEUDO added to the counts) with biases, relative to the data's, on
  % dense matrices.
  mask = full(sparse(I, J, 1, m, n));
  Y = full(sparse(I, J, v - model.mean, m, n));
  R = mask .* (Y - model.rowBias - model.colBias - U * V);
  gU = -R * V' + lambda * (sum(mask, 2) + pseudo) .* U;
  ga = -sum(R, 2) + bl * model.rowBias;
  g = norm([gU(:); ga]) / norm(Y(:));
end

function results = thin_start()
  % A long, thin problem(min(m, n) <= 400 but too many entries for a
  % dense copy) starts from the sparse path: the fit runs and fits.
  rand('seed', 12); randn('seed', 12);
  m = 20000; n = 300; N = 60000;
  I = randi(m, N, 1); J = randi(n, N, 1);
  [~, u] = unique([I J], 'rows'); I = I(u); J = J(u);
  A = randn(m, 2); B = randn(2, n);
  v = sum(A(I, :) .* B(:, J).', 2);
  [~, ~, h] = alscomplete(I, J, v, m, n, 'rank', 2, 'lambda', 0.01, 'sweeps', 5, 'tol', 0);
  results = {'thin problem on the sparse start', h.rmse_train(end) < 0.5 * std(v)};
end

function results = reader_results(dir)
  % What the reader returns for what it must accept, against the lines
  % written; a bad line past the first 4 MB named by its number.
  results = cell(0, 2);
  big = write_file(dir, 'big.txt', sprintf('9007199254740993 1 5\n9007199254740992 2 4\n18446744073709551615 1 3\n'));
  [I, ~, v, r] = readtriplets(big);
  want = [uint64(2)^53; uint64(2)^53 + 1; intmax('uint64')];
  results(end+1, :) = {'ids above 2^53 stay distinct', isequal(r, want) && isequal(I, [2; 1; 3]) && isequal(v, [5; 4; 3])};
  neg = write_file(dir, 'neg.txt', sprintf('-9223372036854775808 1 5\n9223372036854775807 2 4\n'));
  [~, ~, ~, r] = readtriplets(neg);
  results(end+1, :) = {'negative 64-bit ids', isequal(r, [intmin('int64'); intmax('int64')])};
  % {content, what it holds, [row col value] lines read or a text the error holds}
  files = {
    [char([239 187 191]) sprintf('1 2 3\n4 5 6\n')], 'UTF-8 byte-order mark', [1 2 3; 4 5 6]
    sprintf('1 2 3\r4 5 6\r'),                       'CR line ends',          [1 2 3; 4 5 6]
    sprintf('1, 2, 3\n4, 5, 6\n'),                   'comma and space',       [1 2 3; 4 5 6]
    sprintf('1,2,3,2005-01-01T10:00\n4,5,6,x\n'),    'a word as fourth field', [1 2 3; 4 5 6]
    sprintf('1::2::3::when\n4::5::6::#\n'),          'a word as timestamp',   [1 2 3; 4 5 6]
    sprintf('1 2 3\n4 5 caf\xe9\n'),                'Latin-1',  'line 2: not of the form "i j value": 4 5 caf<E9>'
    [char([255 254]) '1' char(0)],                    'UTF-16',   'UTF-16 text'
    sprintf('1 2 3\n4 5 x%s\n', repmat('7', 1, 2e5)), 'a long bad line', '777 ...'
    sprintf('1 2 3\n4 5 6 7\n'),                     'four fields after three', 'line 2: expected 3 fields "i j value", found 4'
    sprintf('1::2::3::4\n1:::2::3::4\n'),            'three colons', 'line 2: not of the form'
    sprintf('1 2 3\n4 5 0x1A\n'),                    'hexadecimal', 'line 2: not of the form'
    sprintf('18446744073709551616 1 5\n'),           'an id of 2^64', 'line 1: an id beyond the 64-bit integer range'
  };
  for k = 1:rows(files)
    f = write_file(dir, sprintf('file%d.txt', k), files{k, 1});
    want = files{k, 3};
    [id, msg] = caught(@() readtriplets(f));
    if ischar(want)
      ok = strcmp(id, 'readtriplets:malformed') && ~isempty(strfind(msg, want)) && numel(msg) < 200;
    else
      [I, J, v, r, c] = readtriplets(f);
      ok = isempty(id) && isequal([r(I) c(J) v], want);
    end
    results(end+1, :) = {sprintf('%s: %s', files{k, 2}, msg), ok};
  end
  % Several blocks: comments and blank lines inside, the line count
  % carried across the blocks, the values as written.
  n = 300000;
  t = [randi(5000, n, 1), randi(900, n, 1), randi(10, n, 1) / 2];
  f = fullfile(dir, 'many.txt');
  fid = fopen(f, 'w');
  fprintf(fid, '%d\t%d\t%g\n', t(1:200000, :)');
  fprintf(fid, '%% a comment\n\n');
  fprintf(fid, '%d\t%d\t%g\n', t(200001:end, :)');
  fclose(fid);
  [I, J, v, r, c] = readtriplets(f);
  results(end+1, :) = {'several blocks with comments', isequal([r(I) c(J) v], t)};
  fid = fopen(f, 'a');
  fprintf(fid, '1 2 x\n');
  fclose(fid);
  [~, msg] = caught(@() readtriplets(f));
  results(end+1, :) = {sprintf('bad last line named after several blocks: %s', msg), ...
                       ~isempty(strfind(msg, sprintf('line %d:', n + 3)))};
end

function [id, msg] = caught(f)
  id = '';
  msg = '';
  try
    f();
  catch err
    id = err.identifier;
    msg = err.message;
  end
end

function f = write_file(dir, name, content)
  f = fullfile(dir, name);
  fid = fopen(f, 'w');
  fwrite(fid, content);
  fclose(fid);
end
