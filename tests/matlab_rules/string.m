classdef string
  % MATLAB's string scalars ("auto") are a class of their own, not char:
  % string('auto') stands for one here (Octave has no string class).
  % ischar is false, strcmp with it is false, char makes it a char vector.
  properties (Access = private)
    text = '';
  end
  methods
    function s = string (text)
      s.text = text;
    end
    function c = char (s)
      c = s.text;
    end
  end
end
