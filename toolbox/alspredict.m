function x = alspredict(model, I, J)
%ALSPREDICT  Predictions of a completion model at given (row, column) pairs.
%   X = ALSPREDICT(MODEL, I, J) returns, for each pair (I(k), J(k)),
%       MODEL.mean + MODEL.rowBias(I(k)) + MODEL.colBias(J(k))
%           + MODEL.U(I(k),:) * MODEL.V(:,J(k))
%   in an array of the size of I, where MODEL is the fourth output of
%   ALSCOMPLETE. I and J are positive whole numbers of the same size (any
%   numeric class). The product is evaluated with OMBRELAST at the given
%   pairs only (its plain equivalent when the plug-in is not on the path).
%
%   Cold start: a row or column without observed entries in the fit has
%   zero factors and bias, so its predictions are the mean plus the bias
%   that is known. Indices beyond the model's M rows or N columns (rows or
%   columns that came after the fit) are treated the same way: a row
%   beyond M gets mean + colBias(J), a column beyond N mean + rowBias(I),
%   and a pair beyond both the mean. Nothing gives an error or NaN.
%
%   Bad input raises an error with identifier 'alspredict:input': I or J
%   not positive whole numbers, or a MODEL whose fields are missing, not
%   real and finite numbers, or of sizes that do not agree (rowBias of
%   size(U, 1) elements, colBias of size(V, 2), mean a scalar).
%
%   Example:
%     [U, V, hist, model] = alscomplete(I, J, vals, m, n);
%     x = alspredict(model, Itest, Jtest);
%     rmse = sqrt(mean((x - vtest).^2))
%
%   See also ALSCOMPLETE, ALSRECOMMEND, OMBRELAST.

if nargin ~= 3
    error('alspredict:input', 'alspredict: expected alspredict(model, I, J).');
end
% The model's fields: real, finite, of sizes that agree with each other.
model = recommendCheckModel(model, 'alspredict');
if ~isnumeric(I) || ~isnumeric(J) || ~isreal(I) || ~isreal(J) || ~isequal(size(I), size(J))
    error('alspredict:input', 'alspredict: I and J must be real numeric arrays of the same size.');
end
shape = size(I);
I = double(full(I(:)));
J = double(full(J(:)));
if ~all(I >= 1 & I == round(I) & I < 2^32) || ~all(J >= 1 & J == round(J) & J < 2^32)
    error('alspredict:input', 'alspredict: I and J must hold positive whole numbers below 2^32.');
end
[m, r] = size(model.U);
n = size(model.V, 2);
% One product of [U rowBias 1] and [V; 1; colBias]. Unknown rows point
% at an extra row [0 0 1] (no factor, no row bias, the column bias) and
% unknown columns at an extra column [0; 1; 0] (the row bias alone).
I(I > m) = m + 1;
J(J > n) = n + 1;
A = [model.U, model.rowBias(:), ones(m, 1); zeros(1, r + 1), 1];
B = [model.V, zeros(r, 1); ones(1, n), 1; model.colBias(:).', 0];
if exist('ombrelast') == 3 %#ok<EXIST>
    x = ombrelast(A, B, uint32(I), uint32(J));
else
    if exist('plain_ombrelast', 'file') ~= 2
        addpath(fullfile(fileparts(mfilename('fullpath')), 'plain'));
    end
    x = plain_ombrelast(A, B, uint32(I), uint32(J));
end
x = reshape(model.mean + x, shape);
end
