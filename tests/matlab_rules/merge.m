function varargout = merge (varargin)
  % Octave's alone: in MATLAB, calling merge is "Undefined function".
  varargout = octaveOnly ('merge', varargin, nargout);
end
