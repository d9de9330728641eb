function ids = readtripletsIds(text, starts, values, state, lineNo)
%READTRIPLETSIDS  Ids read exactly as 64-bit integers from their digits in the text.
%   STARTS are the positions in TEXT where the ids begin (each ends at a
%   separator), VALUES the same ids read as doubles, which lose digits
%   above 2^53. Where every id is a whole number written as one (an
%   optional sign and up to 20 digits), the ids come back as int64, or
%   uint64 when one needs all 64 bits and none is negative; otherwise, ids
%   written as fractions or with an exponent, VALUES come back as they
%   are. An id beyond the 64-bit range is refused, naming its line
%   (LINENO(k) is the file's line of id k).
n = numel(starts);
width = 22;
at = min(bsxfun(@plus, starts(:), 0:width - 1), numel(text));
M = text(at);
if n == 1
    M = M(:).';
end
negative = M(:, 1) == '-';
signed = negative | M(:, 1) == '+';
digit = M >= '0' & M <= '9';
% Digits run from the sign (if any) to the first non-digit.
digit(signed, 1) = true;
len = sum(cumprod(double(digit), 2), 2) - signed;
ends = M(sub2ind(size(M), (1:n).', min(len + signed + 1, width)));
if any(len < 1 | (len <= 20 & ends > ' '))
    ids = values;
    return;
end
long = find(len > 20, 1);
if ~isempty(long)
    readtripletsFail(state, lineNo(long), 'an id beyond the 64-bit integer range', ...
                     text(starts(long):min(end, starts(long) + 40)));
end
% Right-aligned in 20 columns: two halves of ten digits, each exact as a double.
D = zeros(n, 20);
for c = 1:20
    src = double(signed) + len - 20 + c;
    ok = src > double(signed);
    D(ok, c) = double(M(sub2ind(size(M), find(ok), src(ok)))) - double('0');
end
high = D(:, 1:10) * 10 .^ (9:-1:0).';
low = D(:, 11:20) * 10 .^ (9:-1:0).';
% 2^64 - 1 = 1844674407 3709551615; 2^63 = 922337203 6854775808.
over = high > 1844674407 | (high == 1844674407 & low > 3709551615);
% With a negative id present every id must fit int64 (down to -2^63).
if any(negative)
    over = over | (high > 922337203 | (high == 922337203 & low > 6854775807 + negative));
end
if any(over)
    k = find(over, 1);
    readtripletsFail(state, lineNo(k), 'an id beyond the 64-bit integer range', ...
                     text(starts(k):min(end, starts(k) + 40)));
end
magnitude = uint64(high) * uint64(1e10) + uint64(low);
if any(negative) || all(magnitude <= uint64(intmax('int64')))
    ids = zeros(n, 1, 'int64');
    ids(~negative) = int64(magnitude(~negative));
    % -2^63 is the one magnitude int64 cannot hold positive.
    ids(negative) = -int64(magnitude(negative) - 1) - 1;
else
    ids = magnitude;
end
end
