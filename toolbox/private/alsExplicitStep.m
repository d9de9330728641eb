function S = alsExplicitStep(P, E, side, W, G, esum, lambda, S, opts)
%ALSEXPLICITSTEP  Every column of [V; b] (SIDE 'col') or row of [U a] ('row') of the explicit model.
%   The arguments are those of ALSBLOCKSTEP, E the sparse matrix on the
%   pattern (its values are overwritten) and OPTS the fit's options. With
%   opts.solver 'cg' the blocks take opts.cgsteps conjugate-gradient steps
%   from the current point, with each block's diagonal as preconditioner
%   (ALSCONJUGATESTEPS), instead of the exact solve: a block's normal
%   matrix, sum w*[x 1]'*[x 1] + diag(lambda*d, ..., biaslambda), is then
%   never formed.
if ~isfield(opts, 'solver') || ~strcmp(opts.solver, 'cg')
    S = alsBlockStep(P, side, W, G, esum, lambda, S);
    return;
end
r = size(S.U, 2);
if strcmp(side, 'col')
    x = S.V;
    d = P.dCol;
    g = lambda * x .* d - G;
    empty = P.emptyCol;
else
    x = S.U.';
    d = P.dRow.';
    g = lambda * x .* d - G.';
    empty = P.emptyRow.';
end
shift = repmat(lambda * d, r, 1);
if P.biases
    if strcmp(side, 'col')
        bias = S.b;
    else
        bias = S.a.';
    end
    x = [x; bias];
    g = [g; P.biaslambda * bias - reshape(esum, 1, [])];
    shift = [shift; P.biaslambda + zeros(size(d))];
end
% Each block's diagonal: its weights times W's squares, plus the shift.
if isempty(P.w)
    E = alsRefill(P, E, ones(P.N, 1));
else
    E = alsRefill(P, E, P.w);
end
if strcmp(side, 'col')
    diagonal = (E.' * W .^ 2).' + shift;
else
    diagonal = (E * W .^ 2).' + shift;
end
x = alsConjugateSteps(P, E, W, x, -g, @(p, cols) shift(:, cols) .* p, 1 ./ diagonal, opts.cgsteps, side);
x(:, empty) = 0;
if strcmp(side, 'col')
    S.V = x(1:r, :);
    if P.biases
        S.b = x(r + 1, :);
    end
else
    S.U = x(1:r, :).';
    if P.biases
        S.a = x(r + 1, :).';
    end
end
end
