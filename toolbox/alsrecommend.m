function [cols, scores] = alsrecommend(model, rows, k, varargin)
%ALSRECOMMEND  The k columns of highest predicted score for rows of a fitted model.
%   [COLS, SCORES] = ALSRECOMMEND(MODEL, ROWS, K) returns, for each row index
%   in ROWS, the K columns with the highest predicted score, best first,
%   leaving out the columns observed for that row in training. COLS is
%   numel(ROWS)-by-K: COLS(p, :) belongs to row ROWS(p). SCORES beside it
%   holds the predicted scores of those columns. ROWS may come in any order
%   and repeat; ':' stands for every row (1:MODEL.m).
%
%   MODEL is a struct as ALSCOMPLETE (its fourth output) and ALSPOPULARITY
%   return it:
%     U, V        the factors, M-by-r and r-by-N (r may be 0)
%     mean        a scalar; rowBias M-by-1; colBias 1-by-N (zeros where
%                 the fit has no biases)
%     seen        N-by-M sparse logical, the training pattern transposed:
%                 seen(:, i) marks the columns observed for row i (absent
%                 or empty: nothing is left out)
%   Other fields are ignored. The predicted score of (i, j) is
%       mean + rowBias(i) + colBias(j) + U(i,:) * V(:,j).
%
%   Ties go to the lower column index, so the choice among equal scores does
%   not depend on the block size or on how ROWS are ordered. Where fewer than K columns are
%   left for a row (K > N, or most of the row observed), the rest of its
%   line is padded: COLS with 0, SCORES with NaN.
%
%   [COLS, SCORES] = ALSRECOMMEND(MODEL, ROWS, K, 'name', value, ...) or
%   with a struct OPTS of options (names are case-insensitive):
%     exclude    [true]   leave out the columns observed in training;
%                         false ranks every column
%     blockrows  [2^19/N]  rows scored at a time (at least 1). Each block
%                         costs one matrix product and up to three times
%                         N*blockrows doubles of memory, 4 MB a copy by
%                         default. An optimised BLAS runs the product
%                         faster in larger blocks (a quarter to a third
%                         less time in all at 2^21/N rows for a rank-64
%                         model), but a BLAS may round a score differently
%                         in the last bit with the block's size.
%
%   Method: the scores of a block are one matrix product,
%   [V; colBias]' * [U(rows,:), 1]', and the row's constant mean + rowBias
%   is added to the selected scores only (it does not change the order).
%   The selection sorts only candidates: the N scores of a row are split
%   into about 8K groups, and the K-th largest group maximum is a threshold
%   that at least K scores reach, so no score of the top K is below it.
%   Only the groups whose maximum reaches it are read again, and only their
%   scores at or above it are sorted. For a rank-64 model with 20000
%   columns the selection takes a fifth (generic BLAS) to two thirds
%   (optimised BLAS) of the time of the product; sorting every row in full
%   would be some ten times slower (bench/bench_recommend.m).
%   Where N < 8K every row is sorted in full.
%
%   Bad input (a model with missing or inconsistent fields, rows outside
%   1..M, K not a positive integer, an unknown option) raises an error
%   with identifier 'alsrecommend:input'; lists too large for the memory
%   available (numel(ROWS)-by-K, 16 bytes a slot), 'alsrecommend:memory'.
%
%   Example:
%     [I, J] = find(sprand(500, 300, 0.05));
%     model = alspopularity(I, J, 500, 300);     % or a fitted model
%     [cols, scores] = alsrecommend(model, 1:5, 10)
%     top = alsrecommend(model, ':', 10, 'blockrows', 100);
%
%   See also ALSPOPULARITY, ALSRANKMETRICS, ALSCOMPLETE.

if nargin < 3
    fail('expected alsrecommend(MODEL, ROWS, K, ...)');
end
[rows, varargin] = alsChars(rows, varargin);
model = recommendCheckModel(model, 'alsrecommend');
m = model.m;
n = model.n;
if ischar(rows) && strcmp(rows, ':')
    rows = (1:m).';
elseif ~isnumeric(rows) || ~isreal(rows)
    fail('rows must be a vector of row indices or '':''');
end
rows = double(full(rows(:)));
bad = find(~(rows >= 1 & rows <= m & rows == round(rows)), 1);
if ~isempty(bad)
    fail(sprintf('rows(%d) = %g is not a row index in 1..%d', bad, rows(bad), m));
end
if ~isnumeric(k) || ~isscalar(k) || ~isreal(k) || ~isfinite(k) || k ~= round(k) || k < 1
    fail('k must be a positive integer');
end
k = double(k);
opts = parseOptions(varargin, n);

nr = numel(rows);
% The lists themselves are NR-by-K (two doubles a slot), a block's scores
% N-by-BLOCKROWS, and the selection may hold two more copies of them (the
% groups it reads again, or a full sort's values and order); beyond N
% columns a list holds only padding, which the selection never sees.
block = min(opts.blockrows, nr);
alsMemoryRefuse('alsrecommend', 16 * nr * k + 8 * (3 * n + 2 * min(k, n)) * block, ...
                sprintf('%d lists of %d columns (and blocks of %d rows)', nr, k, block));
cols = zeros(nr, k);
scores = NaN(nr, k);
kk = min(k, n);
exclude = opts.exclude && ~isempty(model.seen);
Vt = [model.V; model.colBias].';
for first = 1:opts.blockrows:nr
    last = min(first + opts.blockrows - 1, nr);
    R = rows(first:last);
    % Scores without the row's constant, columns of the model by rows of
    % the block: one row's scores are contiguous, and seen(:, R) has the
    % same layout.
    T = Vt * [model.U(R, :), ones(numel(R), 1)].';
    if exclude
        T(find(model.seen(:, R))) = -Inf;
    end
    [c, s] = recommendTopk(T, kk);
    cols(first:last, 1:kk) = c;
    scores(first:last, 1:kk) = bsxfun(@plus, s, model.mean + model.rowBias(R));
end
end


function fail(msg)
error('alsrecommend:input', 'alsrecommend: %s.', msg);
end


function opts = parseOptions(args, n)
opts = struct('exclude', true, 'blockrows', max(1, floor(2^19 / max(n, 1))));
opts = alsNameValue(args, opts, @fail);
opts.exclude = alsLogical(opts.exclude, 'exclude', @fail);
b = opts.blockrows;
if ~isnumeric(b) || ~isscalar(b) || ~isreal(b) || ~isfinite(b) || b ~= round(b) || b < 1
    fail('blockrows must be a positive integer');
end
opts.blockrows = double(b);
end
