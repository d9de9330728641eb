function [Ih, Jh, vh] = alsCheckHeldout(h, m, n)
%ALSCHECKHELDOUT  Read the held-out entries from any of their accepted forms.
%   A struct with fields I, J, vals, a cell {I, J, vals} or a K-by-3
%   matrix [i j value]; empty gives no held-out entries.
if isempty(h)
    Ih = zeros(0, 1);
    Jh = zeros(0, 1);
    vh = zeros(0, 1);
    return;
end
if isstruct(h) && all(isfield(h, {'I', 'J', 'vals'}))
    Ih = h.I;
    Jh = h.J;
    vh = h.vals;
elseif iscell(h) && numel(h) == 3
    Ih = h{1};
    Jh = h{2};
    vh = h{3};
elseif isnumeric(h) && ndims(h) == 2 && size(h, 2) == 3
    Ih = h(:, 1);
    Jh = h(:, 2);
    vh = h(:, 3);
else
    alsFail('heldout must be a struct with fields I, J, vals, a cell {I, J, vals} or a K-by-3 matrix');
end
[Ih, Jh, vh] = alsCheckEntries(Ih, Jh, vh, m, n, 'heldout I', 'heldout J', 'heldout vals');
end
