function model = alspopularity(I, J, m, n)
%ALSPOPULARITY  The popularity baseline: every row gets the most observed columns.
%   MODEL = ALSPOPULARITY(I, J, M, N) builds, from the training entries
%   (I(k), J(k)) of an M-by-N matrix, the model that scores every column
%   by the number of distinct rows observed in it, the same for every row.
%   It is the baseline a fitted model has to beat, and it is a model struct
%   like the fitted ones, so ALSRECOMMEND and ALSRANKMETRICS take it as
%   they take a fit:
%     U        M-by-0, V 0-by-N (rank 0)
%     mean     0; rowBias zeros(M, 1)
%     colBias  1-by-N, colBias(j) = number of distinct rows i with an entry (i, j)
%     seen     N-by-M sparse logical, seen(j, i) true where (i, j) is an entry
%     m, n     M and N; feedback 'implicit'; opts an empty struct
%   The predicted score of (i, j) is colBias(j). A pair that occurs more
%   than once counts once. Values are not needed: only which entries are
%   observed matters.
%
%   I and J are 1-based row and column indices, vectors with the same
%   number of elements. Bad input (indices outside 1..M or 1..N, vectors of
%   different lengths, M or N not a positive integer) raises an error with
%   identifier 'alspopularity:input'.
%
%   Example:
%     [I, J] = find(sprand(1000, 400, 0.02));
%     model = alspopularity(I, J, 1000, 400);
%     cols = alsrecommend(model, 1:3, 5)      % popular columns not yet seen
%
%   See also ALSRECOMMEND, ALSRANKMETRICS, ALSCOMPLETE.

if nargin ~= 4
    fail('expected alspopularity(I, J, M, N)');
end
if ~isnumeric(m) || ~isscalar(m) || ~isreal(m) || m ~= round(m) || m < 1 || m >= 2^32
    fail('m must be a positive integer below 2^32');
end
if ~isnumeric(n) || ~isscalar(n) || ~isreal(n) || n ~= round(n) || n < 1 || n >= 2^32
    fail('n must be a positive integer below 2^32');
end
m = double(m);
n = double(n);
if ~isnumeric(I) || ~isnumeric(J) || ~isreal(I) || ~isreal(J)
    fail('I and J must be real numeric vectors');
end
if numel(I) ~= numel(J)
    fail(sprintf('I and J must have the same number of elements (got %d and %d)', ...
                 numel(I), numel(J)));
end
I = double(full(I(:)));
J = double(full(J(:)));
k = find(~(I >= 1 & I <= m & I == round(I)), 1);
if ~isempty(k)
    fail(sprintf('I(%d) = %g is not a row index in 1..%d', k, I(k), m));
end
k = find(~(J >= 1 & J <= n & J == round(J)), 1);
if ~isempty(k)
    fail(sprintf('J(%d) = %g is not a column index in 1..%d', k, J(k), n));
end

% Repeated pairs add up in the sparse sum; ~= 0 keeps the pattern only.
seen = sparse(J, I, 1, n, m) ~= 0;
model.U = zeros(m, 0);
model.V = zeros(0, n);
model.mean = 0;
model.rowBias = zeros(m, 1);
model.colBias = full(sum(seen, 2)).';
model.seen = seen;
model.m = m;
model.n = n;
model.feedback = 'implicit';
model.opts = struct();
end


function fail(msg)
error('alspopularity:input', 'alspopularity: %s.', msg);
end
