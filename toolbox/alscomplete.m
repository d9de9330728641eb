function [U, V, hist, model] = alscomplete(I, J, vals, m, n, varargin)
%ALSCOMPLETE  Low-rank matrix completion by regularized alternating least squares.
%   [U, V, HIST, MODEL] = ALSCOMPLETE(I, J, VALS, M, N) fits a model of an
%   M-by-N matrix known only at the observed entries (I(k), J(k)) with
%   values VALS(k). I and J are 1-based row and column indices (double or
%   any integer class; uint32 saves memory); I, J and VALS are vectors with
%   the same number of elements, and no (row, column) pair may occur twice.
%
%   Explicit feedback (the default: ratings, measurements) predicts entry
%   (i, j) as
%       mean + rowBias(i) + colBias(j) + U(i,:) * V(:,j)
%   with U M-by-r and V r-by-N, and minimizes
%       f = 1/2 * sum_k w(k) * (VALS(k) - prediction(k))^2
%         + LAMBDA/2 * ( sum_i d_i * norm(U(i,:))^2 + sum_j e_j * norm(V(:,j))^2 )
%         + BIASLAMBDA/2 * ( sum_i rowBias(i)^2 + sum_j colBias(j)^2 )
%   where mean is the weighted mean of VALS (0 without biases), and d_i,
%   e_j are the weight sums of row i and column j (their numbers of
%   entries when all weights are one) plus PSEUDOCOUNT under count-scaled
%   regularization, or 1 under uniform regularization. Rows and columns
%   with no entries get zero factors and biases.
%
%   The model lives in MODEL (see below); U*V alone is the model without
%   the mean and biases, so with biases use ALSPREDICT(MODEL, I, J) for
%   predictions (or set 'biases' to false).
%
%   Each sweep solves exactly for every column of [V; colBias] given U and
%   the row biases, then for every row of [U rowBias] given V and the
%   column biases: one r+1 unknown least-squares problem per column and
%   per row, whose regularized normal matrices and Cholesky factors come
%   from DELMIROST (the bias as a fixed column of ones beside the factor)
%   and whose solutions come from VANTRESK. The weighted residual lives in
%   one sparse matrix on the observed pattern, refilled in place by
%   NZOVERWRITE after each evaluation with OMBRELAST; the solution of a
%   block is taken as its Newton step from the current point (the exact
%   minimizer of a quadratic), so each half-sweep needs one sparse product
%   for the gradient and nothing else on the pattern; the biases' own
%   regularizer enters each block's solve as a rank-one correction. The
%   fit stops once a sweep hardly lowers f (option tol). Rows and columns are
%   renumbered by their number of entries for the sweeps (busy rows of the
%   factors then sit together in memory) and the blocks are built and
%   solved in chunks (option 'blockchunk'), so that the fit holds little
%   beyond 40 bytes per observed entry (32 on the pattern, 8 for the
%   residual).
%
%   Implicit feedback ('feedback', 'implicit': clicks, plays, purchases)
%   treats every entry of the matrix as known: preference p = 1 at the
%   observed entries and 0 elsewhere, with confidence c = 1 + ALPHA*VALS
%   at the observed entries and 1 elsewhere, and minimizes
%       f = 1/2 * sum_{all i,j} c(i,j) * (p(i,j) - U(i,:)*V(:,j))^2
%         + LAMBDA/2 * (sum_i d_i norm(U(i,:))^2 + sum_j e_j norm(V(:,j))^2)
%   (VALS are interaction strengths, at least 0; pass ones for plain
%   interactions). No mean and no biases; the weights and held-out options
%   do not apply. A column's normal matrix is
%       U'*U + sum_{i observed} ALPHA*VALS * U(i,:)'*U(i,:) + LAMBDA*e_j*eye(r)
%   and its right-hand side sum_{i observed} (1 + ALPHA*VALS) * U(i,:)'.
%   Under uniform regularization every column shares G = U'*U +
%   LAMBDA*eye(r) = L'*L; in the coordinates L*V(:,j) its normal matrix
%   is the identity plus its own entries' terms with regressors U/L, which
%   the kernels form from the pattern alone (lambda 1). Under count-scaled
%   regularization the exact solve instead extends U by r rows holding a
%   Cholesky factor of U'*U, seen by every column with weight 1. Rows
%   likewise. SOLVER 'cg' takes a few conjugate-gradient steps on every
%   column at once in the same coordinates, warm-started from the current
%   factors: each step is a masked product and a sparse product, O(r) per
%   entry, where forming a block's normal matrix costs O(r^2).
%
%   [U, V, HIST, MODEL] = ALSCOMPLETE(I, J, VALS, M, N, OPTS) takes the
%   options from the fields of the struct OPTS; ALSCOMPLETE(..., 'name',
%   value, ...) takes them as name/value pairs (names are case-insensitive).
%
%   Options (defaults in brackets):
%     rank     [10]     r, the number of columns of U (rows of V), >= 1
%     lambda   ['auto' explicit, 10 implicit]
%                       regularization weight, > 0; or a vector of them,
%                       or 'auto', to choose it on a validation part of
%                       the entries: a random fraction VALIDATION of the
%                       entries is left out and the start point found
%                       from the rest. 'auto' fits the rest for six
%                       sweeps at 0.2 (scaled; uniform: 2), then follows
%                       a path to weaker values a factor of sqrt(2) apart
%                       (and, if none is better, to stronger ones a
%                       factor of 2 apart), three sweeps each from the
%                       fit before, while the validation RMSE improves (it
%                       stops after two rises or one of more than 1%,
%                       0.5% downwards);
%                       from the start
%                       point a fit needs some 20 sweeps before its
%                       validation error says much of its lambda, along
%                       the path each value starts from factors close to
%                       its own. A vector of values is walked from the
%                       largest to the smallest, three sweeps each from
%                       the start point. For 'auto' the fit then goes on
%                       from the best point's fit one step (sqrt(2))
%                       stronger until it meets the tolerance, lambda
%                       going up another step (at most twice) where its
%                       validation RMSE rises by more than 0.1%: the
%                       validation entries are a random part of the data,
%                       while the entries a model is asked about later
%                       (newer ratings) lean on sparse rows and columns,
%                       where a lambda that random entries find best
%                       fits noise. The chosen value is then fitted on
%                       all entries, picking up from its validation fit.
%                       No single value suits both data with a strong
%                       low-rank part and data with little of it. On
%                       10^5 to 10^6 ratings the plain call, search
%                       included, takes at most about the time of 50
%                       sweeps at a fixed lambda: about that where the
%                       data have a strong low-rank part, half or less
%                       where they have little. Explicit feedback only.
%     regularization ['scaled' explicit, 'uniform' implicit]
%                       'scaled' multiplies each row's (column's)
%                       regularizer by its number of entries ("weighted-
%                       lambda" regularization): on rating data, where a
%                       few rows and columns have thousands of entries and
%                       most have a handful, one lambda then shrinks the
%                       sparse rows as much as the dense ones relative to
%                       their data, and the best lambda hardly moves with
%                       the size of the data. 'uniform' adds LAMBDA to
%                       every block alike.
%     pseudocount [2*rank explicit 'scaled', else 0]
%                       under 'scaled', every row and column counts this
%                       many entries more than it has (in units of the
%                       mean weight of the entries of nonzero weight): a
%                       row or column of a handful of entries is then
%                       shrunk about as a fixed prior would shrink it,
%                       not fitted to its few values as closely as a busy
%                       one is to its many. Held-out entries that lean on
%                       sparse columns (later ratings of newer items)
%                       gain most. 0 gives plain count scaling.
%     biaslambda [2, or 'auto' when lambda is chosen]
%                       the biases' own regularization, uniform:
%                       biaslambda/2 * (|rowBias|^2 + |colBias|^2) (a bias
%                       is shrunk like an average with biaslambda extra
%                       entries of the mean); 'auto' chooses it, before
%                       lambda, as the tuned bias baseline does
%                       (ALSBASELINE: the biases alone, values 1, 2, 5,
%                       10, 20, 50, 100, on the same validation part),
%                       then, with the chosen lambda, tries the smaller
%                       values a few sweeps on while they score better by
%                       more than 0.1% (the factors take up part of what
%                       the biases alone would count as noise); a vector
%                       of values is
%                       walked like lambda's, after it
%     biases   [true explicit, false implicit]
%                       fit the mean and a bias per row and per column
%                       (rating data has strong user and item offsets)
%     validation [0.1]  fraction of the entries held back to choose lambda
%     sweeps   [50]     largest number of sweeps
%     tol      [3e-5 explicit, 1e-5 implicit]
%                       stop once a sweep has lowered the objective f by
%                       at most tol times its value: every sweep minimizes
%                       f exactly block by block, so one that hardly
%                       lowers it hardly changes the predictions. The
%                       implicit objective sums over every entry of the
%                       matrix, mostly unobserved zeros fitted closely
%                       from the start, hence its smaller tolerance. 0
%                       runs every sweep
%     weights  [ones]   per-entry weights w >= 0, one per observed entry
%     heldout  [none]   entries kept out of the fit, reported as held-out
%                       RMSE: a struct with fields I, J, vals, a cell
%                       {I, J, vals}, or a K-by-3 matrix [i j value]
%     feedback ['explicit'] or 'implicit' (see above)
%     alpha    [5]      confidence per unit of VALS under implicit feedback,
%                       >= 0 (0: every entry has confidence 1)
%     solver   ['auto'] how each row's and column's least-squares problem is
%                       solved: 'cholesky' exactly (the kernels build and
%                       factor its normal matrix), 'cg' by CGSTEPS
%                       conjugate-gradient steps from the current point
%                       (the objective still never rises; an explicit
%                       block takes its diagonal as preconditioner).
%                       'auto' is 'cg' for implicit feedback from rank 32
%                       on and 'cholesky' otherwise. A lambda search runs
%                       its inner fits with 'cholesky'.
%     cgsteps  [3]      conjugate-gradient steps per half-sweep
%     verbose  [false]  print the fit's size with its estimated memory
%                       and time per sweep, what the set-up does, with the
%                       time since the start, and one line per sweep with
%                       the time left if all sweeps run
%     init     ['svd']  start point U0 when none is given: 'svd' takes the
%                       leading singular vectors of the weighted, centered
%                       data (zeros where nothing is observed), scaled by
%                       the observed fraction; 'random' takes Gaussian
%                       entries. With biases, the start also solves once
%                       for the column biases and then the row biases (U
%                       and V zero), and the singular vectors are those of
%                       what the biases leave.
%     seed     [0]      seed of the random numbers of the start point and of
%                       the validation part (the global random state is
%                       restored afterwards): a whole number from 0 to
%                       2^32-2. The numbers come from the host's generator
%                       (RNG), and MATLAB and Octave draw different numbers
%                       from the same seed: a random start ('init'
%                       'random'; 'svd' when both M and N exceed 400, or
%                       with a rank above min(M, N)) and the validation
%                       part of a lambda search, hence the chosen lambda,
%                       differ between the hosts. With U0 given, or an
%                       'svd' start otherwise, and a fixed lambda, both
%                       hosts give the same fit up to rounding.
%     U0       []       explicit M-by-rank start for U (init and seed unused)
%     backend  ['auto'] 'compiled' uses the compiled kernels, 'plain' their
%                       plain-language equivalents in the plain/ folder;
%                       'auto' takes the compiled kernels when all five are
%                       on the path. Both run the same algorithm and give
%                       the same iterates up to rounding.
%     blockchunk [16384] largest number of rows (columns) whose factors a
%                       step builds and solves at once: the factors of a
%                       chunk are all a step holds at a time
%     memory   ['check'] estimate the memory the fit needs before building
%                       anything and stop (error identifier
%                       'alscomplete:memory') when it clearly exceeds what
%                       the system has available; 'ignore' skips the check
%
%   HIST is a struct with one element per sweep in each of the column vectors
%     objective     f after the sweep
%     rmse_train    root mean square of VALS - prediction over the observed
%                   entries (for implicit feedback: of 1 - prediction)
%     rmse_heldout  the same over the held-out entries (NaN without them)
%     gradnorm      Frobenius norm of the gradient of f
%     time          seconds the sweep took, evaluation included
%   and the scalars gradnorm0 (gradient norm at the start point), sweeps,
%   stopped (why the fit stopped: 'tolerance' or 'sweep limit'),
%   converged (true when the tolerance was met; never when the objective
%   overflowed or underflowed to zero, which tells nothing), backend ('compiled' or
%   'plain'), lambda (the lambda of the fit), setup (seconds from the call
%   to the first sweep, a lambda search included), and with a lambda
%   search lambdaSearch: a struct with the values tried (grid), the
%   validation RMSE of each (rmse), the same for the biases' lambda
%   (biasgrid, biasrmse), the number of validation entries (validation),
%   and for 'auto' the values lambda was raised to while the fit settled
%   (raised) and the sweeps that took (settlesweeps).
%
%   MODEL is a struct with fields U, V, mean, rowBias (M-by-1), colBias
%   (1-by-N), seen (the training pattern transposed, an N-by-M sparse
%   logical: seen(:, i) marks the columns observed in row i), m, n, rank,
%   feedback, lambda and opts (the options used). ALSPREDICT predicts from
%   it; ALSRECOMMEND lists each row's best unobserved columns.
%
%   Bad input (indices outside 1..M or 1..N, vectors of different lengths,
%   repeated pairs, a rank below 1, a non-positive lambda, an unknown
%   option or option value, ...) raises an error with identifier
%   'alscomplete:input' before any kernel runs. So do numbers the fit
%   cannot represent: values (less their mean, with biases) times the root
%   of the largest weight outside 1e-100..1e100, weights, U0 or
%   ALPHA*VALS beyond 1e100, lambda or biaslambda above 1e100 (dividing
%   the values and lambda by one factor gives the same fit, scaled), and,
%   when some row or column has fewer entries than unknowns (rank, plus
%   one with biases), a lambda below 1e-9 times the values' spread (at
%   least 1 with biases; times the largest weight and the unknowns under
%   uniform regularization), which the message names.
%
%   Example:
%     A = 3 + randn(200, 3) * randn(3, 150);
%     [I, J] = find(sprand(200, 150, 0.2));
%     [U, V, hist, model] = alscomplete(I, J, A(sub2ind(size(A), I, J)), 200, 150, ...
%                                       'rank', 3, 'lambda', 1e-6, 'verbose', true);
%     [Ia, Ja] = find(true(200, 150));
%     norm(alspredict(model, Ia, Ja) - A(:)) / norm(A(:))
%
%   See also ALSPREDICT, ALSRECOMMEND, ALSRANKMETRICS, ALSDEMO, READTRIPLETS,
%   DELMIROST, KORVANTHE, VANTRESK, OMBRELAST, NZOVERWRITE.

