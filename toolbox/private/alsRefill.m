function E = alsRefill(P, E, x)
%ALSREFILL  Write X over the stored values of the pattern matrix E, in place where the kernel is compiled.
if P.kern.inPlace
    nzoverwrite(E, x);
else
    E = plain_nzoverwrite(E, x, P.I, alsBlockIds(P.colStart, 1, P.N));
end
end
