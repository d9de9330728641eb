function [It, Jt, Ih, Jh] = implicitdata (m, n, N)
  % Rating-like interactions for the implicit benchmarks: synthratings'
  % ratings of 4 and more, 20% of each row's held out (seeded).
  [I, J, v] = synthratings (m, n, N, 1);
  keep = v >= 4;
  I = I(keep); J = J(keep);
  rand ('seed', 7);
  held = rowsplit (I, rand (numel (I), 1), 0.2);
  [It, Jt, Ih, Jh] = deal (I(~held), J(~held), I(held), J(held));
end
