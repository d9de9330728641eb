function alsInputError(caller, msg)
%ALSINPUTERROR  Raise CALLER's input error ('CALLER:input') with the given text.
error([caller ':input'], '%s: %s.', caller, msg);
end
