function solver = alsDefaultSolver(opts)
%ALSDEFAULTSOLVER  The block solver a fit uses by default: 'cholesky' or 'cg'.
%   Implicit feedback from rank 32 on takes conjugate-gradient steps,
%   whose cost per entry grows with r where the exact solve's grows with
%   r^2; below, and for explicit feedback, the exact solve.
if strcmp(opts.feedback, 'implicit') && opts.rank >= 32
    solver = 'cg';
else
    solver = 'cholesky';
end
end
