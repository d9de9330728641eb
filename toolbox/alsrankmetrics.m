function metrics = alsrankmetrics(varargin)
%ALSRANKMETRICS  Precision, recall, MAP and NDCG at k of recommendations on held-out entries.
%   METRICS = ALSRANKMETRICS(MODEL, IH, JH, K) takes the held-out entries
%   (IH(e), JH(e)) of the matrix a model was fitted to (the interactions
%   kept out of training), recommends K columns with ALSRECOMMEND for each
%   row that has at least one held-out entry, leaving out the row's
%   training columns as ALSRECOMMEND does, and scores each list against the
%   row's held-out columns. MODEL is a fitted model or one from
%   ALSPOPULARITY (see ALSRECOMMEND for the struct). Options after K
%   ('exclude', 'blockrows') go to ALSRECOMMEND.
%
%   METRICS = ALSRANKMETRICS(COLS, ROWS, IH, JH, K) scores lists computed
%   before: COLS(p, :) is the list of row ROWS(p), best first, 0 for an
%   empty slot (as ALSRECOMMEND pads). Its first K columns are used (fewer
%   columns count as empty slots). Every row with a held-out entry must be
%   in ROWS; other rows of ROWS are ignored; ROWS must not repeat.
%
%   METRICS is a struct of means over the rows with held-out entries:
%     precision  precision@K = hits / K
%     recall     recall@K = hits / min(K, n_rel)
%     map        AP@K = 1/min(K, n_rel) * sum_{i<=K} P@i * rel(i)
%     ndcg       NDCG@K = DCG / IDCG, DCG = sum_{i<=K} rel(i) / log2(i+1),
%                IDCG = sum_{i<=min(K, n_rel)} 1 / log2(i+1)
%     rows       the number of those rows
%     k          K
%   where, for one row, rel(i) is 1 when the i-th recommended column is one
%   of the row's held-out columns and 0 otherwise (an empty slot is 0),
%   hits = sum_{i<=K} rel(i), P@i = (rel(1) + ... + rel(i)) / i, and n_rel
%   is the number of distinct held-out columns of the row. Dividing by
%   min(K, n_rel) rather than n_rel lets a perfect list score 1 when a row
%   has more than K held-out columns. A held-out pair given twice counts
%   once. With no held-out entries the means are NaN and rows is 0.
%
%   A held-out entry that is also a training entry of its row cannot be
%   recommended while training columns are left out: keep the two sets
%   apart.
%
%   K may exceed the number of columns: slots beyond them are empty, and
%   the lists are never padded out to K in memory.
%
%   Bad input (indices outside the model's range, vectors of different
%   lengths, K not a positive integer, a row of IH missing from ROWS, a
%   list that names a column twice) raises an error with identifier
%   'alsrankmetrics:input'; lists too large for the memory available,
%   'alsrankmetrics:memory'.
%
%   Example:
%     % Hold out 10% of the observed entries, fit on the rest, compare
%     % with the popularity baseline.
%     [I, J] = find(sprand(800, 500, 0.03));
%     held = rand(size(I)) < 0.1;
%     base = alspopularity(I(~held), J(~held), 800, 500);
%     alsrankmetrics(base, I(held), J(held), 10)
%
%   See also ALSRECOMMEND, ALSPOPULARITY, ALSCOMPLETE.

varargin = alsChars(varargin);
if nargin >= 1 && isstruct(varargin{1})
    if nargin < 4
        fail('expected (MODEL, IH, JH, K, ...) or (COLS, ROWS, IH, JH, K)');
    end
    model = recommendCheckModel(varargin{1}, 'alsrankmetrics');
    [Ih, Jh] = checkHeld(varargin{2}, varargin{3}, model.m, model.n);
    k = checkK(varargin{4});
    [evalRows, ~, a] = unique(Ih);
    % Slots beyond the model's N columns can only be empty: the lists stop there.
    width = min(k, model.n);
    try
        cols = alsrecommend(model, evalRows, width, varargin{5:end});
    catch err
        if any(strcmp(err.identifier, {'alsrecommend:input', 'alsrecommend:memory'}))
            error(strrep(err.identifier, 'alsrecommend', 'alsrankmetrics'), '%s', ...
                  strrep(err.message, 'alsrecommend: ', 'alsrankmetrics: '));
        end
        rethrow(err);
    end
