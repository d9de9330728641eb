function scale_run (N, sweeps, outfile)
  % One size of the scale benchmark, in a process of its own (bench_scale
  % starts one per size, since a process's peak memory only grows): makes N
  % entries of the 480189-by-17770 shape with scale_data, fits them with
  % alscomplete at rank 10 for the given number of sweeps (tol 0, every
  % other option at its default), and saves times and peak memory to
  % outfile as a struct res.
  m = 480189; n = 17770; r = 10;
  res.N = N;
  res.sweeps = sweeps;
  res.rss0 = status_bytes ('VmRSS');

  t0 = tic ();
  [I, J, vals, info] = scale_data (N, m, n, r, 1);
  res.gentime = toc (t0);
  res.genpeak = status_bytes ('VmHWM');
  printf ('%d entries: made in %.1f s; entries per row: median %g, max %g, %d rows empty; per column: median %g, max %g\n', ...
          N, res.gentime, median (info.rowcounts), max (info.rowcounts), ...
          sum (info.rowcounts == 0), median (info.colcounts), max (info.colcounts));
  clear info;
  fflush (stdout);

  % From here the peak is the fit's, with I, J and vals still resident.
  res.reset = reset_peak ();

  t0 = tic ();
  [U, V, hist] = alscomplete (I, J, vals, m, n, 'rank', r, 'sweeps', sweeps, 'tol', 0);
  res.total = toc (t0);
  res.fitpeak = status_bytes ('VmHWM');
  res.time = hist.time;
  res.rmse = hist.rmse_train(end);
  printf ('%d entries: fitted in %.1f s, %d sweeps of %s s, train RMSE %.4f\n', ...
          N, res.total, hist.sweeps, mat2str (hist.time', 3), res.rmse);
  fflush (stdout);
  save ('-text', outfile, 'res');
end

function b = status_bytes (field)
  % A memory figure of this process from /proc/self/status, in bytes.
  s = fileread ('/proc/self/status');
  b = 1024 * str2double (regexp (s, [field ':\s*(\d+)\s*kB'], 'tokens', 'once'){1});
end

function ok = reset_peak ()
  % Sets the process's peak resident size (VmHWM) back to its current size
  % (Linux: "5" written to /proc/self/clear_refs); false where that fails,
  % and the peak then also covers the data generation.
  ok = false;
  fid = fopen ('/proc/self/clear_refs', 'w');
  if (fid >= 0)
    fprintf (fid, '5');
    ok = fclose (fid) == 0 && status_bytes ('VmHWM') <= status_bytes ('VmRSS') + 2^20;
  end
end
