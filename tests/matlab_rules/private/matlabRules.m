function tf = matlabRules (skip)
  % True when the shim that calls this was called from the code that ships
  % (a file under toolbox/, or install_kernels.m): MATLAB's rules apply to
  % it, not to the tests or to Octave's own functions. SKIP counts frames
  % between the shim and this function (0 unless given). Only built-in
  % functions are called here, so that no shim is entered on the way.
  persistent toolbox installer;
  if (isempty (toolbox))
    root = regexprep (mfilename ('fullpath'), '[\\/]tests[\\/]matlab_rules[\\/]private[\\/]matlabRules$', '');
    toolbox = [root filesep 'toolbox' filesep];
    installer = [root filesep 'install_kernels.m'];
  end
  if (nargin < 1)
    skip = 0;
  end
  % Frames: this function, SKIP helpers, the shim, the shim's caller.
  st = dbstack ('-completenames');
  tf = false;
  if (numel (st) >= 3 + skip)
    f = st(3 + skip).file;
    tf = strncmp (f, toolbox, numel (toolbox)) || strcmp (f, installer);
  end
end
