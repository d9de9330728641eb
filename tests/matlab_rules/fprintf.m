function varargout = fprintf (varargin)
  % MATLAB's fprintf drops empty data arguments, where Octave prints an
  % empty %s: the rest of the format then goes without its data.
  if (matlabRules ())
    fmt = 1 + (nargin >= 2 && isnumeric (varargin{1}));
    data = varargin(fmt + 1:end);
    varargin = [varargin(1:fmt), data(~cellfun ('isempty', data))];
  end
  [varargout{1:nargout}] = builtin ('fprintf', varargin{:});
end