else
    if nargin ~= 5
        fail('expected (MODEL, IH, JH, K, ...) or (COLS, ROWS, IH, JH, K)');
    end
    [cols, rows, Ih, Jh, k] = varargin{:};
    [Ih, Jh] = checkHeld(Ih, Jh, Inf, Inf);
    k = checkK(k);
    if ~isnumeric(cols) || ~isreal(cols) || ndims(cols) ~= 2 || ...
            ~all(cols(:) >= 0 & cols(:) == round(cols(:)) & isfinite(cols(:)))
        fail('cols must be a matrix of column indices (0 for an empty slot)');
    end
    if ~isnumeric(rows) || ~isreal(rows) || numel(rows) ~= size(cols, 1)
        fail(sprintf('rows must have one element per line of cols (%d, got %d)', ...
                     size(cols, 1), numel(rows)));
    end
    rows = double(full(rows(:)));
    if ~all(rows >= 1 & rows == round(rows) & isfinite(rows))
        fail('rows must be positive integers');
    end
    if numel(unique(rows)) ~= numel(rows)
        fail('rows must not repeat');
    end
    % Slots beyond the lists' width and beyond the largest held-out column
    % cannot hit: the lists are cut (or padded) to the wider of the two.
    width = min(k, max([size(cols, 2); Jh]));
    cols = double(full(cols));
    cols = [cols(:, 1:min(width, end)), zeros(size(cols, 1), width - size(cols, 2))];
    [evalRows, ~, a] = unique(Ih);
    [found, where] = ismember(evalRows, rows);
    missing = find(~found, 1);
    if ~isempty(missing)
        fail(sprintf('row %d has held-out entries but is not in rows', evalRows(missing)));
    end
    cols = cols(where, :);
    sorted = sort(cols, 2);
    twice = find(any(diff(sorted, 1, 2) == 0 & sorted(:, 2:end) > 0, 2), 1);
    if ~isempty(twice)
        fail(sprintf('the list of row %d names a column twice', evalRows(twice)));
    end
end
if isempty(Ih)
    metrics = struct('precision', NaN, 'recall', NaN, 'map', NaN, 'ndcg', NaN, ...
                     'rows', 0, 'k', k);
    return;
end
alsMemoryRefuse('alsrankmetrics', 56 * size(cols, 1) * width, ...
                sprintf('scoring %d lists of %d columns', size(cols, 1), width));
% Every row has at most WIDTH relevant columns, so only precision, which
% divides by K itself, sees the cut.
metrics = rankmetricsCompute(cols, a(:), Jh, width);
metrics.precision = metrics.precision * width / k;
metrics.k = k;
end


function fail(msg)
error('alsrankmetrics:input', 'alsrankmetrics: %s.', msg);
end


function k = checkK(k)
if ~isnumeric(k) || ~isscalar(k) || ~isreal(k) || ~isfinite(k) || k ~= round(k) || k < 1
    fail('k must be a positive integer');
end
k = double(k);
end


function [Ih, Jh] = checkHeld(Ih, Jh, m, n)
if ~isnumeric(Ih) || ~isnumeric(Jh) || ~isreal(Ih) || ~isreal(Jh)
    fail('Ih and Jh must be real numeric vectors');
end
if numel(Ih) ~= numel(Jh)
    fail(sprintf('Ih and Jh must have the same number of elements (got %d and %d)', ...
                 numel(Ih), numel(Jh)));
end
Ih = double(full(Ih(:)));
Jh = double(full(Jh(:)));
e = find(~(Ih >= 1 & Ih <= m & Ih == round(Ih) & isfinite(Ih)), 1);
if ~isempty(e)
    fail(sprintf('Ih(%d) = %g is not a row index%s', e, Ih(e), rangeText(m)));
end
e = find(~(Jh >= 1 & Jh <= n & Jh == round(Jh) & isfinite(Jh)), 1);
if ~isempty(e)
    fail(sprintf('Jh(%d) = %g is not a column index%s', e, Jh(e), rangeText(n)));
end
end


function text = rangeText(limit)
if isfinite(limit)
    text = sprintf(' in 1..%d', limit);
else
    text = '';
end
end
