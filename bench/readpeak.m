function readpeak (file, reader, sep)
  % Prints the peak memory in bytes of one call of READER ('dlmread' or
  % 'readtriplets') on FILE, above what this process held before it
  % (Linux: VmHWM less VmRSS); bench_readtriplets runs it in a fresh
  % process, where no heap left by earlier calls hides part of the peak.
  before = status_kb ('VmRSS');
  if strcmp (reader, 'dlmread')
    x = dlmread (file, sep);
  else
    [I, J, v, r, c] = readtriplets (file);
  end
  printf ('%d\n', 1024 * (status_kb ('VmHWM') - before));
end

function kb = status_kb (field)
  text = fileread ('/proc/self/status');
  kb = str2double (regexp (text, [field ':\s*(\d+) kB'], 'tokens', 'once'));
end
