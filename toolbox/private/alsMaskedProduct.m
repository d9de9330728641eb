function q = alsMaskedProduct(P, A, B, k0, k1)
%ALSMASKEDPRODUCT  A(j,:)*B(:,i) at the entries K0..K1 (i, j) of the pattern, in column order.
%   A has a row per column of the pattern, B a column per row: the
%   entries' columns, made from P.colStart for the range, index the rows
%   of A in order, and the rows P.I the columns of B, each read whole.
%   Callers take ranges of about 2^20 entries and write them into a
%   vector of their own: the temporaries of a range are small enough
%   for the memory allocator to reuse, where a fresh vector as long as
%   the data costs its first touch every time.
q = P.kern.ombrelast(A, B, alsBlockIds(P.colStart, k0, k1), P.I(k0:k1));
end
