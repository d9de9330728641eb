function [I, J, vals, rowIds, colIds] = readtriplets(file)
%READTRIPLETS  Read observed matrix entries from a text file of triplets.
%   [I, J, VALS, ROWIDS, COLIDS] = READTRIPLETS(FILE) reads one entry per
%   line, in either of two formats (the first data line decides which):
%     i j value           fields separated by spaces, tabs or commas (a
%                         comma ends a field: "1,1,5" and "1, 1, 5" both
%                         work); an optional fourth field (e.g. a
%                         timestamp, numeric or not) is ignored
%     user::item::rating::timestamp
%                         fields separated by '::'; the timestamp may be left out
%   The row and column ids are numbers, not necessarily consecutive. They
%   are mapped to consecutive indices: I(k) is the position of the k-th
%   line's row id in ROWIDS (the distinct row ids in ascending order), and
%   J(k) likewise in COLIDS, so ROWIDS(I(k)) is the id read on that line.
%   I, J and VALS are double column vectors in the order of the file's
%   lines. ROWIDS and COLIDS are doubles when every id is a number of at
%   most 2^53 in magnitude, which doubles hold exactly; when some whole-
%   number id is larger (a 64-bit or hashed id), that side's ids are int64
%   (uint64 when some id needs all 64 bits and none is negative), so that
%   distinct ids stay distinct.
%
%   Blank lines and lines starting with '%' or '#' are skipped. Line ends
%   may be LF, CR LF or CR alone; a UTF-8 byte-order mark at the start is
%   skipped. Every other line must have the field count of the first data
%   line and numbers in its first three fields, with finite values;
%   otherwise the error (identifier 'readtriplets:malformed') names the
%   first offending line, showing at most 80 characters of it (other bytes
%   than printable ASCII as <XX> in hexadecimal):
%     readtriplets: data.txt line 7: expected 3 fields "i j value", found 2: 4 5
%   A file in UTF-16 or with NUL bytes, or a line longer than 1 MB, is
%   refused with the same identifier, saying so.
%
%   The file is read 2 MB at a time, never whole (a regular file's lines
%   are counted first, so that the result is made once at its size): the
%   memory it takes is the result (24 bytes a line), each block's distinct
%   ids, and the current block with its working copies (some 40 MB). It
%   is refused with the error 'readtriplets:memory' when its lines would
%   need more memory than the system has available (where it can tell:
%   Linux, and MATLAB on Windows); an input of unknown size (a device, a
%   pipe) is read until the lines read so far would, or until 2^32 lines,
%   so that one that never ends stops there.
%
%   Example:
%     [I, J, v, users, items] = readtriplets('ratings.dat');
%     [U, V] = alscomplete(I, J, v, numel(users), numel(items), 'rank', 10);
%
%   See also ALSCOMPLETE.

if nargin ~= 1
    error('readtriplets:input', 'readtriplets: expected one argument, the name of the file.');
end
file = alsChars(file);
if ~ischar(file) || size(file, 1) ~= 1
    error('readtriplets:input', 'readtriplets: FILE must be a file name (a character row).');
end
if exist(file, 'dir') == 7
    error('readtriplets:open', 'readtriplets: cannot open %s: it is a folder.', file);
end
[fid, msg] = fopen(file, 'r');
if fid < 0
    error('readtriplets:open', 'readtriplets: cannot open %s: %s.', file, msg);
end
closer = onCleanup(@() fclose(fid));
[~, base, ext] = fileparts(file);
state = struct('label', [base ext], 'line', 0, 'fields', 0, 'colons', false, 'crOnly', false);

