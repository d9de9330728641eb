function [rows, carried, M, cols] = alsSortedTriplets(I, J, rowMap, colMap, m, n, countB, carry, label, transposed, stored)
%ALSSORTEDTRIPLETS  Entries sorted by column, then row, through sparse matrices built in ranges.
%   The entries are (rowMap(I(k)), colMap(J(k))) of an M-by-N matrix (an
%   empty map leaves its indices as they are); COUNTB(j) is the number of
%   entries in (new) column j. Returns the row indices in column-major
%   order (uint32), CARRIED, the vectors of the cell CARRY taken in the
%   same order, with a third output the M-by-N sparse matrix M on the
%   pattern whose values are the entries' positions k, or STORED(k) when
%   STORED is given and not empty (with an empty CARRY only), or its
%   transpose when TRANSPOSED is true (joined from the ranges' transposes,
%   without the matrix itself), and with a fourth the column indices in the
%   same order (uint32; made only when asked for, as they take 4 bytes an
%   entry). Each range of columns is sorted by a sparse matrix of its own,
%   so the sort's temporaries are a range's; the ranges are joined at the
%   end. A pair given twice stops the fit with an error that LABEL(k)
%   names.
N = numel(I);
last = cumsum(countB(:));
% Every column goes to a range of about 2^20 entries (a busier column
% is a range of its own), and the ranges to sixteen groups. One pass
% notes every entry's group and its range within the group; a group's
% entries (with their ranges) are then found a million entries at a
% time, and a range's within its group. Whatever is as long as the data,
% or as a group, is thus made once: a range's temporaries and the
% pieces stay small enough for the memory allocator to reuse, where
% temporaries of a sixteenth of the data each would take fresh memory
% every time.
rangeOf = max(1, ceil(last / 2^20));
colEnd = [find(diff(rangeOf) ~= 0); n];
perGroup = ceil(rangeOf(end) / 16);
groupOf = uint8(ceil(rangeOf / perGroup));
% Within its group, a range is numbered from 1.
rangeOf = uint16(rangeOf - (double(groupOf) - 1) * perGroup);
gid = zeros(N, 1, 'uint8');
rid = zeros(N, 1, 'uint16');
for t0 = 1:2^20:N
    t = t0:min(N, t0 + 2^20 - 1);
    b = mapped(colMap, J(t));
    gid(t) = groupOf(b);
    rid(t) = rangeOf(b);
end
clear t b
rows = zeros(N, 1, 'uint32');
% COLS is made only when asked for (a fourth output).
withCols = nargout >= 4;
cols = [];
if withCols
    cols = zeros(N, 1, 'uint32');
end
carried = cell(size(carry));
for c = 1:numel(carry)
    carried{c} = zeros(N, 1);
end
parts = {};
c0 = 1;
t0 = 1;
octave = exist('OCTAVE_VERSION', 'builtin') ~= 0;
byPosition = nargin < 11 || isempty(stored);
for g = 1:double(max(groupOf))
    pieces = cell(ceil(N / 2^20), 1);
    ranges = pieces;
    for s0 = 1:2^20:N
        s = s0:min(N, s0 + 2^20 - 1);
        in = find(gid(s) == g);
        pieces{(s0 - 1) / 2^20 + 1} = in + (s0 - 1);
        r = rid(s);
        ranges{(s0 - 1) / 2^20 + 1} = r(in);
    end
    inGroup = vertcat(pieces{:});
    inRange = vertcat(ranges{:});
    clear pieces ranges s in r
    if isempty(inGroup)
        continue;
    end
    for k = 1:double(max(inRange))
        sel = inGroup(inRange == k);
        if isempty(sel)
            continue;
        end
        t1 = t0 + numel(sel) - 1;
        c1 = colEnd(find(colEnd >= c0, 1));
        A = mapped(rowMap, I(sel));
        B = mapped(colMap, J(sel)) - (c0 - 1);
        if byPosition
            x = sel;
        else
            x = stored(sel);
        end
        % Octave takes integer indices as they are; MATLAB wants doubles.
        if octave
            part = sparse(A, B, x, m, c1 - c0 + 1);
        else
            part = sparse(double(A), double(B), x, m, c1 - c0 + 1);
        end
        clear x
        if nnz(part) < numel(sel)
            lin = double(B) * m + double(A);
            [lin, ord] = sort(lin);
            alsFail(sprintf('the entry %s is observed more than once', ...
                            label(sel(ord(find(diff(lin) == 0, 1))))));
        end
        clear sel A B
        [i, j, p] = find(part);
        rows(t0:t1) = i;
        if withCols
            cols(t0:t1) = j + (c0 - 1);
        end
        for c = 1:numel(carry)
            carried{c}(t0:t1) = carry{c}(p);
        end
        clear i j p
        if nargout >= 3 && transposed
            parts{end + 1} = part.'; %#ok<AGROW>
        elseif nargout >= 3
            parts{end + 1} = part; %#ok<AGROW>
        end
        clear part
        t0 = t1 + 1;
        c0 = c1 + 1;
    end
    clear inGroup inRange
end
if nargout >= 3
    clear gid rid
    % Columns of no range (there are none past the last entry's) are empty.
    if transposed
        parts{end + 1} = sparse(n - c0 + 1, m);
        M = vertcat(parts{:});
    else
        parts{end + 1} = sparse(m, n - c0 + 1);
        M = [parts{:}];
    end
end
end


function x = mapped(map, x)
if ~isempty(map)
    x = map(x);
end
end
