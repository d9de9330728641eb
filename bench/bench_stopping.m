function bench_stopping (sizes)
  % The implicit-feedback fit stopped on its tolerance against the same
  % fit run for all 50 sweeps, on bench_implicit's data (synthratings,
  % ratings of 4 and more as interactions, 20% of each row's held out):
  % precision@10 and NDCG@10, sweeps and time of each.
  if nargin < 1
    sizes = [943 1682 1e5; 671 9066 1e5; 6040 3706 1e6];
  end
  for s = 1:rows (sizes)
    [m, n, N] = deal (sizes(s, 1), sizes(s, 2), sizes(s, 3));
    [It, Jt, Ih, Jh] = implicitdata (m, n, N);
    x = ones (numel (It), 1);
    tic; [~, ~, h, stopped] = alscomplete (It, Jt, x, m, n, 'feedback', 'implicit'); t = toc;
    tic; [~, ~, h50, full] = alscomplete (It, Jt, x, m, n, 'feedback', 'implicit', 'tol', 0); t50 = toc;
    a = alsrankmetrics (stopped, Ih, Jh, 10);
    b = alsrankmetrics (full, Ih, Jh, 10);
    printf ('%d x %d, %d interactions: stopped p@10 %.4f ndcg %.4f (%d sweeps, %s, %.2f s); ', ...
            m, n, numel (It), a.precision, a.ndcg, h.sweeps, h.stopped, t);
    printf ('50 sweeps p@10 %.4f ndcg %.4f (%.2f s): %+.2f%% / %+.2f%%\n', b.precision, b.ndcg, t50, ...
            100 * (a.precision / b.precision - 1), 100 * (a.ndcg / b.ndcg - 1));
  end
end
