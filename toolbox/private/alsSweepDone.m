function [hist, stop] = alsSweepDone(hist, s, g, t0, opts, withHeld)
%ALSSWEEPDONE  Record a finished sweep, print its line when verbose, and test the tolerance.
%   G is the gradient norm after sweep S, T0 the sweep's tic. The line
%   ends with the time the remaining sweeps would take at the median pace
%   so far; WITHHELD adds the held-out RMSE column. With S = 0 it prints
%   the header only.
if s == 0
    stop = false;
    if opts.verbose
        if withHeld
            fprintf('%5s  %14s  %11s  %11s  %10s  %8s  %9s\n', 'sweep', 'objective', ...
                    'train RMSE', 'held RMSE', '|grad|', 'seconds', 'left');
        else
            fprintf('%5s  %14s  %11s  %10s  %8s  %9s\n', 'sweep', 'objective', ...
                    'train RMSE', '|grad|', 'seconds', 'left');
        end
    end
    return;
end
hist.gradnorm(s) = g;
hist.time(s) = toc(t0);
hist.sweeps = s;
if opts.verbose
    left = duration((opts.sweeps - s) * median(hist.time(1:s)));
    if withHeld
        fprintf('%5d  %14.8e  %11.6f  %11.6f  %10.3e  %8.3f  %9s\n', s, hist.objective(s), ...
                hist.rmse_train(s), hist.rmse_heldout(s), g, hist.time(s), left);
    else
        fprintf('%5d  %14.8e  %11.6f  %10.3e  %8.3f  %9s\n', s, hist.objective(s), ...
                hist.rmse_train(s), g, hist.time(s), left);
    end
end
stop = g <= opts.tol * hist.gradnorm0;
hist.converged = stop;
end


function s = duration(t)
if t < 120
    s = sprintf('%.0f s', t);
elseif t < 7200
    s = sprintf('%.1f min', t / 60);
else
    s = sprintf('%.1f h', t / 3600);
end
end
