function t = benchtime (f, reps, nout)
  % Median wall time in seconds of reps calls of f (after one warm-up call),
  % each asking for nout outputs (1 unless given; 0 for a call that returns
  % nothing).
  if (nargin < 2 || isempty (reps))
    reps = 7;
  end
  if (nargin < 3)
    nout = 1;
  end
  times = zeros (reps, 1);
  x = [];
  for k = 0:reps
    % The previous result is freed before the clock starts: its clean-up
    % is not part of the call being timed.
    x = [];
    t0 = tic ();
    if (nout > 0)
      x = f ();
    else
      f ();
    end
    if (k > 0)
      times(k) = toc (t0);
    end
  end
  t = median (times);
end
