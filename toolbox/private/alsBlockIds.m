function ids = alsBlockIds(start, t0, t1)
%ALSBLOCKIDS  Block numbers (uint32) of the entries T0..T1 of blocks stored one after another.
%   START(b) is where block b's entries start, START(end) one past the
%   last entry (empty blocks start where the next one does). The fit keeps
%   these starts instead of a block number per entry, and makes the
%   numbers of a range of entries when a kernel reads them.
b0 = find(start <= t0, 1, 'last');
b1 = find(start <= t1, 1, 'last');
% Each block's number where it starts (an empty block's is overwritten by
% the next one's), carried forward by the running maximum.
ids = zeros(t1 - t0 + 1, 1, 'uint32');
ids(1) = b0;
ids(start(b0 + 1:b1) - t0 + 1) = b0 + 1:b1;
ids = cummax(ids);
end
