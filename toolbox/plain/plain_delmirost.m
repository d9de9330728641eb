function factors = plain_delmirost(Chat, W, lambda, I, J, nBlocks)
%PLAIN_DELMIROST  Plain-language equivalent of the compiled DELMIROST kernel.
%   FACTORS = PLAIN_DELMIROST(CHAT, W, LAMBDA, I, J, NBLOCKS) returns the
%   NBLOCKS-by-1 cell of upper Cholesky factors of
%       sum_k CHAT(k) * W(I(k),:)' * W(I(k),:) + LAMBDA * eye(r)
%   over the triplets k of each block J(k) = b, exactly as the kernel does,
%   including its treatment of unsorted block numbers: the triplets are
%   consumed in one forward walk, so only the longest leading run whose
%   block numbers ascend within 1..NBLOCKS is used.
%
%   The gather is vectorized; each block then costs one chol of
%   G'*G + LAMBDA*eye(r). Used as the reference and as the 'plain' backend
%   of ALSCOMPLETE.

if nargin ~= 6 || nargout ~= 1
    error('Invalid number of input/output parameter. Need 6 inputs and 1 output.');
end
len = max(size(I));
if max(size(J)) ~= len || max(size(Chat)) ~= len
    error('I, J and Chat must be vectors of the same length.');
end
if isempty(I)
    len = 0;
end

lambda = double(lambda(1));
nB = double(nBlocks(1));
r = size(W, 2);
factors = cell(nB, 1);
if nB == 0
    factors = cell(0, 1);
    return;
end

% The walk consumes triplet k only when every earlier triplet was consumed
% and J(k) neither falls below its predecessor nor leaves 1..nBlocks.
J = double(J(1:len));
J = J(:);
prev = [1; J(1:end-1)];
stop = find(J < prev | J > nB, 1);
if isempty(stop)
    used = len;
else
    used = stop - 1;
end

Ju = J(1:used);
scale = sqrt(double(Chat(1:used)));
G = reshape(scale(:) .* W(double(I(1:used)), :), used, r);
counts = accumarray(Ju, ones(used, 1), [nB 1]);
last = cumsum(counts);
first = last - counts + 1;
shift = lambda * eye(r);
for b = 1:nB
    Gb = G(first(b):last(b), :);
    [Rb, fail] = chol(Gb' * Gb + shift);
    if fail
        error('dpotrf (in delmirost): a leading minor is not positive definite.');
    end
    factors{b} = Rb;
end
end
