function varargout = puts (varargin)
  % Octave's alone: in MATLAB, calling puts is "Undefined function".
  varargout = octaveOnly ('puts', varargin, nargout);
end
