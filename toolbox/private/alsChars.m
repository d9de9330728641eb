function varargout = alsChars(varargin)
%ALSCHARS  String scalars made character vectors, also inside cells and structs.
%   [A, B, ...] = ALSCHARS(A, B, ...) returns its arguments with every
%   string scalar ("auto", "lambda", a file name, ":" as MATLAB users write
%   them) made a character vector, also in the elements of a cell (name/
%   value pairs) and in the fields of a struct (an options struct), at any
%   depth. Everything else comes back as it was, so the checks and error
%   messages that follow see the text they would see for a char vector.
varargout = varargin;
for k = 1:nargin
    varargout{k} = converted(varargin{k});
end
end


function [x, changed] = converted(x)
% Only what changes is written back: a cell or struct of large arrays
% is left alone.
changed = false;
if isstring(x) && isscalar(x)
    x = char(x);
    changed = true;
elseif iscell(x)
    for k = 1:numel(x)
        [y, c] = converted(x{k});
        if c
            x{k} = y;
            changed = true;
        end
    end
elseif isstruct(x)
    names = fieldnames(x);
    for e = 1:numel(x)
        for k = 1:numel(names)
            [y, c] = converted(x(e).(names{k}));
            if c
                x(e).(names{k}) = y;
                changed = true;
            end
        end
    end
end
end
