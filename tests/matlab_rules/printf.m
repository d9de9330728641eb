function varargout = printf (varargin)
  % Octave's alone: in MATLAB, calling printf is "Undefined function".
  varargout = octaveOnly ('printf', varargin, nargout);
end
