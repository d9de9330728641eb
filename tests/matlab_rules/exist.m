function varargout = exist (varargin)
  % MATLAB has no OCTAVE_VERSION: exist('OCTAVE_VERSION', ...) is 0 there.
  if (nargin >= 1 && ischar (varargin{1}) && strcmp (varargin{1}, 'OCTAVE_VERSION') && matlabRules ())
    varargout = {0};
  else
    [varargout{1:max (1, nargout)}] = builtin ('exist', varargin{:});
  end
end
