function [demo, rest] = alsDemoOptions(args, fromFile)
%ALSDEMOOPTIONS  Split the demo's own options from those passed on to ALSCOMPLETE.
demo = struct('size', [3000 2000], 'truerank', 10, 'density', [], 'noise', 0.1, ...
              'holdout', [], 'compare', true, 'seed', 0, 'threshold', [], ...
              'feedback', 'explicit', 'k', 10);
names = fieldnames(demo);
rest = {};
if mod(numel(args), 2) ~= 0
    fail('options must come as name/value pairs');
end
for k = 1:2:numel(args)
    if ~ischar(args{k})
        fail('option names must be character strings');
    end
    hit = find(strcmpi(args{k}, names), 1);
    if any(strcmpi(args{k}, {'heldout', 'backend'}))
        % The demo sets these itself for the fit.
        fail(sprintf(['''%s'' is set by the demo itself (its held-out part is set by ' ...
                      '''holdout'', its backends by ''compare'')'], args{k}));
    end
    if ~isempty(hit)
        demo.(names{hit}) = args{k + 1};
        % The seed and the kind of feedback also go to the fit.
        if any(strcmp(names{hit}, {'seed', 'feedback'}))
            rest = [rest, args(k:k + 1)]; %#ok<AGROW>
        end
    else
        rest = [rest, args(k:k + 1)]; %#ok<AGROW>
    end
end
if ~ischar(demo.feedback) || ~any(strcmpi(demo.feedback, {'explicit', 'implicit'}))
    fail('feedback must be ''explicit'' or ''implicit''');
end
demo.feedback = lower(demo.feedback);
sz = demo.size;
if ~isnumeric(sz) || ~isreal(sz) || numel(sz) ~= 2 || ~all(isfinite(sz)) || any(sz ~= round(sz)) ...
        || any(sz < 1) || any(sz >= 2^32)
    fail('size must be two positive integers [rows columns] below 2^32');
end
demo.size = double(sz(:).');
demo.truerank = count(demo.truerank, 'truerank', min(demo.size));
demo.k = count(demo.k, 'k', Inf);
demo.noise = number(demo.noise, 'noise', 0, Inf, 'a non-negative finite number');
demo.seed = alsCheckSeed(demo.seed, @(msg) error('alsdemo:input', 'alsdemo: %s', msg));
if ~isempty(demo.threshold)
    demo.threshold = number(demo.threshold, 'threshold', -Inf, Inf, 'a finite number');
end
demo.compare = alsLogical(demo.compare, 'compare', @fail);
if isempty(demo.holdout)
    demo.holdout = 0.1;
    if fromFile || strcmp(demo.feedback, 'implicit')
        demo.holdout = 0.2;
    end
end
if isempty(demo.density)
    if strcmp(demo.feedback, 'implicit')
        demo.density = 0.01;
    else
        demo.density = 0.05;
    end
end
demo.holdout = number(demo.holdout, 'holdout', 0, 1, 'a fraction between 0 and 1');
if demo.holdout == 0 || demo.holdout == 1
    fail('holdout must be a fraction between 0 and 1');
end
demo.density = number(demo.density, 'density', 0, 1, 'a fraction in (0, 1]');
if demo.density == 0
    fail('density must be a fraction in (0, 1]');
end
% The options for the fit, checked now rather than after the data are
% read or drawn (the explicit fit chooses lambda unless it is given).
fit = rest;
if strcmp(demo.feedback, 'explicit')
    fit = [{'lambda', 'auto'}, rest];
end
try
    alsOptions(fit);
catch err
    if ~strcmp(err.identifier, 'alscomplete:input')
        rethrow(err);
    end
    fail(regexprep(err.message, '^alscomplete: (.*)\.$', '$1'));
end
if ~fromFile
    % The synthetic problem holds its entries a few times over and its
    % factors; the implicit one also a row of scores at a time.
    entries = demo.density * prod(demo.size);
    alsMemoryRefuse('alsdemo', 80 * entries + 16 * sum(demo.size) * demo.truerank, ...
                    sprintf('a synthetic %d-by-%d matrix with %.0f entries', ...
                            demo.size(1), demo.size(2), entries));
end
end


function fail(msg)
alsInputError('alsdemo', msg);
end


function v = number(v, name, lo, hi, what)
% A real scalar in [LO, HI], as a double.
if ~isnumeric(v) || ~isreal(v) || ~isscalar(v) || ~(v >= lo && v <= hi) || ~isfinite(v)
    fail(sprintf('%s must be %s', name, what));
end
v = double(v);
end


function v = count(v, name, hi)
% A positive integer of at most HI, as a double.
if ~isnumeric(v) || ~isreal(v) || ~isscalar(v) || ~isfinite(v) || v ~= round(v) || v < 1 || v > hi
    if isfinite(hi)
        fail(sprintf('%s must be an integer in 1..%d', name, hi));
    end
    fail(sprintf('%s must be a positive integer', name));
end
v = double(v);
end
