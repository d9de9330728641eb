function varargout = alsChars(varargin)
%ALSCHARS  String scalars made character vectors, also inside cells and structs.
%   [A, B, ...] = ALSCHARS(A, B, ...) returns its arguments with every
%   string scalar ("auto", "lambda", a file name, ":" as MATLAB users write
%   them) made a character vector, also in the elements of a cell (name/
%   value pairs) and in the fields of a struct (an options struct), at any
%   depth. Everything else comes back as it was, so the checks and error
%   messages that follow see the text they would see for a char vector.
%   Only strings, cells and structs are looked into, found by one class
%   test per element: numeric arrays cost nothing however large.
varargout = varargin;
for k = holders(varargin)
    varargout{k} = converted(varargin{k});
end
end


function x = converted(x)
if isa(x, 'string')
    if isscalar(x)
        x = char(x);
    end
elseif iscell(x)
    for k = holders(x)
        x{k} = converted(x{k});
    end
else
    for e = 1:numel(x)
        values = struct2cell(x(e));
        inside = holders(values);
        if ~isempty(inside)
            names = fieldnames(x);
            for k = inside
                x(e).(names{k}) = converted(values{k});
            end
        end
    end
end
end


function k = holders(c)
% Positions in the cell C of strings, cells and structs, as a row.
k = reshape(find(cellfun('isclass', c, 'string') | cellfun('isclass', c, 'cell') ...
                 | cellfun('isclass', c, 'struct')), 1, []);
end
