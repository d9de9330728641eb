function progress = alsProgress(verbose)
%ALSPROGRESS  A printer of set-up steps with the time since the fit started.
%   PROGRESS(FMT, ...) prints one line '[  12.3 s, peak  1.20 GB] <text>' when
%   VERBOSE is true (the memory is the process's peak so far, where the
%   system tells it: /proc/self/status) and does nothing otherwise.
if verbose
    t0 = tic;
    % The line is joined before it is printed: MATLAB's print functions
    % drop an empty argument (the memory figure off Linux, an empty text)
    % and would then run the rest into the next line.
    progress = @(fmt, varargin) fprintf('%s\n', ['[' sprintf('%7.1f s', toc(t0)) peak() '] ' ...
                                                 sprintf(fmt, varargin{:})]);
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
if ~isempty(tok)
    s = sprintf(', peak %5.2f GB', str2double(tok{1}) / 2^20);
end
end
