function b = alsAvailableMemory()
%ALSAVAILABLEMEMORY  Bytes of memory the system reports as available; Inf where it cannot tell.
%   Reads /proc/meminfo where there is one (Linux) and MATLAB's MEMORY
%   function on Windows.
b = Inf;
fid = fopen('/proc/meminfo', 'r');
if fid >= 0
    text = fread(fid, Inf, '*char').';
    fclose(fid);
    tok = regexp(text, 'MemAvailable:\s*(\d+)\s*kB', 'tokens', 'once');
    if ~isempty(tok)
        b = 1024 * str2double(tok{1});
    end
elseif exist('memory', 'file') == 2 || exist('memory', 'builtin') == 5
    try
        user = memory();
        b = user.MemAvailableAllArrays;
    catch
        b = Inf;
    end
end
end
