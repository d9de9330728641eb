function opts = alsOptions(args)
%ALSOPTIONS  Parse and check the options of the completion routine.
%   ARGS is a cell holding one struct or name/value pairs (names are
%   case-insensitive). Returns every option with its default filled in;
%   defaults that depend on the kind of feedback are resolved here.
opts = struct('rank', 10, 'lambda', [], 'sweeps', 50, 'tol', [], ...
              'weights', [], 'heldout', [], 'verbose', false, 'seed', 0, ...
              'U0', [], 'init', 'svd', 'backend', 'auto', ...
              'regularization', '', 'biases', [], 'feedback', 'explicit', ...
              'alpha', 5, 'validation', 0.1, 'memory', 'check', 'biaslambda', [], ...
              'blockchunk', 16384, 'solver', 'auto', 'cgsteps', 3, 'pseudocount', []);
opts = alsNameValue(args, opts, @alsFail);

opts.feedback = choice(opts.feedback, 'feedback', {'explicit', 'implicit'});
implicit = strcmp(opts.feedback, 'implicit');
r = opts.rank;
if ~isnumeric(r) || ~isscalar(r) || ~isreal(r) || ~isfinite(r) || r ~= round(r) || r < 1
    alsFail('rank must be an integer of at least 1');
end
opts.rank = double(r);
if isempty(opts.regularization)
    if implicit
        opts.regularization = 'uniform';
    else
        opts.regularization = 'scaled';
    end
end
opts.regularization = choice(opts.regularization, 'regularization', {'scaled', 'uniform'});
% pseudocount: under count-scaled explicit regularization every row and
% column counts this many entries more than it has (in units of the
% mean weight). A block of a few entries then gets about the shrinking
% a fixed prior would give it instead of that of a busy block, which
% fits its factor to its few values as closely as a busy block's to its
% many: twice the rank, about the entries that pin a factor down.
if isempty(opts.pseudocount)
    opts.pseudocount = 0;
    if ~implicit && strcmp(opts.regularization, 'scaled')
        opts.pseudocount = 2 * r;
    end
end
c = opts.pseudocount;
if ~isnumeric(c) || ~isscalar(c) || ~isreal(c) || ~isfinite(c) || c < 0
    alsFail('pseudocount must be a non-negative finite scalar');
end
opts.pseudocount = double(c);
if isempty(opts.biases)
    opts.biases = ~implicit;
end
opts.biases = alsLogical(opts.biases, 'biases', @alsFail);
if implicit && opts.biases
    alsFail('biases are not part of the implicit-feedback model: leave biases out or set it to false');
end
if implicit && ~isempty(opts.heldout)
    alsFail(['heldout (an RMSE on held-out values) does not apply to implicit feedback: ' ...
             'rank held-out interactions with alsrankmetrics']);
end

% lambda: a positive scalar, a vector of them to choose from on a
% validation part of the entries, or 'auto' for the default grid.
lam = opts.lambda;
opts.lambdagrid = [];
opts.lambdapath = false;
if isempty(lam)
    % Explicit feedback chooses lambda on the data by default: no one
    % value suits both data with a strong low-rank part and data with
    % little that the entries can pin down.
    if implicit
        lam = 10;
    else
        lam = 'auto';
    end
end
if ischar(lam)
    if ~strcmpi(lam, 'auto')
        alsFail('lambda must be a positive finite scalar, a vector of them, or ''auto''');
    end
    base = 0.1;
    if implicit
        base = 1;
    elseif strcmp(opts.regularization, 'uniform')
        base = 1;
    end
    % The path of values from the middle one (see ALSCHOOSELAMBDA).
    opts.lambdagrid = 2 * base;
    opts.lambdapath = true;
    lam = NaN;
elseif ~isnumeric(lam) || ~isreal(lam) || isempty(lam) || ~all(isfinite(lam(:))) ...
        || ~all(lam(:) > 0)
    alsFail('lambda must be a positive finite scalar, a vector of them, or ''auto''');
