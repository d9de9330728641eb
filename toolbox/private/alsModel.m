function model = alsModel(S, mu, seen, m, n, opts, lambda)
%ALSMODEL  The fitted model as a struct to predict and recommend from.
%   SEEN is the training pattern transposed (N-by-M sparse logical).
model = struct('U', S.U, 'V', S.V, 'mean', mu, 'rowBias', S.a, 'colBias', S.b, ...
               'seen', seen, 'm', m, 'n', n, 'rank', size(S.U, 2), ...
               'feedback', opts.feedback, 'lambda', lambda, 'opts', opts);
model.opts = rmfield(model.opts, {'weights', 'heldout', 'U0'});
end
