function t = alsSweepEstimate(N, m, n, r, biases, implicit, backend)
%ALSSWEEPESTIMATE  Rough seconds per sweep of a fit, for the first progress line.
%   A sweep's cost has a part per observed entry (the triplet builders'
%   gathers, the masked products and the sparse products, nearly linear
%   in the number k of factor columns the blocks carry at these ranks)
%   and a part per row and column (each block's factor and solves). The
%   constants were measured on a 2020s server core with one BLAS thread
%   (at 10^6 to 10^8 entries of a 480,189-by-17,770 shape, ranks 3 to
%   30), within about a factor 1.5; the sweep lines then give the real
%   pace. The implicit fit's extended patterns add r entries to every
%   row and column. The plain kernels (BACKEND 'plain') took 9 to 16 times
%   as long in the demo: ten times is assumed.
k = r + (biases && ~implicit);
entries = N;
if implicit
    entries = N + (m + n) * r / 2;
end
t = 1.07e-8 * k * entries + (m + n) * (1.3e-6 + 8.3e-8 * k^1.5);
if strcmp(backend, 'plain')
    t = 10 * t;
end
end
