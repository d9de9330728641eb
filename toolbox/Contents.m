% Low-rank matrix completion by alternating least squares, on five compiled kernels.
%
% Completion
%   alscomplete    - Fit a low-rank model (explicit ratings or implicit interactions)
%   alspredict     - Predictions of a fitted model at given (row, column) pairs
%   alsbaseline    - The bias baseline: mean plus regularized row and column offsets
%   readtriplets   - Read observed entries from a file of triplets
%   alsdemo        - The completion routine on a file or a synthetic problem
%
% Recommending and ranking
%   alsrecommend   - Each row's best-scored columns, training entries left out
%   alsrankmetrics - Precision, recall, MAP and NDCG at k on held-out interactions
%   alspopularity  - The popularity baseline as a model
%
% Compiled kernels (MEX plug-ins)
%   delmirost      - Cholesky factors of regularized Gram blocks of triplets sorted by block
%   korvanthe      - The same for each column of a sparse matrix of scales
%   vantresk       - Solve one system per column with its own Cholesky factor
%   ombrelast      - A product of two factors evaluated at given positions only
%   nzoverwrite    - Overwrite the stored values of a sparse matrix in place
%
% Plain-language equivalents of the kernels are in the plain/ folder
% (plain_delmirost, ...); ALSCOMPLETE uses them when the plug-ins are not
% on the path.
