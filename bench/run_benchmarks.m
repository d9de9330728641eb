function varargout = run_benchmarks()
%RUN_BENCHMARKS  Runs every bench_*.m next to this file, each comparing a
%   kernel with its plain-Octave equivalent in this same Octave process, and
%   prints a summary. The figures are measurements, not pass/fail tests.

here = fileparts(mfilename('fullpath'));
files = dir(fullfile(here, 'bench_*.m'));
results = {};
for k = 1:numel(files)
  [~, name] = fileparts(files(k).name);
  results{end + 1} = feval(name); %#ok<AGROW>
end
if nargout > 0
  varargout{1} = results;
end
printf('\nsummary (best of several runs, same process):\n');
for k = 1:numel(results)
  s = results{k};
  printf('  %-10s %8.2f ms vs %8.2f ms plain: %5.1fx (target %dx)\n', ...
         s.name, 1e3 * s.kernel, 1e3 * s.plain, s.ratio, s.target);
end
end
