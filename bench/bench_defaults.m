function bench_defaults (old, cases)
  % The plain call against the tuned bias baseline, and the earlier
  % toolbox's plain call, on rating-like data (synthratings) of several
  % kinds and two splits: 20% of the entries at random, and each row's
  % "latest" 20% (the entries on its least popular columns, with some
  % noise: later ratings go to less popular items). Prints held-out RMSE,
  % sweeps and time of each, both toolboxes in this process. OLD is the
  % folder of the earlier toolbox (its copy's 'toolbox' folder); without
  % it only the current one runs.
  if nargin < 1
    old = '';
  end
  if nargin < 2
    cases = {
      {'943 x 1682, 10^5', 943, 1682, 1e5, {}}
      {'671 x 9066, 10^5', 671, 9066, 1e5, {}}
      {'943 x 1682, weak taste', 943, 1682, 1e5, {'taste', 0.3}}
      {'610 x 9724, half stars', 610, 9724, 1e5, {'half', true}}
      {'943 x 1682, no low rank', 943, 1682, 1e5, {'taste', 0}}
      {'943 x 1682, strong taste', 943, 1682, 1e5, {'taste', 1, 'noise', 0.5}}
      {'671 x 9066, taste 1', 671, 9066, 1e5, {'taste', 1}}
    };
  end
  here = fileparts (fileparts (mfilename ('fullpath')));
  new = fullfile (here, 'toolbox');
  addpath (new);
  for c = 1:numel (cases)
    [name, m, n, N, extra] = deal (cases{c}{:});
    [I, J, v] = synthratings (m, n, N, 1, extra{:});
    for split = {'random', 'latest'}
      held = holdout (I, J, n, split{1});
      [It, Jt, vt, Ih, Jh, vh] = deal (I(~held), J(~held), v(~held), I(held), J(held), v(held));
      rmse = @(x) sqrt (mean ((x - vh) .^ 2));
      base = alsbaseline (It, Jt, vt, m, n, 'lambda', 'auto');
      printf ('%-26s %-6s baseline %.4f (lambda %g)\n', name, split{1}, rmse (alspredict (base, Ih, Jh)), base.lambda);
      for tb = {old, new}
        if isempty (tb{1})
          continue;
        end
        addpath (tb{1});
        tic; [~, ~, h, model] = alscomplete (It, Jt, vt, m, n); t = toc;
        printf ('   %-4s defaults %.4f  %2d sweeps  %5.2f s  (lambda %.3g, biaslambda %g, %s)\n', ...
                ifelse (strcmp (tb{1}, old), 'old', 'new'), rmse (alspredict (model, Ih, Jh)), ...
                h.sweeps, t, h.lambda, h.biaslambda, stopreason (h));
        tic; [~, ~, h, model] = alscomplete (It, Jt, vt, m, n, 'lambda', 'auto'); t = toc;
        printf ('   %-4s auto     %.4f  %2d sweeps  %5.2f s  (lambda %.3g, biaslambda %g, %s)\n', ...
                ifelse (strcmp (tb{1}, old), 'old', 'new'), rmse (alspredict (model, Ih, Jh)), ...
                h.sweeps, t, h.lambda, h.biaslambda, stopreason (h));
        if strcmp (tb{1}, old)
          rmpath (old);
        end
      end
    end
  end
end

function held = holdout (I, J, n, kind)
  if strcmp (kind, 'random')
    rand ('seed', 101);
    held = rand (numel (I), 1) < 0.2;
    return;
  end
  % Each row's 20% on its least popular columns (popularity with noise
  % of a factor of about two), rows of fewer than 2 entries kept whole.
  rand ('seed', 102); randn ('seed', 102);
  pop = accumarray (J, 1, [n 1]);
  key = log (pop(J)) + 0.7 * randn (numel (I), 1);
  held = rowsplit (I, key, 0.2);
end

function s = stopreason (h)
  if isfield (h, 'stopped')
    s = h.stopped;
  elseif h.converged
    s = 'tolerance';
  else
    s = 'sweep limit';
  end
end

function s = ifelse (c, a, b)
  if c
    s = a;
  else
    s = b;
  end
end
