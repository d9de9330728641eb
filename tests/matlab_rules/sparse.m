function S = sparse (varargin)
  % MATLAB's sparse takes subscripts and values of class double or logical
  % only (Octave converts integer ones).
  if (matlabRules ())
    checked = [];
    if (nargin >= 3)
      checked = 1:3;
    elseif (nargin == 1)
      checked = 1;
    end
    for k = checked
      if (~isa (varargin{k}, 'double') && ~islogical (varargin{k}))
        error ('sparse: MATLAB takes double or logical subscripts and values only (argument %d is %s)', ...
               k, class (varargin{k}));
      end
    end
  end
  S = builtin ('sparse', varargin{:});
end
