function result = alsdemo(path, varargin)
%ALSDEMO  Matrix completion with the compiled kernels, checked against the plain ones.
%   ALSDEMO builds a seeded synthetic 3000-by-2000 matrix of rank 10 plus
%   Gaussian noise of standard deviation 0.1, observes about 5% of its
%   entries and holds out 10% of those. It fits a rank-10 model with
%   ALSCOMPLETE on the compiled kernels, printing one line per sweep
%   (objective, train and held-out RMSE, gradient norm, seconds), then the
%   held-out RMSE against the noise level. It then runs the same fit with
%   the plain-language kernels and prints both total times, their ratio,
%   the per-sweep ratio and the largest difference between the two fitted
%   matrices (they agree to about 1e-8).
%
%   ALSDEMO(PATH) does the same on a file of triplets (see READTRIPLETS),
%   holding out a random 10% of its entries. The model is fitted to the
%   values minus their training mean; the held-out RMSE is compared with
%   that of predicting the mean.
%
%   ALSDEMO(PATH, 'name', value, ...) or ALSDEMO([], ...) also takes
%     size      [3000 2000]  rows and columns of the synthetic matrix
%     truerank  [10]         its rank
%     density   [0.05]       fraction of its entries observed
%     noise     [0.1]        standard deviation of the noise
%     holdout   [0.1]        fraction of the observed entries held out
%     compare   [true]       also run the plain kernels and compare
%   and passes every other option on to ALSCOMPLETE (rank [10], lambda
%   [0.1 for the synthetic matrix, 10 for a file], sweeps [20], tol [1e-4],
%   seed [0], ...).
%
%   RESULT = ALSDEMO(...) returns the fits, histories and timings instead
%   of only printing them.
%
%   The compiled plug-ins are taken from the path when all five are there,
%   else from out/octave or out/install/<host> of this repository. Without
%   them the demo runs the plain kernels only, and says so.
%
%   See also ALSCOMPLETE, READTRIPLETS, INSTALL_KERNELS.

if nargin < 1
    path = [];
end
[demo, fitArgs] = demoOptions(varargin);
haveCompiled = findKernels();

if isempty(path)
    [m, n] = deal(demo.size(1), demo.size(2));
    fprintf('Synthetic %d-by-%d matrix of rank %d plus noise %.3g, %.3g%% observed, %.3g%% of those held out\n', ...
            m, n, demo.truerank, demo.noise, 100 * demo.density, 100 * demo.holdout);
    [I, J, vals, Ih, Jh, vh] = syntheticProblem(demo);
    offset = 0;
    defaultLambda = 0.1;
else
    [I, J, vals, rowIds, colIds] = readtriplets(path);
    m = numel(rowIds);
    n = numel(colIds);
    % Rating files often hold the same (row, column) pair more than once;
    % the fit takes each pair once, with the mean of its values.
    [pairs, ~, which] = unique([I(:) J(:)], 'rows');
    if size(pairs, 1) < numel(I)
        fprintf('%s: %d repeated (row, column) pairs, each replaced by the mean of its values\n', ...
                path, numel(I) - size(pairs, 1));
        vals = accumarray(which, vals(:)) ./ accumarray(which, 1);
        I = pairs(:, 1);
        J = pairs(:, 2);
    end
    [I, J, vals, Ih, Jh, vh] = splitHeldout(I, J, vals, demo.holdout, demo.seed);
    offset = mean(vals);
    vals = vals - offset;
    vh = vh - offset;
    defaultLambda = 10;
    fprintf('%s: %d-by-%d, %d entries, %d of them held out; values centered by %.4g\n', ...
            path, m, n, numel(I) + numel(Ih), numel(Ih), offset);
end
fprintf('%d entries observed for the fit, %d held out\n\n', numel(I), numel(Ih));

base = {'rank', 10, 'lambda', defaultLambda, 'sweeps', 20, 'tol', 1e-4, ...
        'heldout', {Ih, Jh, vh}};
first = 'compiled';
if ~haveCompiled
    first = 'plain';
    fprintf('The compiled kernels were not found: running the plain ones only.\n');
end
opts = [base, fitArgs, {'backend', first, 'verbose', true}];

fprintf('Fit with the %s kernels:\n', first);
t0 = tic;
[U, V, hist] = alscomplete(I, J, vals, m, n, opts{:});
total = toc(t0);
result = struct('U', U, 'V', V, 'hist', hist, 'time', total, 'offset', offset);
final = hist.rmse_heldout(end);
fprintf('\n%d sweeps, %s, %.3f s in all\n', hist.sweeps, ...
        ternary(hist.converged, 'converged', 'sweep limit reached'), total);
if isempty(path)
    fprintf('held-out RMSE %.5f against noise level %.5f (ratio %.3f)\n', ...
            final, demo.noise, final / demo.noise);
    result.noise = demo.noise;