if nargin < 5
    alsFail('expected alscomplete(I, J, VALS, M, N, ...) with at least five arguments');
end
varargin = alsChars(varargin);
opts = alsOptions(varargin);
progress = alsProgress(opts.verbose);
tStart = tic;
[I, J, vals, m, n] = alsCheckEntries(I, J, vals, m, n, 'I', 'J', 'vals');
N = numel(vals);
if N == 0
    alsFail('at least one observed entry is needed');
end
r = opts.rank;
w = alsCheckWeights(opts.weights, N);
implicit = strcmp(opts.feedback, 'implicit');
if implicit
    if ~isempty(w)
        alsFail('weights do not apply to implicit feedback: the values set the confidence');
    end
    if any(vals < 0)
        alsFail(sprintf('vals(%d) is negative: implicit feedback takes interaction strengths >= 0', ...
                        find(vals < 0, 1)));
    end
    if ~isempty(opts.lambdagrid)
        alsFail('lambda ''auto'' or a grid applies to explicit feedback only');
    end
end
[Ih, Jh, vh] = alsCheckHeldout(opts.heldout, m, n);
if ~isempty(opts.U0)
    U0 = opts.U0;
    if ~isa(U0, 'double') || ~isreal(U0) || ~isequal(size(U0), [m r]) || ~all(isfinite(U0(:)))
        alsFail(sprintf('U0 must be a finite real %d-by-%d double matrix', m, r));
    end
    U0 = full(U0);
