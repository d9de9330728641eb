function [a, b, v, state] = readtripletsChunk(text, state)
%READTRIPLETSCHUNK  The entries of one block of whole lines of a triplet file.
%   TEXT is a char row of whole lines, each ending in a newline. Returns
%   the row ids A, column ids B (doubles, or int64/uint64 when a whole-
%   number id is beyond 2^53) and values V of its data lines as columns,
%   and STATE with the lines counted (STATE.line, the file's lines before
%   the next block) and, from the file's first data line, its format
%   (STATE.fields, 3 or 4, and STATE.colons for user::item::rating).
%
%   A block of plain data lines takes the fast path: a few passes over its
%   characters check that every line holds the same number of fields,
%   joined as the format says, and one scan reads the numbers. A block
%   with comments or blank lines, or one the fast path does not take,
%   goes through the line-by-line checks, which name the first bad line.
nl = find(text == char(10));
long = find(diff([0, nl]) > 2^20, 1);
if ~isempty(long)
    readtripletsFail(state, state.line + long, ...
                     'longer than 1 MB: not a line of a text file of triplets');
end
if state.fields == 0
    state = fileFormat(text, nl, state);
    if state.fields == 0
        % Only comments and blank lines so far.
        state.line = state.line + numel(nl);
        a = zeros(0, 1);
        b = a;
        v = a;
        return;
    end
end
[ok, a, b, v] = fast(text, nl, state);
if ~ok
    [a, b, v] = careful(text, nl, state);
end
state.line = state.line + numel(nl);
end


function state = fileFormat(text, nl, state)
% The format of the first data line: '::' joins its fields or not, and
% how many fields it has.
first = regexp(ascii(text), '^[ \t\r]*[^ \t\r\n%#]', 'once', 'lineanchors');
if isempty(first)
    return;
end
k = find(nl >= first, 1);
line = text(max([nl(nl < first), 0]) + 1:nl(k));
state.colons = ~isempty(strfind(line, '::'));
if state.colons
    work = strrep(line, '::', '  ');
else
    work = strrep(line, ',', ' ');
end
fields = numel(strsplit(strtrim(regexprep(work, '\s+', ' ')), ' '));
if fields ~= 3 && fields ~= 4
    readtripletsFail(state, state.line + k, sprintf('expected 3 or 4 fields "%s", found %d', ...
                     formatName(state), fields), line);
end
state.fields = fields;
end


function [ok, a, b, v] = fast(text, nl, state)
% Every line a data line of STATE.fields fields: read it with one scan, or
% say it is not so (OK false) and leave the details to CAREFUL.
ok = false;
a = [];
b = [];
v = [];
F = state.fields;
n = numel(nl);
% A comment ('%' or '#') is no number: the scans below stop at it.
work = text;
if state.colons
    joints = strfind(text, '::');
    colons = text == ':';
    % Only '::' joins (no ':' alone, no ':::'), F - 1 of them on each line.
    if any(text == ',') || nnz(colons) ~= 2 * numel(joints) || numel(joints) ~= (F - 1) * n ...
            || ~all(joints(F - 1:F - 1:end) < nl) || ~all(joints(F:F - 1:end) > nl(1:end - 1))
        return;
    end
    work(colons) = ' ';
else
    commas = find(text == ',');
    if ~isempty(commas)
        % A comma ends a field: a field before it, and no line end or
        % comma right after it.
        if commas(1) == 1
            return;
        end
        before = text(commas - 1);
        after = text(commas + 1);
        if any(before <= ' ' | before == ',') || any(after == char(10) | after == char(13) | after == ',')
            return;
        end
        work(commas) = ' ';
    end
end
% Field starts: F on every line, none elsewhere. Octave compares
% characters as signed bytes: those beyond ASCII come out below zero.
isField = work > ' ' | work < char(0);
starts = isField;
starts(2:end) = isField(2:end) & ~isField(1:end - 1);
starts = find(starts);
if numel(starts) ~= F * n || ~all(starts(1:F:end) > [0, nl(1:end - 1)]) || ~all(starts(F:F:end) < nl)
    return;
