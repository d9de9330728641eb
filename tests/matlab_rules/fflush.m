function varargout = fflush (varargin)
  % Octave's alone: in MATLAB, calling fflush is "Undefined function".
  varargout = octaveOnly ('fflush', varargin, nargout);
end
