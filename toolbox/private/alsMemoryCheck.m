function need = alsMemoryCheck(N, m, n, r, weighted, implicit, opts, progress, perSweep)
%ALSMEMORYCHECK  Estimate a fit's memory and refuse one that cannot fit.
%   The estimate counts what the fit keeps on the pattern (a uint32 index
%   in each order, the values, one sparse matrix: 32 bytes an entry), the
%   largest temporaries of a sweep (two vectors on the pattern), one
%   chunk of block factors and the dense factors. When it exceeds the
%   memory the system reports as available by more than a quarter, the
%   fit stops before building anything, with error identifier
%   'alscomplete:memory'. The check reads
%   /proc/meminfo where there is one (Linux) and MATLAB's MEMORY function
%   on Windows; elsewhere it only reports. The progress line also gives
%   PERSWEEP, the estimated seconds a sweep takes.
perEntry = 32 + 16;
if weighted
    perEntry = perEntry + 16;
end
extra = 0;
k = r + 1;
chunk = min(max(m, n), opts.blockchunk);
if implicit
    % The pattern's transpose and the weights in row order; the exact
    % solve under count-scaled regularization extends the pattern by r
    % entries per row and per column. A chunk holds at most 2^24 doubles
    % of factors.
    extra = 24 * N;
    if strcmp(opts.regularization, 'scaled') && strcmp(opts.solver, 'cholesky')
        extra = extra + (m + n) * r * (perEntry + 16);
    end
    chunk = min(chunk, max(1, floor(2^24 / r^2)));
end
factors = chunk * 2 * (8 * k * k + 160);
dense = 8 * (m + n) * (k + 1) * 6;
need = N * perEntry + extra + factors + dense;
avail = alsAvailableMemory();
pace = sprintf('%s a sweep (estimated)', timeText(perSweep));
if isfinite(avail)
    progress('%d entries, rank %d: about %s of memory needed, %s available; %s', ...
             N, r, alsBytes(need), alsBytes(avail), pace);
else
    progress('%d entries, rank %d: about %s of memory needed; %s', N, r, alsBytes(need), pace);
end
if strcmp(opts.memory, 'check') && isfinite(avail) && need > 1.25 * avail
    error('alscomplete:memory', ...
          ['alscomplete: this fit needs about %s of memory and only %s is available ' ...
           '(%d entries, rank %d); free memory, lower the rank, or set ''memory'' to ' ...
           '''ignore'' to try anyway.'], alsBytes(need), alsBytes(avail), N, r);
end
end


function s = timeText(t)
if t < 0.1
    s = 'under 0.1 s';
elseif t < 10
    s = sprintf('about %.1f s', t);
elseif t < 120
    s = sprintf('about %.0f s', t);
else
    s = sprintf('about %.1f min', t / 60);
end
end
