function model = recommendCheckModel(model, caller)
% Checks a fitted model struct for recommending and ranking, and returns it
% with doubles, a 1-by-n colBias, an m-by-1 rowBias and an empty seen where
% nothing is to be excluded. Errors carry the identifier 'CALLER:input'.

if ~isstruct(model) || ~isscalar(model)
    fail(caller, 'model must be a scalar struct');
end
need = {'U', 'V', 'mean', 'rowBias', 'colBias'};
missing = need(~isfield(model, need));
if ~isempty(missing)
    fail(caller, sprintf('model lacks the field %s', missing{1}));
end
U = model.U;
V = model.V;
if ~isnumeric(U) || ~isreal(U) || ndims(U) ~= 2 || ~isnumeric(V) || ~isreal(V) || ndims(V) ~= 2
    fail(caller, 'model.U and model.V must be real numeric matrices');
end
m = size(U, 1);
n = size(V, 2);
r = size(U, 2);
if size(V, 1) ~= r
    fail(caller, sprintf('model.U has %d columns but model.V has %d rows', r, size(V, 1)));
end
if isfield(model, 'm') && ~isequal(model.m, m)
    fail(caller, sprintf('model.m does not match the %d rows of model.U', m));
end
if isfield(model, 'n') && ~isequal(model.n, n)
    fail(caller, sprintf('model.n does not match the %d columns of model.V', n));
end
U = double(full(U));
V = double(full(V));
if ~all(isfinite(U(:))) || ~all(isfinite(V(:)))
    fail(caller, 'model.U and model.V must be finite');
end
mu = model.mean;
if ~isnumeric(mu) || ~isreal(mu) || ~isscalar(mu) || ~isfinite(mu)
    fail(caller, 'model.mean must be a finite real scalar');
end
rb = model.rowBias;
if ~isnumeric(rb) || ~isreal(rb) || numel(rb) ~= m || ~all(isfinite(rb(:)))
    fail(caller, sprintf('model.rowBias must be %d finite real numbers', m));
end
cb = model.colBias;
if ~isnumeric(cb) || ~isreal(cb) || numel(cb) ~= n || ~all(isfinite(cb(:)))
    fail(caller, sprintf('model.colBias must be %d finite real numbers', n));
end
seen = [];
if isfield(model, 'seen') && ~isempty(model.seen)
    seen = model.seen;
    if ~(islogical(seen) || isnumeric(seen)) || ~isequal(size(seen), [n m])
        fail(caller, sprintf('model.seen must be a %d-by-%d (columns by rows) logical matrix', n, m));
    end
    if ~islogical(seen)
        seen = seen ~= 0;
    end
    if ~issparse(seen)
        seen = sparse(seen);
    end
end
model.U = U;
model.V = V;
model.mean = double(mu);
model.rowBias = double(full(rb(:)));
model.colBias = double(full(cb(:).'));
model.seen = seen;
model.m = m;
model.n = n;
end


function fail(caller, msg)
error([caller ':input'], '%s: %s.', caller, msg);
end
