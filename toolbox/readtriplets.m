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
%   The file is read 4 MB at a time, never whole: the memory it takes is
%   the result (24 bytes a line, and the distinct ids), 16 bytes a line
%   that the blocks keep until the end, and the current block. Reading stops with the error
%   'readtriplets:memory' once the lines read so far would need more
%   memory than the system has available (where it can tell: Linux, and
%   MATLAB on Windows), or at 2^32 lines, so that an input that never ends
%   (a device, an endless pipe) stops there.
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

blockSize = 2^22;
longest = 2^20;
% Bytes a line needs at most: its parts (two uint32 positions and the
% value) and the result (three doubles).
perLine = 40;
budget = alsAvailableMemory() * 1.25;
parts = cell(0, 5);
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
    if cut > 0
        text = block(1:cut);
        if text(end) ~= char(10)
            text(end + 1) = char(10); %#ok<AGROW>
        end
        [a, b, v, state] = readtripletsChunk(text, state);
        if ~isempty(v)
            % Each block keeps its distinct ids and every line's position
            % among them (4 bytes), not the ids themselves.
            [ua, ~, ja] = unique(a);
            [ub, ~, jb] = unique(b);
            parts(end + 1, :) = {ua, uint32(ja), ub, uint32(jb), v}; %#ok<AGROW>
            lines = lines + numel(v);
        end
        if lines >= 2^32
            error('readtriplets:memory', ['readtriplets: %s: stopped after %d lines, the most ' ...
                  'a file may hold (an input without end?).'], state.label, lines);
        end
        if lines * perLine > budget
            error('readtriplets:memory', ...
                  ['readtriplets: %s: stopped after %d lines: the lines read so far would ' ...
                   'need about %s of memory and only %s is available (an input without end?).'], ...
                  state.label, lines, alsBytes(lines * perLine), alsBytes(budget / 1.25));
        end
    end
    if atEnd
        break;
    end
end
clear closer carry block text
if lines == 0
    error('readtriplets:malformed', 'readtriplets: %s holds no data lines.', state.label);
end
[I, rowIds] = positions(parts(:, 1), parts(:, 2), lines);
parts(:, 1:2) = {[]};
[J, colIds] = positions(parts(:, 3), parts(:, 4), lines);
parts(:, 3:4) = {[]};
vals = zeros(lines, 1);
at = 0;
for k = 1:size(parts, 1)
    vals(at + 1:at + numel(parts{k, 5})) = parts{k, 5};
    at = at + numel(parts{k, 5});
    parts{k, 5} = [];
end
end


function [index, ids] = positions(distinct, where, lines)
% The distinct ids of all blocks in ascending order, and each line's
% position among them, from each block's distinct ids (DISTINCT{k}) and
% its lines' positions among those (WHERE{k}): the work goes by the
% number of distinct ids, and nothing as long as the data is made beyond
% the result.
distinct = sameClass(distinct);
ids = unique(vertcat(distinct{:}));
index = zeros(lines, 1);
at = 0;
for k = 1:numel(distinct)
    [~, pos] = ismember(distinct{k}, ids);
    index(at + 1:at + numel(where{k})) = pos(where{k});
    at = at + numel(where{k});
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
