function [U, V, hist] = alscomplete(I, J, vals, m, n, varargin)
%ALSCOMPLETE  Low-rank matrix completion by regularized alternating least squares.
%   [U, V, HIST] = ALSCOMPLETE(I, J, VALS, M, N) fits a rank-r model U*V,
%   U M-by-r and V r-by-N, to an M-by-N matrix known only at the observed
%   entries (I(k), J(k)) with values VALS(k). I and J are 1-based row and
%   column indices; I, J and VALS are vectors with the same number of
%   elements, and no (row, column) pair may occur twice.
%
%   [U, V, HIST] = ALSCOMPLETE(I, J, VALS, M, N, OPTS) takes the options
%   from the fields of the struct OPTS; ALSCOMPLETE(..., 'name', value, ...)
%   takes them as name/value pairs (names are case-insensitive).
%
%   The fit minimizes
%       f(U, V) = 1/2 * sum_k w(k) * (VALS(k) - U(I(k),:) * V(:,J(k)))^2
%               + LAMBDA/2 * (norm(U, 'fro')^2 + norm(V, 'fro')^2)
%   by sweeps of two exact block minimizations, starting from U0:
%     V step: for every column j, V(:,j) solves
%             (sum_k w(k) U(I(k),:)' U(I(k),:) + LAMBDA*eye(r)) v = sum_k w(k) VALS(k) U(I(k),:)'
%             over the entries k of column j (factors from DELMIROST, solves
%             by VANTRESK);
%     U step: the same for every row, given V (factors from KORVANTHE on
%             the transposed pattern holding sqrt(w), solves by VANTRESK).
%   After each sweep the model is evaluated at the observed and held-out
%   entries with OMBRELAST; the weighted residual w.*(VALS - prediction)
%   lives in one sparse matrix E on the observed pattern whose values are
%   refreshed in place with NZOVERWRITE, and the norm of the gradient of f,
%       (LAMBDA*U - E*V', LAMBDA*V - U'*E),
%   decides when to stop. (After the U step its U part is zero up to
%   rounding, since U minimizes f for the given V; only the V part is
%   computed.)
%
%   Options (defaults in brackets):
%     rank     [10]     number of columns of U (rows of V), an integer >= 1
%     lambda   [0.1]    regularization weight, > 0
%     sweeps   [50]     largest number of sweeps
%     tol      [1e-6]   stop once the gradient norm is at most tol times
%                       its value at the start point (U0, V = 0); 0 never stops early
%     weights  [ones]   per-entry weights w >= 0, one per observed entry
%     heldout  [none]   entries kept out of the fit, reported as held-out
%                       RMSE: a struct with fields I, J, vals, a cell
%                       {I, J, vals}, or a K-by-3 matrix [i j value]
%     verbose  [false]  print one line per sweep
%     init     ['svd']  start point U0 when none is given: 'svd' takes the
%                       leading singular vectors of the weighted data
%                       (zeros where nothing is observed), scaled by the
%                       observed fraction; 'random' takes Gaussian entries
%     seed     [0]      seed of the random numbers of the start point (the
%                       global random state is restored afterwards)
%     U0       []       explicit M-by-rank start for U (init and seed unused)
%     backend  ['auto'] 'compiled' uses the compiled kernels, 'plain' their
%                       plain-language equivalents in the plain/ folder;
%                       'auto' takes the compiled kernels when all five are
%                       on the path. Both run the same algorithm and give
%                       the same iterates up to rounding.
%
%   HIST is a struct with one element per sweep in each of the column vectors
%     objective     f(U, V) after the sweep
%     rmse_train    root mean square of VALS - prediction over the observed entries
%     rmse_heldout  the same over the held-out entries (NaN without them)
%     gradnorm      Frobenius norm of the gradient of f
%     time          seconds the sweep took, evaluation included
%   and the scalars gradnorm0 (gradient norm at the start point), sweeps,
%   converged (true when the tolerance was met) and backend ('compiled' or
%   'plain').
%
%   Bad input (indices outside 1..M or 1..N, vectors of different lengths,
%   repeated pairs, a rank below 1, a non-positive lambda, ...) raises an
%   error with identifier 'alscomplete:input' before any kernel runs.
%
%   Example:
%     A = randn(200, 3) * randn(3, 150);
%     [I, J] = find(sprand(200, 150, 0.2));
%     [U, V, hist] = alscomplete(I, J, A(sub2ind(size(A), I, J)), 200, 150, ...
%                                'rank', 3, 'lambda', 1e-6, 'verbose', true);
%     norm(U*V - A, 'fro') / norm(A, 'fro')
%
%   See also DELMIROST, KORVANTHE, VANTRESK, OMBRELAST, NZOVERWRITE, READTRIPLETS.

opts = parseOptions(varargin);
[Id, Jd, vals, m, n] = checkEntries(I, J, vals, m, n, 'I', 'J', 'vals');
N = numel(Id);
if N == 0
    fail('at least one observed entry is needed');
end
r = opts.rank;
w = checkWeights(opts.weights, N);
[Ih, Jh, vh] = checkHeldout(opts.heldout, m, n);
if ~isempty(opts.U0)
    U = opts.U0;
    if ~isa(U, 'double') || ~isreal(U) || ~isequal(size(U), [m r]) || ~all(isfinite(U(:)))
        fail(sprintf('U0 must be a finite real %d-by-%d double matrix', m, r));
    end
    U = full(U);
end

% Sort the entries by column, then by row: the order the triplet builder
% walks (block = column) and the storage order of every sparse matrix on
% the observed pattern, so one vector order serves all of them.
[lin, ord] = sort((Jd - 1) * m + Id);
dup = find(diff(lin) == 0, 1);
if ~isempty(dup)
    fail(sprintf('the entry (%d, %d) is observed more than once', ...
                 Id(ord(dup)), Jd(ord(dup))));
end
kern = kernelSet(opts.backend);
if isempty(opts.U0)
    U = startPoint(Id, Jd, w .* vals, m, n, r, opts.init, opts.seed);
end

% All input is checked; from here on the kernels run.
Is = Id(ord);
Js = Jd(ord);
v = vals(ord);
w = w(ord);
I32 = uint32(Is);
J32 = uint32(Js);
nBlocks = uint32(n);
lambda = opts.lambda;
B = sparse(Is, Js, w .* v, m, n);     % weighted data, for the right-hand sides
Bt = B.';
Ct = sparse(Js, Is, sqrt(w), n, m);   % transposed pattern, scales sqrt(w)
E = sparse(Is, Js, ones(N, 1), m, n); % weighted residual, refreshed in place
Ih32 = uint32(Ih);
Jh32 = uint32(Jh);

% Gradient at the start point (U0, V = 0), where the residual is VALS.
gU0 = lambda * U;
gV0 = -(U.' * B);
hist.gradnorm0 = sqrt(sum(gU0(:).^2) + sum(gV0(:).^2));

maxSweeps = opts.sweeps;
hist.objective = NaN(maxSweeps, 1);
hist.rmse_train = NaN(maxSweeps, 1);
hist.rmse_heldout = NaN(maxSweeps, 1);
hist.gradnorm = NaN(maxSweeps, 1);
hist.time = NaN(maxSweeps, 1);
hist.sweeps = 0;
hist.converged = false;
hist.backend = kern.name;
if opts.verbose
    fprintf('%5s  %14s  %11s  %11s  %10s  %8s\n', 'sweep', 'objective', ...
            'train RMSE', 'held RMSE', '|grad|', 'seconds');
end

V = zeros(r, n);
for s = 1:maxSweeps
    t0 = tic;
    % V step: one regularized normal matrix per column of the pattern.
    Rv = kern.delmirost(w, U, lambda, I32, J32, nBlocks);
    V = kern.vantresk(Rv, U.' * B);
    % U step: one per row, through the transposed pattern.
    Ru = kern.korvanthe(Ct, V.', lambda);
    U = kern.vantresk(Ru, V * Bt).';

    % Evaluate at the observed entries and refresh the residual matrix.
    res = v - kern.ombrelast(U, V, I32, J32);
    ew = w .* res;
    if kern.inPlace
        nzoverwrite(E, ew);
    else
        E = plain_nzoverwrite(E, ew, Is, Js);
    end
    % The U part of the gradient, lambda*U - E*V', vanishes: U has just
    % been solved for exactly, given V. Only the V part is left.
    gV = lambda * V - U.' * E;
    % Sums of squares as inner products: no temporaries on the pattern.
    g = sqrt(gV(:).' * gV(:));
    hist.objective(s) = 0.5 * (res.' * ew + lambda * (U(:).' * U(:) + V(:).' * V(:)));
    hist.rmse_train(s) = sqrt((res.' * res) / N);
    if ~isempty(Ih)
        resh = vh - kern.ombrelast(U, V, Ih32, Jh32);
        hist.rmse_heldout(s) = sqrt((resh.' * resh) / numel(resh));
    end
    hist.gradnorm(s) = g;
    hist.time(s) = toc(t0);
    hist.sweeps = s;
    if opts.verbose
        fprintf('%5d  %14.8e  %11.6f  %11.6f  %10.3e  %8.3f\n', s, hist.objective(s), ...
                hist.rmse_train(s), hist.rmse_heldout(s), g, hist.time(s));
    end
    if g <= opts.tol * hist.gradnorm0
        hist.converged = true;
        break;
    end
end

k = hist.sweeps;
hist.objective = hist.objective(1:k);
hist.rmse_train = hist.rmse_train(1:k);
hist.rmse_heldout = hist.rmse_heldout(1:k);
hist.gradnorm = hist.gradnorm(1:k);
hist.time = hist.time(1:k);
end


function fail(msg)
error('alscomplete:input', 'alscomplete: %s.', msg);
end


function opts = parseOptions(args)
opts = struct('rank', 10, 'lambda', 0.1, 'sweeps', 50, 'tol', 1e-6, ...
              'weights', [], 'heldout', [], 'verbose', false, 'seed', 0, ...
              'U0', [], 'init', 'svd', 'backend', 'auto');
known = fieldnames(opts);
if numel(args) == 1 && isstruct(args{1})
    given = args{1};
    names = fieldnames(given);
    values = cell(size(names));
    for k = 1:numel(names)
        values{k} = given.(names{k});
    end
else
    if mod(numel(args), 2) ~= 0
        fail('options must be a struct or name/value pairs');
    end
    names = args(1:2:end);
    values = args(2:2:end);
end
for k = 1:numel(names)
    if ~ischar(names{k})
        fail('option names must be character strings');
    end
    hit = find(strcmpi(names{k}, known), 1);
    if isempty(hit)
        fail(sprintf('unknown option ''%s''', names{k}));
    end
    opts.(known{hit}) = values{k};
end

r = opts.rank;
if ~isnumeric(r) || ~isscalar(r) || ~isreal(r) || ~isfinite(r) || r ~= round(r) || r < 1
    fail('rank must be an integer of at least 1');
end
opts.rank = double(r);
if ~isnumeric(opts.lambda) || ~isscalar(opts.lambda) || ~isreal(opts.lambda) ...
        || ~isfinite(opts.lambda) || opts.lambda <= 0
    fail('lambda must be a positive finite scalar');
end
opts.lambda = double(opts.lambda);
s = opts.sweeps;
if ~isnumeric(s) || ~isscalar(s) || ~isreal(s) || ~isfinite(s) || s ~= round(s) || s < 1
    fail('sweeps must be an integer of at least 1');
end
opts.sweeps = double(s);
if ~isnumeric(opts.tol) || ~isscalar(opts.tol) || ~isreal(opts.tol) || ~(opts.tol >= 0)
    fail('tol must be a non-negative scalar');
end
opts.tol = double(opts.tol);
if ~isnumeric(opts.seed) || ~isscalar(opts.seed) || ~isreal(opts.seed) || opts.seed < 0
    fail('seed must be a non-negative scalar');
end
opts.verbose = logical(opts.verbose(1));
if ~ischar(opts.init) || ~any(strcmpi(opts.init, {'svd', 'random'}))
    fail('init must be ''svd'' or ''random''');
end
opts.init = lower(opts.init);
if ~ischar(opts.backend) || ~any(strcmpi(opts.backend, {'auto', 'compiled', 'plain'}))
    fail('backend must be ''auto'', ''compiled'' or ''plain''');
end
opts.backend = lower(opts.backend);
end


function [I, J, vals, m, n] = checkEntries(I, J, vals, m, n, nameI, nameJ, nameV)
if ~isnumeric(m) || ~isscalar(m) || ~isreal(m) || m ~= round(m) || m < 1 || m >= 2^32
    fail('m must be a positive integer below 2^32');
end
if ~isnumeric(n) || ~isscalar(n) || ~isreal(n) || n ~= round(n) || n < 1 || n >= 2^32
    fail('n must be a positive integer below 2^32');
end
m = double(m);
n = double(n);
if ~isnumeric(I) || ~isnumeric(J) || ~isnumeric(vals) || ~isreal(I) || ~isreal(J) || ~isreal(vals)
    fail(sprintf('%s, %s and %s must be real numeric vectors', nameI, nameJ, nameV));
end
if numel(I) ~= numel(J) || numel(I) ~= numel(vals)
    fail(sprintf('%s, %s and %s must have the same number of elements (got %d, %d and %d)', ...
                 nameI, nameJ, nameV, numel(I), numel(J), numel(vals)));
end
I = double(full(I(:)));
J = double(full(J(:)));
vals = double(full(vals(:)));
k = find(~(I >= 1 & I <= m & I == round(I)), 1);
if ~isempty(k)
    fail(sprintf('%s(%d) = %g is not a row index in 1..%d', nameI, k, I(k), m));
end
k = find(~(J >= 1 & J <= n & J == round(J)), 1);
if ~isempty(k)
    fail(sprintf('%s(%d) = %g is not a column index in 1..%d', nameJ, k, J(k), n));
end
k = find(~isfinite(vals), 1);
if ~isempty(k)
    fail(sprintf('%s(%d) is not finite', nameV, k));
end
end


function w = checkWeights(w, N)
if isempty(w)
    w = ones(N, 1);
    return;
end
if ~isnumeric(w) || ~isreal(w) || numel(w) ~= N
    fail(sprintf('weights must be a real vector with one element per observed entry (%d, got %d)', ...
                 N, numel(w)));
end
w = double(full(w(:)));
k = find(~(isfinite(w) & w >= 0), 1);
if ~isempty(k)
    fail(sprintf('weights(%d) must be finite and non-negative', k));
end
end


function [Ih, Jh, vh] = checkHeldout(h, m, n)
if isempty(h)
    Ih = zeros(0, 1);
    Jh = zeros(0, 1);
    vh = zeros(0, 1);
    return;
end
if isstruct(h) && all(isfield(h, {'I', 'J', 'vals'}))
    Ih = h.I;
    Jh = h.J;
    vh = h.vals;
elseif iscell(h) && numel(h) == 3
    Ih = h{1};
    Jh = h{2};
    vh = h{3};
elseif isnumeric(h) && ndims(h) == 2 && size(h, 2) == 3
    Ih = h(:, 1);
    Jh = h(:, 2);
    vh = h(:, 3);
else
    fail('heldout must be a struct with fields I, J, vals, a cell {I, J, vals} or a K-by-3 matrix');
end
[Ih, Jh, vh] = checkEntries(Ih, Jh, vh, m, n, 'heldout I', 'heldout J', 'heldout vals');
end


function U = startPoint(I, J, x, m, n, r, init, seed)
% Start for U: the leading left singular vectors of the zero-filled data,
% each scaled by the square root of its singular value over the observed
% fraction (so that U*V starts at the data's scale), or Gaussian entries.
saved = rng;
rng(seed);
if strcmp(init, 'random')
    U = randn(m, r) / sqrt(r);
else
    X = sparse(I, J, x, m, n);
    if min(m, n) <= 400
        [u, s] = svd(full(X), 'econ');
    else
        % A few steps of subspace iteration from a random block: close
        % enough to the leading singular vectors for a start, and the
        % same steps on every host (no iterative eigensolver to converge).
        [Q, ~] = qr(X * randn(n, r + 5), 0);
        for step = 1:4
            [Q, ~] = qr(X * (X.' * Q), 0);
        end
        [u, s] = svd(Q.' * X, 'econ');
        u = Q * u;
    end
    k = min([r, size(u, 2), size(s, 1)]);
    u = u(:, 1:k);
    s = diag(s);
    s = s(1:k);
    % A zero singular value would give a zero column, which the sweeps
    % never leave: keep every column slightly alive.
    s = max(s(:).', max([s(:); 1]) * 1e-6);
    fraction = numel(x) / (m * n);
    U = [u .* sqrt(s / fraction), randn(m, r - k) / sqrt(r)];
end
rng(saved);
end


function kern = kernelSet(backend)
names = {'delmirost', 'korvanthe', 'vantresk', 'ombrelast', 'nzoverwrite'};
compiled = false(size(names));
for k = 1:numel(names)
    compiled(k) = exist(names{k}) == 3; %#ok<EXIST>
end
if strcmp(backend, 'auto')
    if all(compiled)
        backend = 'compiled';
    else
        backend = 'plain';
    end
end
if strcmp(backend, 'compiled')
    if ~all(compiled)
        fail(sprintf(['compiled kernels not found on the path: %s (run install_kernels, ' ...
                      'or choose backend ''plain'')'], strjoin(names(~compiled), ', ')));
    end
    kern = struct('name', 'compiled', 'inPlace', true, 'delmirost', @delmirost, ...
                  'korvanthe', @korvanthe, 'vantresk', @vantresk, 'ombrelast', @ombrelast);
else
    if exist('plain_delmirost', 'file') ~= 2
        addpath(fullfile(fileparts(mfilename('fullpath')), 'plain'));
    end
    kern = struct('name', 'plain', 'inPlace', false, 'delmirost', @plain_delmirost, ...
                  'korvanthe', @plain_korvanthe, 'vantresk', @plain_vantresk, ...
                  'ombrelast', @plain_ombrelast);
end
end
