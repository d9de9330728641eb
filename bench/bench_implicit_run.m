function res = bench_implicit_run (N, ranks, solvers, sweeps, cache)
  % One size of the implicit-feedback scale benchmark: N interactions of
  % a skewed m-by-n matrix (m = 200000*sqrt(N/1e7), n = m/10, the shape of
  % 10^7 interactions on 200000 by 20000), 20% of each row's held out; for
  % every rank and solver a fit of SWEEPS sweeps (tol 0), then
  % precision@10 of the held-out interactions. Prints the set-up (seconds
  % up to the first sweep), the median time of a sweep, the fit's peak
  % memory above what was resident before it (VmHWM reset before each
  % fit; memory a previous fit freed but the process kept is not counted
  % again, so the first fit of a process gives the fairest figure), and
  % the time of the top 10 for every row with held-out interactions.
  % SOLVERS is a cell of 'cholesky', 'cg' or '' (the default). CACHE,
  % when given, is a file that keeps the data between processes (made
  % when missing), so that each fit can run in a process of its own.
  m = round (200000 * sqrt (N / 1e7));
  n = round (m / 10);
  if (nargin >= 5 && exist (cache, 'file'))
    load (cache, 'It', 'Jt', 'Ih', 'Jh');
  else
    [It, Jt, Ih, Jh] = interactions (N, m, n);
    if (nargin >= 5)
      save ('-binary', cache, 'It', 'Jt', 'Ih', 'Jh');
    end
    printf ('%d by %d: %d interactions for the fit, %d held out\n', m, n, numel (It), numel (Ih));
  end
  fflush (stdout);
  vals = ones (numel (It), 1);
  res = struct ('N', N, 'm', m, 'n', n, 'rank', {}, 'solver', {}, 'setup', {}, ...
                'sweep', {}, 'peak', {}, 'precision', {}, 'topk', {});
  for r = ranks
    for s = 1:numel (solvers)
      opts = {'feedback', 'implicit', 'rank', r, 'sweeps', sweeps, 'tol', 0, 'memory', 'ignore'};
      if (! isempty (solvers{s}))
        opts = [opts, {'solver', solvers{s}}];
      end
      clear model;
      rss = status_bytes ('VmRSS');
      reset_peak ();
      [~, ~, h, model] = alscomplete (It, Jt, vals, m, n, opts{:});
      peak = status_bytes ('VmHWM') - rss;
      t0 = tic ();
      met = alsrankmetrics (model, Ih, Jh, 10);
      tk = toc (t0);
      name = solvers{s};
      if (isempty (name))
        name = 'default';
      end
      res(end+1) = struct ('N', N, 'm', m, 'n', n, 'rank', r, 'solver', name, 'setup', h.setup, ...
                           'sweep', median (h.time), 'peak', peak, 'precision', met.precision, 'topk', tk);
      printf ('  %g rank %3d %-8s set-up %6.2f s  sweep %7.3f s (median of %d)  peak %5.2f GB  p@10 %.4f  top 10 of %d rows %.1f s\n', ...
              N, r, name, h.setup, median (h.time), numel (h.time), peak / 2^30, met.precision, ...
              numel (unique (Ih)), tk);
      fflush (stdout);
    end
  end
end

function [It, Jt, Ih, Jh] = interactions (N, m, n)
  % Pairs with skewed activity and popularity (scale_data) whose rank-8
  % affinity is positive: about N of 2N drawn pairs, so that what a row
  % interacts with carries taste as well as popularity. 20% of each row's
  % interactions (of rows with at least two) are held out.
  [I, J, v] = scale_data (2 * N, m, n, 8, 1);
  keep = v > 0;
  I = I(keep); J = J(keep);
  clear v keep;
  rand ('seed', 7);
  key = rand (numel (I), 1);
  [~, order] = sortrows ([double(I), key]);
  clear key;
  Io = I(order);
  first = [true; diff(Io) != 0];
  starts = find (first);
  len = diff ([starts; numel(I) + 1]);
  pos = (1:numel (I))' - repelem (starts, len) + 1;
  lens = repelem (len, len);
  held = false (numel (I), 1);
  held(order) = pos <= round (0.2 * lens) & lens > 1;
  It = I(!held); Jt = J(!held); Ih = I(held); Jh = J(held);
end

function b = status_bytes (field)
  s = fileread ('/proc/self/status');
  b = 1024 * str2double (regexp (s, [field ':\s*(\d+)\s*kB'], 'tokens', 'once'){1});
end

function reset_peak ()
  fid = fopen ('/proc/self/clear_refs', 'w');
  if (fid >= 0)
    fprintf (fid, '5');
    fclose (fid);
  end
end
