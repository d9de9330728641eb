function result = alsdemo(path, varargin)
%ALSDEMO  Matrix completion on a file or a synthetic problem, against the baselines.
%   ALSDEMO builds a seeded synthetic 3000-by-2000 matrix of rank 10 plus
%   Gaussian noise of standard deviation 0.1, observes about 5% of its
%   entries and holds out 10% of those. It fits a rank-10 model with
%   ALSCOMPLETE (lambda 'auto') on the compiled kernels, printing what the
%   set-up does and one line per sweep (objective, train and held-out RMSE,
%   gradient norm, seconds, time left), then the held-out RMSE against the
%   noise level. It then runs one fit with the chosen lambda on the
%   compiled and on the plain-language kernels and prints both times,
%   their ratio, the per-sweep ratio and the largest difference between
%   the two fitted matrices (they agree to about 1e-8).
%
%   ALSDEMO(PATH) does the same on a file of triplets (see READTRIPLETS),
%   holding out a random 20% of its entries (a pair given more than once
%   counts once, with the mean of its values), and prints the held-out
%   RMSE of three predictors side by side: the global mean of the training
%   values, the bias baseline (mean plus row and column offsets, its
%   lambda tuned by ALSBASELINE) and the fit.
%
%   ALSDEMO(PATH, 'feedback', 'implicit') treats the file as interactions:
%   values are interaction strengths (a repeated pair adds up), or with
%   'threshold', T every entry whose value is at least T becomes one
%   interaction (of strength 1) and the others are dropped, as for
%   ratings. It holds out a random 20% of each row's interactions, fits
%   with ALSCOMPLETE(..., 'feedback', 'implicit') and its defaults, and
%   prints precision, recall, MAP and NDCG at 10 of the fit's
%   recommendations (ALSRECOMMEND, training columns left out) and of
%   recommending the most popular columns (ALSPOPULARITY), with the time
%   per sweep. ALSDEMO([], 'feedback', 'implicit') does the same on a
%   synthetic 3000-by-2000 interaction matrix (skewed activity and
%   popularity, rank-10 affinities, about 1% of the entries).
%
%   ALSDEMO(PATH, 'name', value, ...) or ALSDEMO([], ...) also takes
%     size      [3000 2000]  rows and columns of the synthetic matrix
%     truerank  [10]         its rank
%     density   [0.05, implicit 0.01]  fraction of its entries observed
%     noise     [0.1]        standard deviation of the noise
%     holdout   [0.2; 0.1 for the synthetic matrix]  fraction held out
%     compare   [true]       also run the plain kernels and compare
%     threshold []           implicit feedback from ratings: see above
%     k         [10]         length of the recommendation lists
%   and passes every other option on to ALSCOMPLETE ('rank', 'lambda',
%   'sweeps', 'seed', ...; 'lambda' is 'auto' unless given).
%
%   Bad options (a size, rank, density, holdout, noise, seed, threshold or
%   k out of range or not a number, compare not true or false, 'heldout'
%   or 'backend', which the demo sets itself), and options that
%   ALSCOMPLETE would refuse, raise an error with identifier
%   'alsdemo:input' before anything is read, drawn or fitted.
%
%   RESULT = ALSDEMO(...) returns the fits, histories, errors and timings
%   instead of only printing them.
%
%   The synthetic data, the held-out part and the validation part come
%   from the host's generator (seeded by 'seed', a whole number from 0 to
%   2^32-2): MATLAB and Octave draw differently from the same seed, so
%   their figures differ slightly.
%
%   The compiled plug-ins are taken from the path when all five are there,
%   else from out/octave or out/install/<host> of this repository. Without
%   them the demo runs the plain kernels only, and says so.
%
%   See also ALSCOMPLETE, ALSBASELINE, ALSRECOMMEND, ALSRANKMETRICS,
%   READTRIPLETS, INSTALL_KERNELS.

if nargin < 1
    path = [];
end
[path, varargin] = alsChars(path, varargin);
if ~isempty(path) && (~ischar(path) || size(path, 1) ~= 1)
    alsInputError('alsdemo', 'PATH must be a file name or [] for the synthetic problem');
end
fromFile = ~isempty(path);
[demo, fitArgs] = alsDemoOptions(varargin, fromFile);
haveCompiled = alsFindKernels();
backend = 'compiled';
if ~haveCompiled
    backend = 'plain';
    fprintf('The compiled kernels were not found: running the plain ones only.\n');
end
if strcmp(demo.feedback, 'implicit')
    result = alsDemoImplicit(path, demo, fitArgs, backend);
    if nargout == 0
        clear result;
    end
    return;
end

