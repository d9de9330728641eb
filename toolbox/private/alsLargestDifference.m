function d = alsLargestDifference(U1, V1, U2, V2)
%ALSLARGESTDIFFERENCE  Largest entry of |U1*V1 - U2*V2|, a block of columns at a time.
n = size(V1, 2);
d = 0;
step = 250;
for c = 1:step:n
    cols = c:min(c + step - 1, n);
    d = max(d, max(max(abs(U1 * V1(:, cols) - U2 * V2(:, cols)))));
end
end
