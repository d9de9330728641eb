function bench_ratings (sizes, varargin)
  % Held-out RMSE on rating-like data (synthratings: skewed activity,
  % offsets, low rank, whole stars), 20% of the entries held out: the
  % global mean, the tuned bias baseline, the fit with the routine's
  % defaults and with 'lambda' 'auto', and the former formulation
  % (uniform lambda, no biases, values centered by their mean) at its best
  % of a few lambdas. Also the time of 'auto' against one plain fit.
  % Further arguments go to synthratings ('taste', 'noise', 'half', ...).
  if nargin < 1
    sizes = [943 1682 1e5; 6040 3706 1e6];
  end
  for s = 1:rows (sizes)
    [m, n, N] = deal (sizes(s, 1), sizes(s, 2), sizes(s, 3));
    for seed = 1:2
      [I, J, v] = synthratings (m, n, N, seed, varargin{:});
      rand ('seed', 100 + seed);
      held = rand (numel (I), 1) < 0.2;
      [It, Jt, vt, Ih, Jh, vh] = deal (I(~held), J(~held), v(~held), I(held), J(held), v(held));
      rmse = @(x) sqrt (mean ((x - vh) .^ 2));
      base = alsbaseline (It, Jt, vt, m, n, 'lambda', 'auto');
      tic; [~, ~, h1, fit] = alscomplete (It, Jt, vt, m, n); t1 = toc;
      tic; [~, ~, h2, auto] = alscomplete (It, Jt, vt, m, n, 'lambda', 'auto'); t2 = toc;
      old = Inf;
      for lam = [1 3 10 30]
        [U, V] = alscomplete (It, Jt, vt - mean (vt), m, n, 'regularization', 'uniform', ...
                              'biases', false, 'lambda', lam, 'sweeps', 20, 'tol', 1e-4);
        old = min (old, rmse (mean (vt) + sum (U(Ih, :) .* V(:, Jh).', 2)));
      end
      printf ('%5d x %5d, %8d entries (seed %d): mean %.4f  bias %.4f (lambda %g)  former best %.4f\n', ...
              m, n, numel (I), seed, rmse (mean (vt)), rmse (alspredict (base, Ih, Jh)), ...
              base.lambda, old);
      printf ('   defaults %.4f (%d sweeps, %.1f s)   auto %.4f (lambda %g, biaslambda %g, %d sweeps, %.1f s, %.2f x)\n', ...
              rmse (alspredict (fit, Ih, Jh)), h1.sweeps, t1, rmse (alspredict (auto, Ih, Jh)), ...
              h2.lambda, h2.biaslambda, h2.sweeps, t2, t2 / t1);
      printf ('   auto walk: %s\n', sprintf ('%g:%.4f ', [h2.lambdaSearch.grid; h2.lambdaSearch.rmse]));
    end
  end
end
