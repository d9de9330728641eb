function varargout = fdisp (varargin)
  % Octave's alone: in MATLAB, calling fdisp is "Undefined function".
  varargout = octaveOnly ('fdisp', varargin, nargout);
end
