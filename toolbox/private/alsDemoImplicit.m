function result = alsDemoImplicit(path, demo, fitArgs, backend)
%ALSDEMOIMPLICIT  The demo's implicit-feedback run: fit, recommend, rank against popularity.
if isempty(path)
    m = demo.size(1);
    n = demo.size(2);
    fprintf('Synthetic %d-by-%d interaction matrix (rank-%d affinities, skewed activity and popularity)\n', ...
            m, n, demo.truerank);
    [I, J, vals] = alsDemoSynthetic(demo);
else
    [I, J, vals, m, n] = alsDemoRead(path, 'sum');
    if ~isempty(demo.threshold)
        keep = vals >= demo.threshold;
        fprintf('values of at least %g taken as interactions: %d of %d entries\n', ...
                demo.threshold, nnz(keep), numel(vals));
        I = I(keep);
        J = J(keep);
        vals = ones(nnz(keep), 1);
    elseif any(vals < 0)
        error('alsdemo:input', ['alsdemo: %s has negative values; give a ''threshold'' ' ...
                                'to take ratings at or above it as interactions'], path);
    end
end
[I, J, vals, Ih, Jh] = alsSplitHeldout(I, J, vals, demo.holdout, demo.seed + 1, true);
fprintf('%d interactions for the fit, %d held out (%.3g%% of each row''s)\n\n', ...
        numel(I), numel(Ih), 100 * demo.holdout);

opts = [fitArgs, {'backend', backend, 'verbose', true}];
fprintf('Implicit-feedback fit with the %s kernels:\n', backend);
t0 = tic;
[~, ~, hist, model] = alscomplete(I, J, vals, m, n, opts{:});
total = toc(t0);
fit = alsrankmetrics(model, Ih, Jh, demo.k);
pop = alsrankmetrics(alspopularity(I, J, m, n), Ih, Jh, demo.k);
k = demo.k;
fprintf('\n%d sweeps (%s) in %.3f s (%.4f s a sweep, median)\n', hist.sweeps, hist.stopped, total, median(hist.time));
fprintf('\nranking of the held-out interactions of %d rows, top %d:\n', fit.rows, k);
% The empty first column is given as blanks: MATLAB drops an empty
% argument.
fprintf('  %14s %12s %12s %12s %12s\n', blanks(14), sprintf('precision@%d', k), ...
        sprintf('recall@%d', k), sprintf('MAP@%d', k), sprintf('NDCG@%d', k));
fprintf('  %-14s %12.4f %12.4f %12.4f %12.4f\n', 'alscomplete', fit.precision, fit.recall, ...
        fit.map, fit.ndcg);
fprintf('  %-14s %12.4f %12.4f %12.4f %12.4f\n', 'popularity', pop.precision, pop.recall, ...
        pop.map, pop.ndcg);
fprintf('  %-14s %12.2f %12.2f %12.2f %12.2f\n', 'ratio', fit.precision / pop.precision, ...
        fit.recall / pop.recall, fit.map / pop.map, fit.ndcg / pop.ndcg);
result = struct('model', model, 'hist', hist, 'time', total, 'metrics', fit, ...
                'popularity', pop);
end
