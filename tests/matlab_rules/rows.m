function varargout = rows (varargin)
  % Octave's alone: in MATLAB, calling rows is "Undefined function".
  varargout = octaveOnly ('rows', varargin, nargout);
end
