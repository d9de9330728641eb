function held = rowsplit (I, key, fraction)
  % Marks, in each row (I), the round(FRACTION * count) entries of
  % smallest KEY as held out; rows of a single entry are kept whole.
  [~, order] = sortrows ([I(:), key(:)]);
  starts = find ([true; diff(I(order)) ~= 0]);
  len = diff ([starts; numel(I) + 1]);
  pos = (1:numel (I))' - repelem (starts, len) + 1;
  L = repelem (len, len);
  held = false (numel (I), 1);
  held(order) = pos <= round (fraction * L) & L > 1;
end
