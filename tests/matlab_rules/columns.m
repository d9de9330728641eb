function varargout = columns (varargin)
  % Octave's alone: in MATLAB, calling columns is "Undefined function".
  varargout = octaveOnly ('columns', varargin, nargout);
end
