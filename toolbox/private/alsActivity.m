function c = alsActivity(K, n)
%ALSACTIVITY  Entries per row (or column): how many of the indices K fall on each of 1..N.
%   Counted a range of 2^20 indices at a time: the counting function
%   converts its indices to a wider type first (MATLAB takes only
%   doubles), which for the whole of K would be a temporary as long as the
%   data. The counts are whole numbers, so the sum over ranges is exact.
c = zeros(n, 1);
for t0 = 1:2^20:numel(K)
    k = K(t0:min(numel(K), t0 + 2^20 - 1));
    if ~isa(k, 'double') && exist('OCTAVE_VERSION', 'builtin') == 0
        k = double(k);
    end
    c = c + accumarray(k(:), 1, [n 1]);
end
end
