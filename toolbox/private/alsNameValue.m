function opts = alsNameValue(args, opts, fail)
%ALSNAMEVALUE  Options from one struct or from name/value pairs, names case-insensitive.
%   Sets the fields of OPTS (the defaults) named in ARGS, a cell holding a
%   struct or name/value pairs; an unknown name, a name that is no string
%   or an odd number of arguments calls FAIL with the reason.
known = fieldnames(opts);
if numel(args) == 1 && isstruct(args{1})
    given = args{1};
    names = fieldnames(given);
    values = cell(size(names));
    for k = 1:numel(names)
        values{k} = given.(names{k});
    end
else
    if mod(numel(args), 2) ~= 0
        fail('options must be a struct or name/value pairs');
    end
    names = args(1:2:end);
    values = args(2:2:end);
end
for k = 1:numel(names)
    if ~ischar(names{k})
        fail('option names must be character strings');
    end
    hit = find(strcmpi(names{k}, known), 1);
    if isempty(hit)
        % Joined, not formatted: MATLAB's sprintf drops an empty name.
        fail(['unknown option ''' names{k} '''']);
    end
    opts.(known{hit}) = values{k};
end
end
