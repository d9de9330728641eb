function bench_scale (sizes)
  % Scale benchmark of alscomplete on the 480189-by-17770 shape with
  % heavy-tailed row and column activity (scale_data), at each number of
  % entries in sizes (a vector, or a string such as '1e6 1e7' or '1e8';
  % default 1e6 and 1e7). Each size runs in its own octave-cli process
  % (scale_run), since a process's peak memory only grows; 5 sweeps below
  % 10^8 entries, 3 from there. Prints which BLAS and which OpenBLAS kernels
  % the processes use, then per size: set-up time (total time of the call
  % minus the sweeps' times), set-up in sweeps, the median sweep, the same
  % per entry, and the peak resident memory of the fit per entry (VmHWM,
  % the caller's I, J and vals included). One BLAS thread unless
  % OPENBLAS_NUM_THREADS says otherwise.
  if (nargin < 1 || isempty (sizes))
    sizes = [1e6, 1e7];
  end
  if (ischar (sizes))
    sizes = sscanf (strrep (sizes, ',', ' '), '%f')';
  end
  if (isempty (sizes) || any (! (sizes >= 1) | sizes != round (sizes)))
    error ('bench_scale: sizes must be positive whole numbers of entries');
  end
  if (isempty (getenv ('OPENBLAS_NUM_THREADS')))
    setenv ('OPENBLAS_NUM_THREADS', '1');
  end

  octave = fullfile (OCTAVE_HOME (), 'bin', 'octave-cli');
  if (! exist (octave, 'file'))
    octave = 'octave-cli';
  end
  octave = [octave, ' --no-init-file --no-site-file --no-history --quiet'];
  blas_report (octave);

  here = fileparts (mfilename ('fullpath'));
  dirs = {fileparts(which ('ombrelast')), here, fileparts(which ('alscomplete'))};
  if (any (cellfun (@isempty, dirs)))
    error ('bench_scale: the compiled kernels and alscomplete must be on the path');
  end
  paths = strjoin (cellfun (@(d) sprintf ('addpath (''%s''); ', d), dirs, ...
                            'UniformOutput', false), '');
  rows = {};
  for N = sizes
    sweeps = 5 - 2 * (N >= 1e8);
    outfile = [tempname(), '.txt'];
    cmd = sprintf ('%s --eval "%s scale_run (%d, %d, ''%s'')"', octave, paths, ...
                   N, sweeps, outfile);
    status = system (cmd);
    if (status == 0 && exist (outfile, 'file'))
      s = load (outfile);
      delete (outfile);
      rows{end+1} = s.res;
    else
      % Reported in the table; the other sizes still run (a size too large
      % for the machine's memory ends with the kernel's out-of-memory kill).
      rows{end+1} = struct ('N', N, 'status', status);
    end
  end

  printf ('\nalscomplete on 480189 x 17770, rank 10, default start; medians over the sweeps; BLAS threads: %s\n', ...
          getenv ('OPENBLAS_NUM_THREADS'));
  printf ('%10s %6s %10s %12s %10s %14s %8s %14s %14s\n', 'entries', 'sweeps', ...
          'set-up s', 'set-up/sweep', 's/sweep', 'ns/entry/sweep', 'peak GB', ...
          'peak B/entry', 'data B/entry');
  ok = cellfun (@(r) isfield (r, 'time'), rows);
  for k = 1:numel (rows)
    res = rows{k};
    if (! ok(k))
      printf ('%10s  failed: exit status %d\n', entries (res.N), res.status);
      continue;
    end
    sweep = median (res.time);
    setup = res.total - sum (res.time);
    mark = '';
    if (! res.reset)
      mark = ' *';
    end
    printf ('%10s %6d %10.2f %12.2f %10.3f %14.1f %8.2f %14.1f %14.1f%s\n', entries (res.N), ...
            numel (res.time), setup, setup / sweep, sweep, 1e9 * sweep / res.N, ...
            res.fitpeak / 1e9, res.fitpeak / res.N, res.genpeak / res.N, mark);
  end
  if (! any (ok))
    error ('bench_scale: no size ran to the end');
  end
  printf (['peak: VmHWM of the fit, whole process (Octave itself, %.0f MB at start, and the caller''s I, J, vals included);\n' ...
           'data: VmHWM after making the data, before the fit.\n'], rows{find (ok, 1)}.rss0 / 2^20);
  if (! all (cellfun (@(r) r.reset, rows(ok))))
    printf ('* the peak could not be reset after making the data: the fit''s peak includes it\n');
  end
  if (! all (ok))
    error ('bench_scale: %d of %d sizes failed', sum (! ok), numel (ok));
  end
end

function blas_report (octave)
  % Which BLAS library this process loaded, and which OpenBLAS kernels a
  % process started like the benchmark's picks (OpenBLAS names them at load
  % time when OPENBLAS_VERBOSE=2), against the processor's instruction sets.
  maps = fileread ('/proc/self/maps');
  libs = unique (regexp (maps, '(/\S*blas\S*)', 'match'));
  cpu = fileread ('/proc/cpuinfo');
  model = first (regexp (cpu, 'model name\s*:\s*([^\n]*)', 'tokens', 'once'), 'unknown');
  flags = strsplit (first (regexp (cpu, 'flags\s*:\s*([^\n]*)', 'tokens', 'once'), ''), ' ');
  simd = 'SSE3';
  if (any (strcmp (flags, 'avx512f')))
    simd = 'AVX-512';
  elseif (any (strcmp (flags, 'avx2')))
    simd = 'AVX2';
  end
  printf ('processor: %s (%s)\n', model, simd);
  printf ('BLAS: %s\n', strjoin (libs, ', '));

  core = probe_core (octave, '');
  line = sprintf ('OpenBLAS core: %s', core);
  coretype = getenv ('OPENBLAS_CORETYPE');
  if (! isempty (coretype))
    own = probe_core (octave, 'env -u OPENBLAS_CORETYPE -u OPENBLAS_L2_SIZE');
    line = sprintf ('%s (OPENBLAS_CORETYPE=%s, OPENBLAS_L2_SIZE=%s set; without them: %s)', ...
                    line, coretype, getenv ('OPENBLAS_L2_SIZE'), own);
  end
  printf ('%s\n', line);
  % OpenBLAS's kernels for processors with AVX2 or AVX-512; a build that
  % does not know the processor falls back to its SSE3 (Prescott) kernels.
  wide = {'Haswell', 'Zen', 'SkylakeX', 'Cooperlake', 'SapphireRapids'};
  if (! strcmp (simd, 'SSE3') && ! strcmp (core, 'unknown') && ! any (strcmpi (core, wide)))
    advice = 'Haswell';
    if (strcmp (simd, 'AVX-512'))
      advice = 'SkylakeX';
    end
    printf (['warning: OpenBLAS runs its %s kernels, not the faster ones for this processor''s %s:\n' ...
             '  set OPENBLAS_CORETYPE=%s in the environment\n'], core, simd, advice);
  end
end

function core = probe_core (octave, prefix)
  % The "Core:" name OpenBLAS prints when a new Octave process loads it with
  % OPENBLAS_VERBOSE=2; 'unknown' for a BLAS that prints none.
  [~, out] = system (sprintf ('%s OPENBLAS_VERBOSE=2 %s --eval "1" 2>&1', prefix, octave));
  core = first (regexp (out, 'Core:\s*(\S+)', 'tokens', 'once'), 'unknown');
end

function s = entries (N)
  % N as 1e6, 2.5e7, ... where it is a short multiple of a power of ten.
  k = floor (log10 (N));
  s = sprintf ('%ge%d', N / 10^k, k);
  if (k < 4 || numel (s) > 8)
    s = sprintf ('%d', N);
  end
end

function s = first (tokens, default)
  % The first token a regexp found, or default where it found none.
  s = default;
  if (! isempty (tokens))
    s = tokens{1};
  end
end
