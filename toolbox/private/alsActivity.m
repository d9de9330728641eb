function c = alsActivity(K, n)
%ALSACTIVITY  Entries per row (or column): how many of the indices K fall on each of 1..N.
%   Octave counts integer indices as they are; MATLAB takes them as doubles,
%   converted a range at a time.
if isa(K, 'double') || exist('OCTAVE_VERSION', 'builtin') ~= 0
    c = accumarray(K(:), 1, [n 1]);
else
    c = zeros(n, 1);
    for t0 = 1:2^20:numel(K)
        c = c + accumarray(double(K(t0:min(numel(K), t0 + 2^20 - 1))), 1, [n 1]);
    end
end
end
