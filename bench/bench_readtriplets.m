function bench_readtriplets (lines, kinds, reps)
  % readtriplets against dlmread on the same rating files, in this
  % process, the two runs alternating: the median times, their ratio and
  % each one's peak memory above what the process held before the call
  % (Linux: VmHWM, reset before each run). Kinds of file: tab, space or
  % comma separated; whole-number or decimal values; with or without a
  % fourth (timestamp) field. LINES is 2e6 unless given; KINDS picks
  % among the kinds (all unless given); REPS runs of each (5 unless given).
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
  if nargin < 2 || isempty (kinds)
    kinds = 1:rows (all_kinds);
  end
  if nargin < 3
    reps = 5;
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
    peak = zeros (reps, 2);
    for r = 1:reps
      [t(r, 1), peak(r, 1)] = run_once (@() dlmread (file, sep));
      [t(r, 2), peak(r, 2)] = run_once (@() readtriplets (file));
    end
    % The same numbers as dlmread reads.
    [I, J, v, ur, uc] = readtriplets (file);
    D = dlmread (file, sep);
    assert (isequal ([ur(I) uc(J) v], D(:, 1:3)));
    clear I J v ur uc D
    m = median (t);
    printf ('%-24s %5.0f MB: dlmread %5.2f s (%.2f-%.2f), readtriplets %5.2f s (%.2f-%.2f), ratio %.2f; peak %4.0f MB, %4.0f MB (result %3.0f MB)\n', ...
            name, d.bytes / 2^20, m(1), min (t(:, 1)), max (t(:, 1)), m(2), min (t(:, 2)), ...
            max (t(:, 2)), m(2) / m(1), median (peak(:, 1)) / 2^20, median (peak(:, 2)) / 2^20, 24 * n / 2^20);
  end
end

function [t, peak] = run_once (f)
  % One timed call; the peak is what it took on top of what the process
  % held before (0 where /proc cannot tell).
  before = reset_peak ();
  t0 = tic ();
  x = f ();
  t = toc (t0);
  clear x
  peak = max (0, status_bytes ('VmHWM') - before);
end

function now = reset_peak ()
  now = status_bytes ('VmRSS');
  fid = fopen ('/proc/self/clear_refs', 'w');
  if fid >= 0
    fprintf (fid, '5');
    fclose (fid);
  end
end

function b = status_bytes (field)
  b = 0;
  fid = fopen ('/proc/self/status', 'r');
  if fid < 0
    return;
  end
  text = fread (fid, Inf, '*char')';
  fclose (fid);
  tok = regexp (text, [field ':\s*(\d+) kB'], 'tokens', 'once');
  if ! isempty (tok)
    b = str2double (tok{1}) * 1024;
  end
end

function delete_if (file)
  if exist (file, 'file')
    delete (file);
  end
end