end
alsCheckScale(I, J, vals, w, opts.U0, m, n, opts, implicit);
kern = alsKernels(opts.backend);
alsMemoryCheck(N, m, n, r, ~isempty(w), implicit, opts, progress, ...
               alsSweepEstimate(N, m, n, r, opts.biases, implicit, kern.name));

if implicit
    [S, hist, seen] = alsImplicitFit(I, J, vals, m, n, opts, kern, progress, tStart, nargout >= 4);
    lambda = opts.lambda;
else
    % The set-up refuses repeated pairs; from there on the kernels run.
    [P, E] = alsSetup(I, J, vals, w, m, n, opts, kern, progress);
    clear I J vals w
    held = [];
    if ~isempty(Ih)
        held = struct('I', uint32(P.rowNew(Ih)), 'J', uint32(P.colNew(Jh)), 'v', vh - P.mean);
    end
    a0 = zeros(m, 1);
    b0 = zeros(1, n);
    start = [];
    if isempty(opts.U0)
        if P.biases
            [a0, b0] = alsStartBiases(P, E);
        end
        % U comes from the residual the biases leave, which the sweeps'
        % first evaluation writes into E.
        start = @(X) alsStartPoint(X, N, r, opts.init, opts.seed, P.rowOrder, P.colOrder, progress);
        U0 = [];
    else
        U0 = U0(P.rowOrder, :);
    end
    S = struct('U', U0, 'V', zeros(r, n), 'a', a0, 'b', b0);
    clear U0
    search = [];
    lambda = opts.lambda;
    if ~isempty(opts.lambdagrid) || ~isempty(opts.biasgrid)
        [lambda, P.biaslambda, S, search] = alsChooseLambda(P, E, S, opts, progress, start);
        start = [];
        opts.biaslambda = P.biaslambda;
        progress('lambda %.4g, biaslambda %.4g chosen on %d validation entries', ...
                 lambda, P.biaslambda, search.validation);
    end
    [S, hist] = alsExplicitSweeps(P, E, S, lambda, opts, held, start, tStart);
    if ~isempty(search)
        hist.lambdaSearch = search;
    end
    seen = [];
    if nargout >= 4
        E = alsRefill(P, E, ones(N, 1));
        seen = logical(E.');
        seen = seen(P.colNew, P.rowNew);
    end
    clear E
    % Back to the caller's numbering of rows and columns.
    S.U = S.U(P.rowNew, :);
    S.V = S.V(:, P.colNew);
    S.a = reshape(S.a(P.rowNew), [], 1);
    S.b = reshape(S.b(P.colNew), 1, []);
    mu = P.mean;
    clear P
end
hist.backend = kern.name;
hist.lambda = lambda;
if ~implicit && opts.biases
    hist.biaslambda = opts.biaslambda;
end
U = S.U;
V = S.V;
if nargout >= 4
    if implicit
        mu = 0;
    end
    model = alsModel(S, mu, seen, m, n, opts, lambda);
end
end
