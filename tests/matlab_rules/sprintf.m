function varargout = sprintf (varargin)
  % MATLAB's sprintf drops empty data arguments, where Octave prints an
  % empty %s: the rest of the format then goes without its data.
  if (matlabRules ())
    varargin = [varargin(1), varargin(1 + find (~cellfun ('isempty', varargin(2:end))))];
  end
  [varargout{1:max (1, nargout)}] = builtin ('sprintf', varargin{:});
end
