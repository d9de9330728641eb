function [rows, cols, carried, M] = alsSortedTriplets(I, J, rowMap, colMap, m, n, countB, carry, label)
%ALSSORTEDTRIPLETS  Entries sorted by column, then row, through sparse matrices built in ranges.
%   The entries are (rowMap(I(k)), colMap(J(k))) of an M-by-N matrix (an
%   empty map leaves its indices as they are); COUNTB(j) is the number of
%   entries in (new) column j. Returns the indices in column-major order
%   (uint32), CARRIED, the vectors of the cell CARRY taken in the same
%   order, and with a fourth output the M-by-N sparse matrix M on the
%   pattern (its values are scratch). Each range of columns, about a
%   sixteenth of the entries (at least 2^20), is sorted by a sparse matrix
%   of its own whose values are the entries' positions, so the sort's
%   temporaries are a range's; the ranges are joined at the end. A pair
%   given twice stops the fit with an error that LABEL(k) names.
N = numel(I);
last = cumsum(countB(:));
range = max(2^20, ceil(N / 16));
chunkOf = uint8(max(1, ceil(last / range)));
chunks = double(max(chunkOf));
gid = zeros(N, 1, 'uint8');
for t0 = 1:range:N
    t = t0:min(N, t0 + range - 1);
    gid(t) = chunkOf(mapped(colMap, J(t)));
end
clear chunkOf
rows = zeros(N, 1, 'uint32');
cols = zeros(N, 1, 'uint32');
carried = cell(size(carry));
for c = 1:numel(carry)
    carried{c} = zeros(N, 1);
end
parts = {};
c0 = 1;
t0 = 1;
octave = exist('OCTAVE_VERSION', 'builtin') ~= 0;
for k = 1:chunks
    sel = find(gid == k);
    if isempty(sel)
        continue;
    end
    t1 = t0 + numel(sel) - 1;
    c1 = find(last >= t1, 1);
    if k == chunks
        c1 = n;
    end
    A = mapped(rowMap, I(sel));
    B = mapped(colMap, J(sel)) - (c0 - 1);
    % Octave takes integer indices as they are; MATLAB wants doubles.
    if octave
        part = sparse(A, B, sel, m, c1 - c0 + 1);
    else
        part = sparse(double(A), double(B), sel, m, c1 - c0 + 1);
    end
    if nnz(part) < numel(sel)
        lin = double(B) * m + double(A);
        [lin, ord] = sort(lin);
        alsFail(sprintf('the entry %s is observed more than once', ...
                        label(sel(ord(find(diff(lin) == 0, 1))))));
    end
    clear sel A B
    [i, j, p] = find(part);
    rows(t0:t1) = i;
    cols(t0:t1) = j + (c0 - 1);
    for c = 1:numel(carry)
        carried{c}(t0:t1) = carry{c}(p);
    end
    clear i j p
    if nargout > 3
        parts{end + 1} = part; %#ok<AGROW>
    end
    clear part
    t0 = t1 + 1;
    c0 = c1 + 1;
end
if nargout > 3
    clear gid
    if numel(parts) == 1
        M = parts{1};
    else
        M = [parts{:}];
    end
end
end


function x = mapped(map, x)
if ~isempty(map)
    x = map(x);
end
end