end
% Whole numbers read fastest: all fields as 64-bit integers; else values
% with a decimal point (and no exponent) as whole numbers with the point
% taken out (DECIMALS); else the ids (and a numeric fourth field) as
% integers and the value as a double (twice as fast as all as doubles);
% else all as doubles. A word in the fourth field is blanked first.
[x, count, message] = sscanf(work, '%ld');
per = F;
% The whole-number scan saturates at 2^63: beyond 2^53 read again as
% doubles (ids then come exactly from their digits, below).
if count ~= F * n || ~isempty(message) || any(abs(x) >= 2^53)
    [done, x] = decimals(work, isField, starts, nl, F, per, n);
    if ~done && any(work > '9' | work < char(0))
        if F == 4
            work = blankFourth(work, starts(4:4:end), nl);
            per = 3;
            [done, x] = decimals(work, isField, starts, nl, F, per, n);
        end
        if any((work > '9' & work ~= 'e' & work ~= 'E') | work < char(0))
            return;
        end
    end
    formats = {'%ld %ld %f', '%f'};
    if per == 4
        formats{1} = '%ld %ld %f %ld';
    end
    for f = 1:2
        if done
            break;
        end
        [x, count, message] = sscanf(work, formats{f});
        done = count == per * n && isempty(message);
    end
    if ~done
        return;
    end
end
clear isField
x = reshape(double(x), per, n);
if ~all(all(isfinite(x(1:3, :))))
    return;
end
a = x(1, :).';
b = x(2, :).';
v = x(3, :).';
clear x
lineNo = state.line + (1:n).';
if any(abs(a) >= 2^53)
    a = readtripletsIds(work, starts(1:F:end), a, state, lineNo);
end
if any(abs(b) >= 2^53)
    b = readtripletsIds(work, starts(2:F:end), b, state, lineNo);
end
ok = true;
end


function [a, b, v] = careful(text, nl, state)
% The line-by-line checks: comments and blank lines dropped, the first
% line that breaks the format named with what is wrong with it.
F = state.fields;
n = numel(nl);
lineOf = cumsum([1, text(1:end - 1) == char(10)]);
separator = text <= ' ' & text >= char(0);
% A line is data when its first character other than a separator is not
% '%' or '#'.
content = find(~separator);
[hasContent, firstAt] = unique(lineOf(content), 'first');
isData = false(1, n);
isData(hasContent) = text(content(firstAt)) ~= '%' & text(content(firstAt)) ~= '#';
work = text;
work(~isData(lineOf) & text ~= char(10)) = ' ';
work(work <= ' ' & work >= char(0) & work ~= char(10)) = ' ';

