function F = plain_delmirost_blocks (Chat, W, lambda, I, J, nb)
  % What one writes in plain Octave: gather every scaled row with one
  % vectorized indexing, then one chol per block.
  r = columns (W);
  G = sqrt (Chat) .* W(I, :);
  ends = cumsum (accumarray (double (J), 1, [nb 1]));
  shift = lambda * eye (r);
  F = cell (nb, 1);
  first = 1;
  for b = 1:nb
    Gb = G(first:ends(b), :);
    F{b} = chol (Gb' * Gb + shift);
    first = ends(b) + 1;
  end
end
