function [demo, rest] = alsDemoOptions(args, fromFile)
%ALSDEMOOPTIONS  Split the demo's own options from those passed on to ALSCOMPLETE.
demo = struct('size', [3000 2000], 'truerank', 10, 'density', [], 'noise', 0.1, ...
              'holdout', [], 'compare', true, 'seed', 0, 'threshold', [], ...
              'feedback', 'explicit', 'k', 10);
names = fieldnames(demo);
rest = {};
if mod(numel(args), 2) ~= 0
    error('alsdemo:input', 'alsdemo: options must come as name/value pairs');
end
for k = 1:2:numel(args)
    if ~ischar(args{k})
        error('alsdemo:input', 'alsdemo: option names must be character strings');
    end
    hit = find(strcmpi(args{k}, names), 1);
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
    error('alsdemo:input', 'alsdemo: feedback must be ''explicit'' or ''implicit''');
end
demo.feedback = lower(demo.feedback);
demo.seed = alsCheckSeed(demo.seed, @(msg) error('alsdemo:input', 'alsdemo: %s', msg));
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
end
