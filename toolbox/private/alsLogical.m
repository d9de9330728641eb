function v = alsLogical(v, name, fail)
%ALSLOGICAL  A true/false option: a logical or real number scalar (nonzero is true).
%   Anything else ([], NaN, text, an array) calls FAIL with a message
%   naming the option NAME.
if ~(islogical(v) || (isnumeric(v) && isreal(v))) || ~isscalar(v) || isnan(double(v))
    fail(sprintf('%s must be true or false (a logical or numeric scalar)', name));
end
v = logical(v);
end
