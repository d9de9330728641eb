function progress = alsProgress(verbose)
%ALSPROGRESS  A printer of set-up steps with the time since the fit started.
%   PROGRESS(FMT, ...) prints one line '[  12.3 s   1.2 GB] <text>' when
%   VERBOSE is true (the memory is the process's peak so far, where the
%   system tells it: /proc/self/status) and does nothing otherwise.
if verbose
    t0 = tic;
    progress = @(fmt, varargin) fprintf('[%7.1f s %s] %s\n', toc(t0), peak(), ...
                                        sprintf(fmt, varargin{:}));
else
    progress = @(varargin) [];
end
end


function s = peak()
s = '';
fid = fopen('/proc/self/status', 'r');
if fid < 0
    return;
end
text = fread(fid, Inf, '*char').';
fclose(fid);
tok = regexp(text, 'VmHWM:\s*(\d+)\s*kB', 'tokens', 'once');
tok2 = regexp(text, 'VmRSS:\s*(\d+)\s*kB', 'tokens', 'once');
if ~isempty(tok)
    s = sprintf('%6.2f GB %6.2f', str2double(tok{1}) / 2^20, str2double(tok2{1}) / 2^20);
end
end
