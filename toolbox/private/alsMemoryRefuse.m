function alsMemoryRefuse(caller, need, what)
%ALSMEMORYREFUSE  Stop before allocating NEED bytes that clearly cannot fit.
%   Raises the error 'CALLER:memory' when NEED exceeds the memory the
%   system reports as available by more than a quarter (the same margin as
%   the fit's own check); WHAT says what the bytes would hold. Where the
%   available memory is unknown nothing is refused.
avail = alsAvailableMemory();
if need > 1.25 * avail
    error([caller ':memory'], '%s: %s would need about %s of memory and only %s is available.', ...
          caller, what, alsBytes(need), alsBytes(avail));
end
end