elseif numel(lam) > 1
    opts.lambdagrid = sort(double(lam(:).'), 'descend');
    lam = NaN;
end
opts.lambda = double(lam);
% The relative decrease of the objective over a sweep at which the fit
% stops. The implicit objective sums over every entry of the matrix, most
% of them unobserved zeros that the model fits closely from the first
% sweeps on, so its relative decrease understates how much the
% predictions at the interactions still move: a third of the explicit
% tolerance stops it at a ranking as good as that of 50 sweeps.
if isempty(opts.tol)
    opts.tol = 3e-5;
    if implicit
        opts.tol = 1e-5;
    end
end
opts.sweeps = atLeastOne(opts.sweeps, 'sweeps');
if ~isnumeric(opts.tol) || ~isscalar(opts.tol) || ~isreal(opts.tol) || ~(opts.tol >= 0)
    alsFail('tol must be a non-negative scalar');
end
opts.tol = double(opts.tol);
opts.seed = alsCheckSeed(opts.seed, @alsFail);
% biaslambda: the biases' own regularization, or a vector of values to
% choose from (after lambda); by default 2, and whenever lambda is chosen
% on the data, chosen there too ('auto'), on the biases alone.
bl = opts.biaslambda;
opts.biasgrid = [];
opts.biasauto = false;
% Sweeps of each fit of a lambda search, from the start point.
opts.searchsweeps = 3;
% The validation RMSE's margin in a lambda search: a smaller biases'
% lambda must gain more than this, and a settling fit whose score rises
% by more has begun to overfit (see ALSCHOOSELAMBDA).
opts.searchmargin = 1e-3;
% 'auto' settles one step stronger than the path's best unless the path
% scored that step worse by more than this fraction.
opts.stepmargin = 0.01;
% The settling fit ends once a call of a few sweeps gains less than this
% fraction of its validation RMSE.
opts.searchplateau = 1e-4;
if isempty(bl)
    bl = 2;
    if ~isempty(opts.lambdagrid) && opts.biases
        bl = 'auto';
    end
end
if ischar(bl)
    if ~strcmpi(bl, 'auto')
        alsFail('biaslambda must be a positive finite scalar, a vector of them, or ''auto''');
    end
    opts.biasgrid = [1 2 5 10 20 50 100];
    opts.biasauto = true;
    bl = 2;
elseif ~isnumeric(bl) || ~isreal(bl) || isempty(bl) || ~all(isfinite(bl(:))) || ~all(bl(:) > 0)
    alsFail('biaslambda must be a positive finite scalar, a vector of them, or ''auto''');
elseif numel(bl) > 1
    opts.biasgrid = sort(double(bl(:).'), 'descend');
    bl = opts.biasgrid(end);
end
opts.biaslambda = double(bl);
if ~isempty(opts.biasgrid) && ~opts.biases
    alsFail('biaslambda ''auto'' or a grid needs biases');
end
if ~isempty(opts.lambdagrid) || ~isempty(opts.biasgrid)
    f = opts.validation;
    if ~isnumeric(f) || ~isscalar(f) || ~isreal(f) || ~(f > 0 && f < 1)
        alsFail('validation must be a fraction between 0 and 1');
    end
end
opts.blockchunk = atLeastOne(opts.blockchunk, 'blockchunk');
a = opts.alpha;
if ~isnumeric(a) || ~isscalar(a) || ~isreal(a) || ~isfinite(a) || a < 0
    alsFail('alpha must be a non-negative finite scalar');
end
opts.alpha = double(a);
opts.verbose = alsLogical(opts.verbose, 'verbose', @alsFail);
opts.init = choice(opts.init, 'init', {'svd', 'random'});
opts.backend = choice(opts.backend, 'backend', {'auto', 'compiled', 'plain'});
opts.memory = choice(opts.memory, 'memory', {'check', 'ignore'});
opts.solver = choice(opts.solver, 'solver', {'auto', 'cholesky', 'cg'});
if strcmp(opts.solver, 'auto')
    opts.solver = alsDefaultSolver(opts);
end
opts.cgsteps = atLeastOne(opts.cgsteps, 'cgsteps');
end


function v = atLeastOne(v, name)
% A whole number of at least 1, as a double.
if ~isnumeric(v) || ~isscalar(v) || ~isreal(v) || ~isfinite(v) || v ~= round(v) || v < 1
    alsFail(sprintf('%s must be an integer of at least 1', name));
end
v = double(v);
end


function v = choice(v, name, allowed)
if ~ischar(v) || ~any(strcmpi(v, allowed))
    quoted = strcat('''', allowed, '''');
    if numel(allowed) == 2
        list = [quoted{1} ' or ' quoted{2}];
    else
        list = [strjoin(quoted(1:end - 1), ', ') ' or ' quoted{end}];
    end
    alsFail(sprintf('%s must be %s', name, list));
end
v = lower(v);
end
