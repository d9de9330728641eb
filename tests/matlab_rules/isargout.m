function tf = isargout (k)
  % Octave's alone: in MATLAB, calling isargout is "Undefined function".
  % Anyone else gets Octave's answer for their own frame.
  if (matlabRules ())
    error ('MATLAB:UndefinedFunction', ...
           'Undefined function ''isargout'' for input arguments of type ''%s''.', class (k));
  end
  tf = evalin ('caller', sprintf ('builtin (''isargout'', %s);', mat2str (k)));
end
