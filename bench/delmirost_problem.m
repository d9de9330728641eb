function [Chat, W, lambda, I, J, nb] = delmirost_problem (m, nb, r, len)
  % A reproducible triplet problem sorted by block: len weighted entries over
  % nb blocks of a W with m rows and r columns.
  rand ('seed', 1); randn ('seed', 1);
  W = randn (m, r);
  J = sort (randi (nb, len, 1));
  I = randi (m, len, 1);
  Chat = 0.5 + rand (len, 1);
  lambda = 0.1;
end
