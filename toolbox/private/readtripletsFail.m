function readtripletsFail(state, line, what, text)
%READTRIPLETSFAIL  Raise the reader's error for one line of the file, showing the line.
%   The line's text, when given, is shown after the reason: at most 80
%   characters, a byte outside printable ASCII as <XX> (its hexadecimal
%   value), so that Latin-1 or UTF-8 bytes and control characters say what
%   they are.
shown = '';
if nargin >= 4
    text = double(text(text ~= char(10) & text ~= char(13)));
    text = strtrim(char(text));
    cut = numel(text) > 80;
    text = text(1:min(end, 80));
    odd = text < 32 | text > 126;
    if any(odd)
        pieces = num2cell(text);
        pieces(odd) = strcat('<', cellstr(dec2hex(double(text(odd)), 2)), '>');
        text = [pieces{:}];
    end
    if cut
        text = [text ' ...'];
    end
    shown = [': ' text];
end
error('readtriplets:malformed', 'readtriplets: %s line %d: %s%s', state.label, line, what, shown);
end
