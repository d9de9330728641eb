function tf = exist (varargin)
  % MATLAB has no OCTAVE_VERSION: exist('OCTAVE_VERSION', ...) is 0 there.
  % Anyone else gets Octave's answer for their own workspace (a variable
  % of the caller counts, as it would without the shim).
  if (nargin >= 1 && ischar (varargin{1}) && strcmp (varargin{1}, 'OCTAVE_VERSION') && matlabRules ())
    tf = 0;
    return;
  end
  call = 'builtin (''exist''';
  for k = 1:nargin
    call = [call ', ''' strrep(varargin{k}, '''', '''''') ''''];
  end
  tf = evalin ('caller', [call ')']);
end
