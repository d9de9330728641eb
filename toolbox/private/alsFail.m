function alsFail(msg)
%ALSFAIL  Raise the completion routine's input error with the given text.
error('alscomplete:input', 'alscomplete: %s.', msg);
end