if ~fromFile
    [m, n] = deal(demo.size(1), demo.size(2));
    fprintf('Synthetic %d-by-%d matrix of rank %d plus noise %.3g, %.3g%% observed, %.3g%% of those held out\n', ...
            m, n, demo.truerank, demo.noise, 100 * demo.density, 100 * demo.holdout);
    [I, J, vals] = alsDemoSynthetic(demo);
else
    [I, J, vals, m, n] = alsDemoRead(path, 'mean');
end
[I, J, vals, Ih, Jh, vh] = alsSplitHeldout(I, J, vals, demo.holdout, demo.seed + 1, false);
fprintf('%d entries observed for the fit, %d held out\n\n', numel(I), numel(Ih));

opts = [{'lambda', 'auto'}, fitArgs, {'heldout', {Ih, Jh, vh}, 'backend', backend, 'verbose', true}];
fprintf('Fit with the %s kernels:\n', backend);
t0 = tic;
[U, V, hist, model] = alscomplete(I, J, vals, m, n, opts{:});
total = toc(t0);
rmse = @(x) sqrt(mean((x - vh) .^ 2));
final = rmse(alspredict(model, Ih, Jh));
fprintf('\n%d sweeps, %s; %.3f s in all (%.3f s before the first sweep)\n', hist.sweeps, ...
        converged(hist), total, hist.setup);
base = alsbaseline(I, J, vals, m, n, 'lambda', 'auto');
result = struct('U', U, 'V', V, 'hist', hist, 'model', model, 'time', total, ...
                'rmse', final, 'rmseMean', rmse(mean(vals)), ...
                'rmseBias', rmse(alspredict(base, Ih, Jh)), 'bias', base);
fprintf('\nheld-out RMSE on %d entries:\n', numel(vh));
fprintf('  %-26s %8.5f\n', 'global mean', result.rmseMean);
fprintf('  %-26s %8.5f   (lambda %g)\n', 'bias baseline', result.rmseBias, base.lambda);
fprintf('  %-26s %8.5f   (rank %d, lambda %g', 'alscomplete', final, model.rank, hist.lambda);
if isfield(hist, 'biaslambda')
    fprintf(', biaslambda %g', hist.biaslambda);
end
fprintf(')\n');
if ~fromFile
    fprintf('  %-26s %8.5f   (ratio %.3f)\n', 'noise level', demo.noise, final / demo.noise);
    result.noise = demo.noise;
end

if haveCompiled && demo.compare
    % One fit with the chosen lambdas and a fixed number of sweeps on each
    % backend: the same algorithm, so the same iterates up to rounding.
    fixed = [fitArgs, {'lambda', hist.lambda, 'sweeps', hist.sweeps, 'tol', 0, 'verbose', false}];
    if isfield(hist, 'biaslambda')
        fixed = [fixed, {'biaslambda', hist.biaslambda}];
    end
    fprintf('\nThe fit with lambda %g and %d sweeps on both backends:\n', hist.lambda, hist.sweeps);
    t0 = tic;
    [~, ~, histc, mc] = alscomplete(I, J, vals, m, n, fixed{:}, 'backend', 'compiled');
    totalc = toc(t0);
    t0 = tic;
    [~, ~, histp, mp] = alscomplete(I, J, vals, m, n, fixed{:}, 'backend', 'plain');
    totalp = toc(t0);
    [Ac, Bc] = full(mc);
    [Ap, Bp] = full(mp);
    gap = alsLargestDifference(Ac, Bc, Ap, Bp);
    scale = alsLargestDifference(Ac, Bc, zeros(m, 1), zeros(1, n));
    perSweep = median(histc.time);
    perSweepPlain = median(histp.time);
    fprintf('total time: compiled %.3f s, plain %.3f s, ratio %.1f\n', ...
            totalc, totalp, totalp / totalc);
    fprintf('one sweep (median): compiled %.4f s, plain %.4f s, ratio %.1f\n', ...
            perSweep, perSweepPlain, perSweepPlain / perSweep);
    fprintf('largest difference between the two fitted matrices: %.3g (largest entry %.3g)\n', ...
            gap, scale);
    result.plain = struct('hist', histp, 'time', totalp);
    result.maxdiff = gap;
    result.sweepratio = perSweepPlain / perSweep;
end
if nargout == 0
    clear result;
end
end


function [A, B] = full(model)
% Factors whose product is the model's whole prediction.
A = [model.U, model.mean + model.rowBias, ones(size(model.rowBias))];
B = [model.V; ones(size(model.colBias)); model.colBias];
end


function s = converged(hist)
if hist.converged
    s = 'converged';
else
    s = 'sweep limit reached';
end
end