blockSize = 2^21;
longest = 2^20;
% The result takes three doubles a line.
perLine = 24;
budget = alsAvailableMemory();
% The result is made once, at its size: a regular file's lines are
% counted before they are read (the lines before the first data line are
% taken off once they are known). Where the size cannot be told (a pipe,
% a device) it grows, doubling, and is cut to size at the end.
total = lineCount(fid, blockSize);
room = 0;
I = zeros(0, 1);
J = I;
vals = I;
rowParts = cell(0, 1);
colParts = rowParts;
counts = zeros(0, 1);
lines = 0;
carry = '';
first = true;
while true
    block = char(fread(fid, blockSize, '*uint8').');
    atEnd = numel(block) < blockSize;
    if first
        [block, state] = startOfFile(block, state);
        first = false;
    end
    nul = find(block == char(0), 1);
    if ~isempty(nul)
        error('readtriplets:malformed', ['readtriplets: %s line %d holds a NUL byte: a ' ...
              'binary file, or text in UTF-16 or UTF-32, not a text file of triplets.'], ...
              state.label, state.line + sum(carry == char(10)) + sum(block(1:nul) == char(10)) + 1);
    end
    if state.crOnly
        block(block == char(13)) = char(10);
    end
    block = [carry, block]; %#ok<AGROW>
    cut = find(block == char(10), 1, 'last');
    if atEnd
        cut = numel(block);
    elseif isempty(cut)
        cut = 0;
    end
    carry = block(cut + 1:end);
    if numel(carry) > longest
        readtripletsFail(state, state.line + 1, sprintf( ...
            'longer than %d bytes without a line end: not a text file of triplets', longest));
    end
    text = block(1:cut);
    block = [];
    if cut > 0
        if text(end) ~= char(10)
            text(end + 1) = char(10); %#ok<AGROW>
        end
        [a, b, v, state] = readtripletsChunk(text, state);
        text = [];
        n = numel(v);
        if lines + n >= 2^32
            error('readtriplets:memory', ['readtriplets: %s: stopped after %d lines, the most ' ...
                  'a file may hold (an input without end?).'], state.label, lines + n);
        end
        if n > 0 && lines + n > room
            if room == 0 && total > 0
                % Every line still to come may be a data line.
                room = total - (state.line - lines - n);
                if room * perLine > budget
                    error('readtriplets:memory', ['readtriplets: %s: its %d lines would need ' ...
                          'about %s of memory and only %s is available.'], state.label, ...
                          room, alsBytes(room * perLine), alsBytes(budget));
                end
            end
            if lines + n > room
                room = min(max(2 * room, lines + n), floor(budget / perLine));
            end
            if lines + n > room
                error('readtriplets:memory', ...
                      ['readtriplets: %s: stopped after %d lines: the lines read so far would ' ...
                       'need about %s of memory and only %s is available (an input without end?).'], ...
                      state.label, lines + n, alsBytes((lines + n) * perLine), alsBytes(budget));
            end
            I(room, 1) = 0;
            J(room, 1) = 0;
            vals(room, 1) = 0;
        end
        if n > 0
            % Each block keeps its distinct ids; the result holds each
            % line's position among them until all ids are known.
            [rowParts{end + 1, 1}, I(lines + 1:lines + n)] = blockIds(a);
            [colParts{end + 1, 1}, J(lines + 1:lines + n)] = blockIds(b);
            vals(lines + 1:lines + n) = v;
            counts(end + 1, 1) = n; %#ok<AGROW>
            lines = lines + n;
        end
    end
    if atEnd
        break;
    end
end
clear closer carry block text a b v
if lines == 0
    error('readtriplets:malformed', 'readtriplets: %s holds no data lines.', state.label);
end
if room > lines
    I = I(1:lines);
    J = J(1:lines);
    vals = vals(1:lines);
end
[rowIds, rowParts] = positions(rowParts);
[colIds, colParts] = positions(colParts);
at = 0;
for k = 1:numel(counts)
    r = at + 1:at + counts(k);
    I(r) = rowParts{k}(I(r));
    J(r) = colParts{k}(J(r));
    at = at + counts(k);
end
end


function total = lineCount(fid, blockSize)
% The lines of a regular file (its line ends, and a last line without
% one), read block by block; 0 where its size cannot be told.
total = 0;
if fseek(fid, 0, 'eof') ~= 0
    return;
end
left = ftell(fid);
if left <= 0 || fseek(fid, 0, 'bof') ~= 0
    fseek(fid, 0, 'bof');
    return;
end
lastByte = 10;
while left > 0
    block = fread(fid, min(blockSize, left), '*uint8');
    if isempty(block)
        break;
    end
    total = total + nnz(block == 10);
    lastByte = block(end);
    left = left - numel(block);
end
total = total + (lastByte ~= 10);
fseek(fid, 0, 'bof');
end


function [ids, where] = blockIds(x)
% A block's distinct ids in ascending order and each line's position
% among them. Whole numbers spanning a range not much wider than the
% block are marked in a table of that range, without a sort.
if isa(x, 'double')
    low = min(x);
    span = max(x) - low + 1;
    if span <= 4 * numel(x) + 2^16 && all(x == round(x))
        x = x - (low - 1);
        seen = false(span, 1);
        seen(x) = true;
        ids = find(seen);
        table = zeros(span, 1);
        table(ids) = 1:numel(ids);
        where = table(x);
        ids = ids + (low - 1);
        return;
    end
end
[ids, ~, where] = unique(x);
end


function [ids, parts] = positions(parts)
% All distinct ids in ascending order, from each block's distinct ids
% (PARTS{k}), which come back as their positions among all: the work goes
% by the number of distinct ids, not by the lines.
parts = sameClass(parts);
ids = unique(vertcat(parts{:}));
for k = 1:numel(parts)
    [~, parts{k}] = ismember(parts{k}, ids);
end
end


function [block, state] = startOfFile(block, state)
% The byte-order mark and the kind of line ends, from the first block.
lead = double(block(1:min(3, end)));
if numel(lead) == 3 && isequal(lead, [239 187 191])
    block = block(4:end);
end
if numel(lead) >= 2 && (isequal(lead(1:2), [255 254]) || isequal(lead(1:2), [254 255]))
    error('readtriplets:malformed', ['readtriplets: %s is UTF-16 text (its byte-order mark ' ...
          'is %02X %02X): save it as UTF-8 or ASCII.'], state.label, lead(1), lead(2));
end
state.crOnly = any(block == char(13)) && ~any(block == char(10));
end


function parts = sameClass(parts)
% The parts of one column of ids in one class: doubles, or int64/uint64
% when any part holds whole numbers beyond 2^53.
wide = ~cellfun(@(x) isa(x, 'double'), parts);
if ~any(wide)
    return;
end
cls = 'int64';
if any(cellfun(@(x) isa(x, 'uint64'), parts))
    cls = 'uint64';
end
for k = 1:numel(parts)
    x = parts{k};
    if (~wide(k) && any(x ~= round(x))) || (strcmp(cls, 'uint64') && any(x < 0))
        error('readtriplets:malformed', ['readtriplets: the ids mix whole numbers beyond ' ...
              '2^53 with fractions or negative numbers, which no one class holds exactly.']);
    end
    parts{k} = cast(x, cls);
end
end
