function out = octaveOnly (name, args, nout)
  % Calls Octave's NAME for anyone but the toolbox; for the toolbox raises
  % the error MATLAB raises for a function it does not have.
  if (matlabRules (1))
    type = 'double';
    if (~isempty (args))
      type = class (args{1});
    end
    error ('MATLAB:UndefinedFunction', ...
           'Undefined function ''%s'' for input arguments of type ''%s''.', name, type);
  end
  out = cell (1, nout);
  if (nout == 0)
    builtin (name, args{:});
  else
    [out{:}] = builtin (name, args{:});
  end
end
