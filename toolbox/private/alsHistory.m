function hist = alsHistory(arg)
%ALSHISTORY  A fit's history: room for a number of sweeps, or cut to the sweeps run.
%   HIST = ALSHISTORY(MAXSWEEPS) makes the per-sweep columns (objective,
%   rmse_train, rmse_heldout, gradnorm, time) of NaNs and the scalars;
%   HIST = ALSHISTORY(HIST) cuts the columns to HIST.sweeps entries.
fields = {'objective', 'rmse_train', 'rmse_heldout', 'gradnorm', 'time'};
if isstruct(arg)
    hist = arg;
    for f = fields
        hist.(f{1}) = hist.(f{1})(1:hist.sweeps);
    end
else
    hist = struct('gradnorm0', NaN, 'sweeps', 0, 'converged', false);
    for f = fields
        hist.(f{1}) = NaN(arg, 1);
    end
end
end
