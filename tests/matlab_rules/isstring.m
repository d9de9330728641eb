function tf = isstring (x)
  % MATLAB's string scalars ("auto") are a class of their own, not char:
  % mstring stands for it here (Octave has no string class).
  tf = isa (x, 'mstring');
end
