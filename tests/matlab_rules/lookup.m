function varargout = lookup (varargin)
  % Octave's alone: in MATLAB, calling lookup is "Undefined function".
  varargout = octaveOnly ('lookup', varargin, nargout);
end
