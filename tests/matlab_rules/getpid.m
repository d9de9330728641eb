function varargout = getpid (varargin)
  % Octave's alone: in MATLAB, calling getpid is "Undefined function".
  varargout = octaveOnly ('getpid', varargin, nargout);
end
