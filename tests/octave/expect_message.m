function expect_message (kernel, f, nout, want)
  % Calling f for nout outputs raises the plug-in's message want.
  got = raised (kernel, f, nout);
  if (~strcmp (got, want))
    error ('%s: expected "%s", got "%s"', kernel, want, got);
  end
end
