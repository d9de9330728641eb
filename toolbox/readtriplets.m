function [I, J, vals, rowIds, colIds] = readtriplets(path)
%READTRIPLETS  Read observed matrix entries from a text file of triplets.
%   [I, J, VALS, ROWIDS, COLIDS] = READTRIPLETS(PATH) reads one entry per
%   line, in either of two formats (the first data line decides which):
%     i j value           fields separated by spaces, tabs or commas; an
%                         optional fourth field (e.g. a timestamp) is ignored
%     user::item::rating::timestamp
%                         fields separated by '::'; the timestamp may be left out
%   The row and column ids are numbers, not necessarily consecutive. They
%   are mapped to consecutive indices: I(k) is the position of the k-th
%   line's row id in ROWIDS (the distinct row ids in ascending order), and
%   J(k) likewise in COLIDS, so ROWIDS(I(k)) is the id read on that line.
%   I, J and VALS are column vectors in the order of the file's lines.
%
%   Blank lines and lines starting with '%' or '#' are skipped. Every other
%   line must have the field count of the first data line and only numeric
%   fields, with a finite value; otherwise the error (identifier
%   'readtriplets:malformed') names the first offending line:
%     readtriplets: data.txt line 7: expected 3 fields "i j value", found 2
%
%   Example:
%     [I, J, v, users, items] = readtriplets('ratings.dat');
%     [U, V] = alscomplete(I, J, v, numel(users), numel(items), 'rank', 10);
%
%   See also ALSCOMPLETE.

path = alsChars(path);
[fid, msg] = fopen(path, 'r');
if fid < 0
    error('readtriplets:open', 'readtriplets: cannot open %s: %s', path, msg);
end
text = fread(fid, Inf, '*char').';
fclose(fid);
[~, base, ext] = fileparts(path);
label = [base ext];
if ~any(text ~= ' ' & text ~= char(9) & text ~= char(10) & text ~= char(13))
    error('readtriplets:malformed', 'readtriplets: %s holds no data lines', label);
end

% Line number of every character (a newline belongs to the line it ends),
% and which lines carry data.
text(text == char(13) | text == char(9)) = ' ';
isNewline = text == char(10);
lineOf = cumsum([1, isNewline(1:end-1)]);
nLines = lineOf(end);
nonBlank = text ~= ' ' & ~isNewline;
firstPos = accumarray(lineOf(nonBlank).', find(nonBlank).', [nLines 1], @min, 0).';
hasData = firstPos > 0;
firstChar = blanks(nLines);
firstChar(hasData) = text(firstPos(hasData));
isComment = firstChar == '%' | firstChar == '#';
isData = hasData & ~isComment;
if ~any(isData)
    error('readtriplets:malformed', 'readtriplets: %s holds no data lines', label);
end
% Comment lines take no part in the parse.
text(isComment(lineOf) & ~isNewline) = ' ';

% The format follows the first data line.
firstData = find(isData, 1);
colons = ~isempty(strfind(text(lineOf == firstData), '::'));
work = text;
if colons
    fmt = 'user::item::rating::timestamp';
    work = strrep(work, '::', '  ');
    stray = work == ',' | work == ':';
else
    fmt = 'i j value';
    % A comma with nothing but separators on either side stands for an
    % empty field.
    comma = work == ',';
    sepOrComma = work == ' ' | isNewline | comma;
    stray = comma & ([true, sepOrComma(1:end-1)] | [sepOrComma(2:end), true]);
    work(comma) = ' ';
end

% Fields per line: a field starts where a non-separator follows a separator.
sep = work == ' ' | isNewline;
fieldStart = ~sep & [true, sep(1:end-1)];
nFields = accumarray(lineOf(fieldStart).', 1, [nLines 1]).';
expected = nFields(firstData);
if expected ~= 3 && expected ~= 4
    reportLine(label, firstData, sprintf('expected 3 or 4 fields "%s", found %d', fmt, expected));
end
bad = isData & nFields ~= expected;
bad(lineOf(stray)) = true;
if colons
    % Fields of a rating line are joined by '::' and by nothing else.
    joints = accumarray(lineOf(strfind(text, '::')).', 1, [nLines 1]).';
    bad(isData & joints ~= expected - 1) = true;
end
% Every field must be a plain decimal number: find the first field start
% that does not begin one (the padding shifts positions by one).
odd = regexp([' ', work, ' '], ['(?<=[ \n])(?![-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?' ...
                                '(?=[ \n]))[^ \n]'], 'once');
if ~isempty(odd)
    bad(lineOf(odd - 1)) = true;
end
if any(bad)
    k = find(bad, 1);
    if nFields(k) ~= expected
        reportLine(label, k, sprintf('expected %d fields "%s", found %d', expected, fmt, nFields(k)));
    end
    reportLine(label, k, sprintf('not of the form "%s": %s', fmt, strtrim(text(lineOf == k))));
end

table = reshape(sscanf(work, '%f'), expected, []).';
k = find(~all(isfinite(table(:, 1:3)), 2), 1);
if ~isempty(k)
    dataLines = find(isData);
    reportLine(label, dataLines(k), 'ids and value must be finite numbers');
end
[rowIds, ~, I] = unique(table(:, 1));
[colIds, ~, J] = unique(table(:, 2));
I = I(:);
J = J(:);
vals = table(:, 3);
end


function reportLine(label, k, what)
error('readtriplets:malformed', 'readtriplets: %s line %d: %s', label, k, what);
end
