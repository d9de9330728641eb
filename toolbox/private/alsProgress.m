function progress = alsProgress(verbose)
%ALSPROGRESS  A printer of set-up steps with the time since the fit started.
%   PROGRESS(FMT, ...) prints one line '[  12.3 s] <text>' when VERBOSE
%   is true and does nothing otherwise.
if verbose
    t0 = tic;
    progress = @(fmt, varargin) fprintf('[%7.1f s] %s\n', toc(t0), sprintf(fmt, varargin{:}));
else
    progress = @(varargin) [];
end
end
