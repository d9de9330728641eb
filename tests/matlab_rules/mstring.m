classdef mstring
  % A stand-in for a MATLAB string scalar: not char (ischar is false,
  % strcmp with it is false), made a char vector by char().
  properties (Access = private)
    text = '';
  end
  methods
    function s = mstring (text)
      s.text = text;
    end
    function c = char (s)
      c = s.text;
    end
  end
end
