function text = raised (kernel, f, nout)
  % The message that calling f for nout outputs (1 unless given) raises,
  % without the "<kernel>: " that Octave puts before a plug-in's own text;
  % '' when the call raises nothing.
  if (nargin < 3)
    nout = 1;
  end
  text = '';
  try
    switch (nout)
      case 0
        f ();
      case 1
        x = f ();
      otherwise
        [x, y] = f ();
    end
  catch err
    text = err.message;
  end
  prefix = [kernel ': '];
  if (strncmp (text, prefix, numel (prefix)))
    text = text(numel (prefix) + 1:end);
  end
end
