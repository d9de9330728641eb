function b1 = alsChunkEnd(start, b0, blocks, entries)
%ALSCHUNKEND  The last block of the largest chunk from block B0 within both limits.
%   START holds where each block's entries start (one more than the
%   blocks). The chunk holds at most BLOCKS blocks and at most ENTRIES
%   entries, but always block B0: a block that alone exceeds the entry
%   limit is a chunk of its own.
nb = numel(start) - 1;
b1 = min(nb, b0 + blocks - 1);
limit = start(b0) + entries;
if start(b1 + 1) > limit
    b1 = find(start(b0 + 1:b1 + 1) <= limit, 1, 'last') + b0 - 1;
    if isempty(b1)
        b1 = b0;
    end
end
end
