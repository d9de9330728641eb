function hist = alsHistory(arg, maxSweeps)
%ALSHISTORY  A fit's history: room for the first sweeps, more as they run, or cut to the sweeps run.
%   HIST = ALSHISTORY(MAXSWEEPS) makes the per-sweep columns (objective,
%   rmse_train, rmse_heldout, gradnorm, time) of NaNs, with room for at
%   most 64 sweeps, and the scalars; HIST = ALSHISTORY(HIST, MAXSWEEPS)
%   doubles the room (up to MAXSWEEPS) once every row is used, so that a
%   large sweep limit costs nothing until the sweeps run;
%   HIST = ALSHISTORY(HIST) cuts the columns to HIST.sweeps entries.
fields = {'objective', 'rmse_train', 'rmse_heldout', 'gradnorm', 'time'};
if isstruct(arg)
    hist = arg;
    room = numel(hist.objective);
    if nargin >= 2
        if hist.sweeps < room || room >= maxSweeps
            return;
        end
        more = min(room, maxSweeps - room);
        for f = fields
            hist.(f{1}) = [hist.(f{1}); NaN(more, 1)];
        end
        return;
    end
    for f = fields
        hist.(f{1}) = hist.(f{1})(1:hist.sweeps);
    end
else
    hist = struct('gradnorm0', NaN, 'sweeps', 0, 'converged', false, 'stopped', 'sweep limit');
    for f = fields
        hist.(f{1}) = NaN(min(arg, 64), 1);
    end
end
end
