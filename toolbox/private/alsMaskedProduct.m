function q = alsMaskedProduct(P, A, B)
%ALSMASKEDPRODUCT  A(j,:)*B(:,i) at every entry (i, j) of the pattern, in column order.
%   A has a row per column of the pattern, B a column per row: the
%   triplets' columns, made from P.colStart a range at a time, index the
%   rows of A in order, and the rows P.I the columns of B, each read
%   whole. Ranges of 2^20 entries keep the block numbers' temporaries
%   small.
q = zeros(P.N, 1);
for k = 1:2^20:P.N
    t = k:min(P.N, k + 2^20 - 1);
    q(t) = P.kern.ombrelast(A, B, alsBlockIds(P.colStart, k, t(end)), P.I(t));
end
end