else
    fprintf('held-out RMSE %.5f against %.5f for predicting the mean\n', ...
            final, sqrt(mean(vh.^2)));
end

if haveCompiled && demo.compare
    fprintf('\nThe same fit with the plain kernels (%d sweeps):\n', hist.sweeps);
    popts = [base, fitArgs, {'backend', 'plain', 'verbose', false, ...
                             'sweeps', hist.sweeps, 'tol', 0}];
    t0 = tic;
    [Up, Vp, histp] = alscomplete(I, J, vals, m, n, popts{:});
    totalp = toc(t0);
    gap = largestDifference(U, V, Up, Vp);
    scale = largestDifference(U, V, zeros(m, 1), zeros(1, n));
    perSweep = median(hist.time);
    perSweepPlain = median(histp.time);
    fprintf('total time: compiled %.3f s, plain %.3f s, ratio %.1f\n', ...
            total, totalp, totalp / total);
    fprintf('one sweep (median): compiled %.4f s, plain %.4f s, ratio %.1f\n', ...
            perSweep, perSweepPlain, perSweepPlain / perSweep);
    fprintf('largest difference between the two fitted matrices: %.3g (largest entry %.3g)\n', ...
            gap, scale);
    result.plain = struct('U', Up, 'V', Vp, 'hist', histp, 'time', totalp);
    result.maxdiff = gap;
    result.sweepratio = perSweepPlain / perSweep;
end
if nargout == 0
    clear result;
end
end


function [demo, rest] = demoOptions(args)
demo = struct('size', [3000 2000], 'truerank', 10, 'density', 0.05, 'noise', 0.1, ...
              'holdout', 0.1, 'compare', true, 'seed', 0);
names = fieldnames(demo);
rest = {};
if mod(numel(args), 2) ~= 0
    error('alsdemo:input', 'alsdemo: options must come as name/value pairs');
end
for k = 1:2:numel(args)
    hit = find(strcmpi(args{k}, names), 1);
    if ~isempty(hit)
        demo.(names{hit}) = args{k + 1};
        if strcmp(names{hit}, 'seed')
            rest = [rest, args(k:k + 1)]; %#ok<AGROW>
        end
    else
        rest = [rest, args(k:k + 1)]; %#ok<AGROW>
    end
end
end


function ok = findKernels()
% True when all five plug-ins are callable, after looking in this
% repository's build folders if they are not on the path yet.
names = {'delmirost', 'korvanthe', 'vantresk', 'ombrelast', 'nzoverwrite'};
ok = allFound(names);
if ok
    return;
end
root = fileparts(fileparts(mfilename('fullpath')));
if exist('OCTAVE_VERSION', 'builtin') ~= 0
    places = {fullfile(root, 'out', 'octave'), fullfile(root, 'out', 'install', 'octave')};
else
    places = {fullfile(root, 'out', 'install', 'matlab')};
end
for k = 1:numel(places)
    if exist(fullfile(places{k}, [names{1} '.' mexext]), 'file')
        addpath(places{k});
        ok = allFound(names);
        if ok
            return;
        end
    end
end
end


function ok = allFound(names)
ok = true;
for k = 1:numel(names)
    ok = ok && exist(names{k}) == 3; %#ok<EXIST>
end
end


function [I, J, vals, Ih, Jh, vh] = syntheticProblem(demo)
% A rank-truerank matrix with unit-variance entries plus noise, observed
% at a random subset of distinct positions, of which a part is held out.
saved = rng;
rng(demo.seed);
m = demo.size(1);
n = demo.size(2);
r = demo.truerank;
A = randn(m, r);
B = randn(r, n) / sqrt(r);
count = round(demo.density * m * n);
pos = randperm(m * n, count);
pos = pos(:);
I = mod(pos - 1, m) + 1;
J = (pos - I) / m + 1;
vals = sum(A(I, :) .* B(:, J).', 2) + demo.noise * randn(count, 1);
rng(saved);
[I, J, vals, Ih, Jh, vh] = splitHeldout(I, J, vals, demo.holdout, demo.seed + 1);
end


function [I, J, vals, Ih, Jh, vh] = splitHeldout(I, J, vals, fraction, seed)
saved = rng;
rng(seed);
perm = randperm(numel(I));
rng(saved);
nh = round(fraction * numel(I));
held = perm(1:nh);
keep = perm(nh + 1:end);
Ih = I(held);
Jh = J(held);
vh = vals(held);
I = I(keep);
J = J(keep);
vals = vals(keep);
end


function d = largestDifference(U1, V1, U2, V2)
% Largest entry of |U1*V1 - U2*V2|, a block of columns at a time.
n = size(V1, 2);
d = 0;
step = 250;
for c = 1:step:n
    cols = c:min(c + step - 1, n);
    d = max(d, max(max(abs(U1 * V1(:, cols) - U2 * V2(:, cols)))));
end
end


function s = ternary(cond, a, b)
if cond
    s = a;
else
    s = b;
end
end
