function bench_implicit (sizes, alphas, lambdas)
  % Ranking quality of implicit-feedback fits on rating-like data
  % (synthratings; ratings of 4 and more taken as interactions, 20% of
  % each row's held out): precision@10 and NDCG@10 of the fit against
  % recommending the most popular columns, and the cost of an implicit
  % sweep against an explicit one on the same pattern (rank 10).
  if nargin < 1 || isempty (sizes)
    sizes = [943 1682 1e5; 6040 3706 1e6];
  end
  if nargin < 2
    alphas = [];
  end
  if nargin < 3
    lambdas = [];
  end
  for s = 1:rows (sizes)
    [m, n, N] = deal (sizes(s, 1), sizes(s, 2), sizes(s, 3));
    [It, Jt, Ih, Jh] = implicitdata (m, n, N);
    pop = alsrankmetrics (alspopularity (It, Jt, m, n), Ih, Jh, 10);
    printf ('%d x %d, %d interactions (%d held out): popularity p@10 %.4f ndcg@10 %.4f\n', ...
            m, n, numel (It) + numel (Ih), numel (Ih), pop.precision, pop.ndcg);
    settings = {{}};
    for a = alphas
      for l = lambdas
        settings{end+1} = {'alpha', a, 'lambda', l};
      end
    end
    for k = 1:numel (settings)
      tic; [~, ~, h, model] = alscomplete (It, Jt, ones (numel (It), 1), m, n, ...
                                           'feedback', 'implicit', settings{k}{:}); t = toc;
      met = alsrankmetrics (model, Ih, Jh, 10);
      printf ('  %-28s p@10 %.4f (%.2f x)  ndcg@10 %.4f (%.2f x)  %d sweeps, %.3f s a sweep\n', ...
              ifelse_text (settings{k}), met.precision, met.precision / pop.precision, ...
              met.ndcg, met.ndcg / pop.ndcg, h.sweeps, median (h.time));
    end
    [~, ~, he] = alscomplete (It, Jt, ones (numel (It), 1), m, n, 'rank', 10, 'sweeps', 5, 'tol', 0);
    [~, ~, hi] = alscomplete (It, Jt, ones (numel (It), 1), m, n, 'feedback', 'implicit', ...
                              'rank', 10, 'sweeps', 5, 'tol', 0);
    printf ('  one sweep: implicit %.4f s, explicit %.4f s, ratio %.2f\n', median (hi.time), ...
            median (he.time), median (hi.time) / median (he.time));
  end
end

function s = ifelse_text (c)
  if isempty (c)
    s = 'defaults';
  else
    s = sprintf ('alpha %g lambda %g', c{2}, c{4});
  end
end
