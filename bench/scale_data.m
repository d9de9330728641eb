function [I, J, vals, info] = scale_data (N, m, n, r, seed)
  % Synthetic completion data for the scale benchmark: N distinct (row,
  % column) pairs of an m-by-n matrix with heavy-tailed row and column
  % activity, values = a rank-r signal (entries of unit variance) plus
  % Gaussian noise of deviation 0.1.
  %
  % Row activity is log-normal (sigma 1.25: the median row has about half
  % the mean count, a few rows have a hundred times more), each row capped
  % at n entries; column popularity is log-normal too (sigma 2, cut at three
  % deviations so the most popular column weighs about 400 times the median
  % one). Each row draws its count of columns by popularity, without
  % replacement, so the pairs are distinct by construction and nothing
  % m-by-n is formed. Rows are generated in chunks of about a million
  % entries; the outputs are uint32 indices and double values in row-major
  % order (by row, then column). INFO gives the row and column counts.
  %
  % Working memory besides the outputs (16 bytes an entry) is a few vectors
  % of length m or n and of the chunk length.
  if (N > m * n)
    error ('scale_data: %d entries do not fit in %d-by-%d', N, m, n);
  end
  rand ('state', seed);
  randn ('state', seed);

  % Entries per row: the row's share of N, randomly rounded, capped at n;
  % the rounding and the cap leave a small difference to N, spread over
  % random rows.
  a = exp (1.25 * randn (m, 1));
  c = min (floor (N * a / sum (a) + rand (m, 1)), n);
  clear a;
  d = N - sum (c);
  while (d != 0)
    if (d > 0)
      pool = find (c < n);
    else
      pool = find (c > 0);
    end
    pick = accumarray (pool(randi (numel (pool), abs (d), 1)), 1, [m, 1]);
    c = min (max (c + sign (d) * pick, 0), n);
    d = N - sum (c);
  end

  % Column popularity and its cumulative distribution for the draws.
  z = min (randn (n, 1), 3);
  b = exp (2 * z);
  cdf = cumsum (b) / sum (b);
  cdf(end) = 1;

  % The rank-r signal: U*V has entries of unit variance.
  Ut = randn (m, r) / r^0.25;
  Vt = randn (r, n) / r^0.25;

  I = zeros (N, 1, 'uint32');
  J = zeros (N, 1, 'uint32');
  vals = zeros (N, 1);
  chunk = 2^20;
  cs = cumsum (c);
  heavy = n / 16;     % rows above this many entries draw by sorted keys
  colcounts = zeros (n, 1);
  done = 0;
  r0 = 1;
  while (r0 <= m)
    r1 = max (lookup (cs, done + chunk), r0);
    rows = (r0:r1)';
    cnt = c(rows);
    isheavy = cnt > heavy;
    rl = expand (rows(! isheavy), cnt(! isheavy));
    cl = light_columns (rl, cdf, n, m);
    [rh, ch] = heavy_columns (rows(isheavy), cnt(isheavy), b, n);
    [key, o] = sort ([(rl - 1) * n + cl; (rh - 1) * n + ch]);
    if (any (diff (key) <= 0))
      error ('scale_data: a repeated pair in rows %d..%d', r0, r1);
    end
    cols = [cl; ch](o);
    k = numel (key);
    at = done + (1:k)';
    I(at) = [rl; rh](o);
    J(at) = cols;
    vals(at) = ombrelast (Ut, Vt, I(at), J(at)) + 0.1 * randn (k, 1);
    colcounts += accumarray (cols, 1, [n, 1]);
    done += k;
    r0 = r1 + 1;
  end
  if (done != N)
    error ('scale_data: %d entries made, %d asked for', done, N);
  end
  info.rowcounts = c;
  info.colcounts = colcounts;
end

function col = light_columns (r, cdf, n, m)
  % Columns for the entries of rows r (one element per entry, grouped by
  % row), drawn by popularity; a column drawn twice in one row is drawn
  % again until every row's columns are distinct. Each round sorts only the
  % entries of rows that had a repeat.
  col = draw (cdf, numel (r));
  idx = (1:numel (r))';
  active = false (m, 1);
  while (true)
    [key, o] = sort ((r(idx) - 1) * n + col(idx));
    idx = idx(o);
    rep = [false; diff(key) == 0];
    if (! any (rep))
      break;
    end
    redo = idx(rep);
    col(redo) = draw (cdf, numel (redo));
    active(r(redo)) = true;
    idx = idx(active(r(idx)));
    active(r(redo)) = false;
  end
end

function r = expand (rows, counts)
  % Each rows(i) repeated counts(i) times, as a column (empty for no rows;
  % repelem makes a row of a single one).
  r = zeros (0, 1);
  if (! isempty (rows))
    r = reshape (repelem (rows(:), counts(:)), [], 1);
  end
end

function col = draw (cdf, k)
  % k columns drawn independently with the probabilities of cdf.
  col = lookup (cdf, rand (k, 1)) + 1;
end

function [r, col] = heavy_columns (rows, counts, b, n)
  % For rows with many entries, where repeats would make redrawing slow:
  % the counts(i) columns with the smallest keys -log(u)/b(j) are a draw
  % of counts(i) distinct columns by popularity b without replacement.
  % Blocks of rows keep the n-by-k key matrix near 4 million elements.
  r = expand (rows, counts);
  col = zeros (numel (r), 1);
  at = 0;
  step = max (1, floor (2^22 / n));
  for k0 = 1:step:numel (rows)
    k = k0:min (k0 + step - 1, numel (rows));
    [~, o] = sort (-log (rand (n, numel (k))) ./ b, 1);
    o = o((1:n)' <= counts(k)');
    col(at + (1:numel (o))) = o;
    at += numel (o);
  end
end
