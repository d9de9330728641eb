function varargout = nproc (varargin)
  % Octave's alone: in MATLAB, calling nproc is "Undefined function".
  varargout = octaveOnly ('nproc', varargin, nargout);
end