% Positions whose line breaks the way fields are joined.
bad = zeros(1, 0);
if state.colons
    joints = strfind(work, '::');
    triple = strfind(work, ':::');
    work([joints, joints + 1]) = ' ';
    bad = [triple, find(work == ':' | work == ',')];
    perLine = accumarray(lineOf(joints).', 1, [n 1]).';
    bad = [bad, nl(isData & perLine ~= F - 1)];
else
    commas = find(work == ',');
    if ~isempty(commas)
        padded = [' ', work];
        before = padded(commas);
        after = work(commas + 1);
        bad = commas(before == ' ' | before == ',' | after == char(10) | after == ',');
        work(commas) = ' ';
    end
end
isField = work > ' ' | work < char(0);
starts = isField;
starts(2:end) = isField(2:end) & ~isField(1:end - 1);
starts = find(starts);
count = accumarray(lineOf(starts).', 1, [n 1]).';
wrongCount = find(isData & count ~= F, 1);
% Each field start's place in its line.
before = [0, cumsum(count)];
place = (1:numel(starts)) - before(lineOf(starts));
if F == 4
    % The fourth field is left out: whatever it holds is fine.
    work = blankFourth(work, starts(place == 4), nl(lineOf(starts(place == 4))));
end
% The first field that is not a plain decimal number.
odd = regexp([' ', ascii(work), ' '], ['(?<=[ \n])(?![-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?' ...
                                '(?=[ \n]))[^ \n]'], 'once');
bad = [bad, odd - 1];
firstBad = min([lineOf(bad), n + 1]);
if ~isempty(wrongCount) && wrongCount <= firstBad
    readtripletsFail(state, state.line + wrongCount, sprintf('expected %d fields "%s", found %d', ...
                     F, formatName(state), count(wrongCount)), lineText(text, nl, wrongCount));
end
if firstBad <= n
    readtripletsFail(state, state.line + firstBad, sprintf('not of the form "%s"', ...
                     formatName(state)), lineText(text, nl, firstBad));
end
x = reshape(sscanf(work, '%f'), 3, []);
dataLines = find(isData);
k = find(~all(isfinite(x), 1), 1);
if ~isempty(k)
    readtripletsFail(state, state.line + dataLines(k), 'ids and value must be finite numbers', ...
                     lineText(text, nl, dataLines(k)));
end
a = x(1, :).';
b = x(2, :).';
v = x(3, :).';
if any(abs(a) >= 2^53)
    a = readtripletsIds(work, starts(place == 1), a, state, state.line + dataLines.');
end
if any(abs(b) >= 2^53)
    b = readtripletsIds(work, starts(place == 2), b, state, state.line + dataLines.');
end
end


function [ok, x] = decimals(work, isField, starts, nl, F, per, n)
% The numbers of a block whose values are written with a decimal point
% and no exponent, by the whole-number scan (twice as fast as %f): each
% value's point is taken out, the digits after it counted, and the whole
% number divided by that power of ten. Both are exact doubles (a whole
% number below 2^53, a power of ten up to 10^22), so the one rounding of
% the division gives the double nearest the written decimal, as %f does.
% Returns the numbers PER a line (OK true), or OK false where a point is
% elsewhere than in a value, or the digits are too many.
ok = false;
x = [];
dots = find(work == '.');
if isempty(dots)
    return;
end
valueStart = starts(3:F:end);
% Each value ends where the separators before the next field (or the
% line end) begin: found from there in a step or two, or else from all
% field ends.
if F == 4
    valueEnd = starts(4:4:end) - 1;
else
    valueEnd = nl - 1;
end
for step = 1:3
    back = ~isField(valueEnd);
    valueEnd(back) = valueEnd(back) - 1;
end
if ~all(isField(valueEnd))
    last = isField;
    last(1:end - 1) = isField(1:end - 1) & ~isField(2:end);
    ends = find(last);
    valueEnd = ends(3:F:end);
end
% Each point's line: the last value that starts before it.
[~, line] = histc(dots, [valueStart, Inf]);
if line(1) == 0 || any(dots > valueEnd(line)) || any(diff(line) == 0)
    return;
end
after = zeros(1, n);
after(line) = valueEnd(line) - dots;
if any(after > 22)
    return;
end
% A value of -0.0 keeps its sign, as %f reads it.
negative = work(valueStart) == '-';
work(dots) = [];
[x, count, message] = sscanf(work, '%ld');
if count ~= per * n || ~isempty(message)
    return;
end
x = reshape(double(x), per, n);
if any(any(abs(x(1:3, :)) >= 2^53))
    return;
end
tens = cumprod([1, 10 * ones(1, 22)]);
x(3, :) = x(3, :) ./ tens(after + 1);
x(3, negative & x(3, :) == 0) = -0;
ok = true;
end


function work = blankFourth(work, fourth, ends)
% Blanks every fourth field, from its start to the end of its line.
mark = zeros(1, numel(work) + 1);
mark(fourth) = 1;
mark(ends) = mark(ends) - 1;
work(cumsum(mark(1:end - 1)) > 0) = ' ';
end


function line = lineText(text, nl, k)
from = 1;
if k > 1
    from = nl(k - 1) + 1;
end
line = text(from:nl(k));
end


function s = formatName(state)
if state.colons
    s = 'user::item::rating::timestamp';
else
    s = 'i j value';
end
end


function text = ascii(text)
% Bytes beyond ASCII (Latin-1, UTF-8) as a character that is no part of a
% number, for the pattern matching, which takes valid UTF-8 only.
text(text > char(126) | text < char(0)) = '~';
end
