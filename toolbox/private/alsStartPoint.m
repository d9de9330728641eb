function U = alsStartPoint(X, N, r, init, seed, rowOrder, colOrder, progress, Xt)
%ALSSTARTPOINT  Start for U: leading singular vectors of the data, or Gaussian.
%   X is the M-by-N sparse matrix of the weighted (centered) data, zero
%   where nothing is observed, at N observed entries. 'svd' takes its leading left singular
%   vectors, each scaled by the square root of its singular value over the
%   observed fraction (so that U*V starts at the data's scale); 'random'
%   takes Gaussian entries. X's rows and columns are those of the data
%   taken in the orders ROWORDER and COLORDER: the random numbers are drawn
%   for the data's own order and reordered, so the start does not depend
%   on the numbering. The global random state is left as it was. A
%   PROGRESS printer, when given and not empty, reports the start point. XT,
%   when given, is X's transpose, whose product with a transpose the
%   hosts take faster than X's own.
[m, n] = size(X);
saved = rng;
rng(seed);
if strcmp(init, 'random')
    U = randn(m, r) / sqrt(r);
    U = U(rowOrder, :);
else
    if min(m, n) <= 400 && m * n <= 2^22
        % Small enough to take whole: the dense copy and its singular
        % vectors hold at most 32 MB each. A long, thin matrix (a million
        % rows of 300 columns) takes the sparse path below instead.
        [u, s] = svd(full(X), 'econ');
    else
        % The range of the data applied to a random block, without
        % further subspace iteration: close enough to the leading
        % singular vectors for a start (the sweeps do the rest), at the
        % price of two products with the sparse data, and the same steps
        % on every host. Q'*X is taken as (X.'*Q).', the same sums
        % without striding through the tall Q.
        omega = randn(n, r + 5);
        if nargin >= 9
            % X*omega from X's transpose XT, a product with a transpose.
            [Q, ~] = qr(Xt.' * omega(colOrder, :), 0);
        else
            [Q, ~] = qr(X * omega(colOrder, :), 0);
        end
        [u, s] = svd((X.' * Q).', 'econ');
        u = Q * u;
        clear Q
    end
    k = min([r, size(u, 2), size(s, 1)]);
    u = u(:, 1:k);
    s = diag(s);
    s = s(1:k);
    % A zero singular value would give a zero column, which the sweeps
    % never leave: keep every column slightly alive.
    s = max(s(:).', max([s(:); 1]) * 1e-6);
    fraction = N / (m * n);
    extra = randn(m, r - k) / sqrt(r);
    U = [u .* sqrt(s / fraction), extra(rowOrder, :)];
end
rng(saved);
if nargin >= 8 && ~isempty(progress)
    progress('start point (%s)', init);
end
end
