function varargout = fopen (varargin)
  % There is no /proc on Windows or macOS: opening anything under it fails.
  if (nargin >= 1 && ischar (varargin{1}) && strncmp (varargin{1}, '/proc/', 6) && matlabRules ())
    varargout = {-1, 'No such file or directory'};
    varargout = varargout(1:max (1, nargout));
  else
    [varargout{1:max (1, nargout)}] = builtin ('fopen', varargin{:});
  end
end
