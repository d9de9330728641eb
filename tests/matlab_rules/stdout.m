function varargout = stdout (varargin)
  % Octave's alone: in MATLAB, calling stdout is "Undefined function".
  varargout = octaveOnly ('stdout', varargin, nargout);
end
