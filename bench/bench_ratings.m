function bench_ratings (sizes, varargin)
  % Held-out RMSE on rating-like data (synthratings: skewed activity,
  % offsets, low rank, whole stars), 20% of the entries held out: the
  % global mean, the tuned bias baseline, the routine's plain call (lambda
  % chosen on the data, stopped on its tolerance), the same lambdas run
  % for all 50 sweeps (the stopped fit should be within 0.2% of it), and
  % the former default (lambda 0.1, biaslambda 2, plain count scaling, 50
  % sweeps), whose time the plain call is measured against in the same
  % process (medians of three alternating runs).
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
      % Times: medians of three runs each, the two calls alternating (the
      % first call of a process also pays for fresh memory).
      t = zeros (3, 1);
      t0 = zeros (3, 1);
      for r = 1:3
        tic; [~, ~, h, fit] = alscomplete (It, Jt, vt, m, n); t(r) = toc;
        tic; [~, ~, ~, former] = alscomplete (It, Jt, vt, m, n, 'lambda', 0.1, 'biaslambda', 2, ...
                                              'pseudocount', 0, 'sweeps', 50, 'tol', 0); t0(r) = toc;
      end
      t = median (t);
      t0 = median (t0);
      [~, ~, ~, full] = alscomplete (It, Jt, vt, m, n, 'lambda', h.lambda, 'biaslambda', h.biaslambda, ...
                                     'sweeps', 50, 'tol', 0);
      e = rmse (alspredict (fit, Ih, Jh));
      e50 = rmse (alspredict (full, Ih, Jh));
      printf ('%5d x %5d, %8d entries (seed %d): mean %.4f  bias %.4f (lambda %g)\n', ...
              m, n, numel (I), seed, rmse (mean (vt)), rmse (alspredict (base, Ih, Jh)), base.lambda);
      printf ('   defaults %.4f (lambda %.3g, biaslambda %g, %d sweeps, %s, %.2f s)   50 sweeps %.4f (%+.2f%%)\n', ...
              e, h.lambda, h.biaslambda, h.sweeps, h.stopped, t, e50, 100 * (e / e50 - 1));
      printf ('   former default %.4f (50 sweeps, %.2f s): time ratio %.2f\n', ...
              rmse (alspredict (former, Ih, Jh)), t0, t / t0);
    end
  end
end
