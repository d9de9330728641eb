function varargout = fputs (varargin)
  % Octave's alone: in MATLAB, calling fputs is "Undefined function".
  varargout = octaveOnly ('fputs', varargin, nargout);
end
