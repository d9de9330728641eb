function s = alsBytes(b)
%ALSBYTES  A byte count as text: GB from 1 GB up, MB below.
if b >= 2^30
    s = sprintf('%.1f GB', b / 2^30);
else
    s = sprintf('%.0f MB', b / 2^20);
end
end
