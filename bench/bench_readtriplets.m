function bench_readtriplets (lines, kinds, reps)
  % readtriplets against dlmread on the same rating files, in this
  % process, the two runs alternating: the median times and their ratio;
  % and each one's peak memory in a fresh process (readpeak.m; in this
  % one, the heap left by earlier runs hides part of it). Kinds of file:
  % tab, space or comma separated; whole-number or decimal values; with or
  % without a fourth (timestamp) field. LINES is 2e6 unless given; KINDS
  % picks among the kinds (the first and fourth unless given, as make
  % bench runs it; [] for all); REPS runs of each (3 unless given).
  if nargin < 1 || isempty (lines)
    lines = 2e6;
  end
  all_kinds = {
    % name                 separator  value format  fourth field
    'tab, whole, 4 fields',      "\t", '%d',   true
    'tab, whole, 3 fields',      "\t", '%d',   false
    'space, half stars',         ' ',  '%g',   false
    'comma, half stars, 4 f.',   ',',  '%g',   true
    'comma, 4 decimals',         ',',  '%.4f', false
    'comma, whole, 4 fields',    ',',  '%d',   true
  };
  if nargin < 2
    kinds = [1 4];
  elseif isempty (kinds)
    kinds = 1:rows (all_kinds);
  end
  if nargin < 3
    reps = 3;
  end
  rand ('seed', 1);
  n = lines;
  users = sort (randi (round (n / 100), n, 1));
  items = randi (round (n / 500) + 100, n, 1);
  stars = randi (10, n, 1) / 2;
  times = 978300760 + randi (1e8, n, 1);
  file = [tempname() '.txt'];
  cleanup = onCleanup (@() delete_if (file));
  printf ('readtriplets against dlmread, %d lines, medians of %d alternating runs\n', n, reps);
  for k = kinds
    [name, sep, fmt, fourth] = all_kinds{k, :};
    vals = stars;
    if strcmp (fmt, '%.4f')
      vals = stars + randi (9999, n, 1) / 1e4;
    end
    cols = [users items vals];
    line = ['%d' sep '%d' sep fmt];
    if fourth
      cols = [cols times];
      line = [line sep '%d'];
    end
    fid = fopen (file, 'w');
    fprintf (fid, [line '\n'], cols');
    fclose (fid);
    d = dir (file);
    t = zeros (reps, 2);
    for r = 1:reps
      t(r, 1) = run_once (@() dlmread (file, sep));
      t(r, 2) = run_once (@() readtriplets (file));
    end
    peak = [fresh_peak(file, 'dlmread', sep), fresh_peak(file, 'readtriplets', sep)];
    % The same numbers as dlmread reads.
    [I, J, v, ur, uc] = readtriplets (file);
    D = dlmread (file, sep);
    assert (isequal ([ur(I) uc(J) v], D(:, 1:3)));
    clear I J v ur uc D
    m = median (t, 1);
    printf ('%-24s %5.0f MB: dlmread %5.2f s (%.2f-%.2f), readtriplets %5.2f s (%.2f-%.2f), ratio %.2f; peak %4.0f MB, %4.0f MB (result %3.0f MB)\n', ...
            name, d.bytes / 2^20, m(1), min (t(:, 1)), max (t(:, 1)), m(2), min (t(:, 2)), ...
            max (t(:, 2)), m(2) / m(1), peak(1) / 2^20, peak(2) / 2^20, 24 * n / 2^20);
  end
end

function t = run_once (f)
  % One timed call; its result is freed outside the clock.
  t0 = tic ();
  x = f ();
  t = toc (t0);
end

function peak = fresh_peak (file, reader, sep)
  % One call's peak memory in a new Octave process (0 where it cannot tell).
  here = fileparts (mfilename ('fullpath'));
  tools = fileparts (which ('readtriplets'));
  call = sprintf ('addpath (''%s'', ''%s''); readpeak (''%s'', ''%s'', %s)', here, tools, file, ...
                  reader, sprintf ('char (%d)', double (sep)));
  [status, out] = system (sprintf ('"%s" --no-init-file --no-site-file --no-history --quiet --eval "%s"', ...
                                   fullfile (OCTAVE_HOME (), 'bin', 'octave-cli'), call));
  peak = str2double (out);
  if status ~= 0 || ! isfinite (peak)
    peak = 0;
  end
end

function delete_if (file)
  if exist (file, 'file')
    delete (file);
  end
end
