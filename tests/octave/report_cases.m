function report_cases (name, results)
  % Prints the failed cases of a {case, passed} table and the closing count;
  % raises an error when any case failed.
  failed = results(~[results{:, 2}], 1);
  for k = 1:numel (failed)
    printf ('FAILED: %s\n', failed{k});
  end
  printf ('%d passed, %d failed\n', rows (results) - numel (failed), numel (failed));
  if (~isempty (failed))
    error ('%s: %d failed', name, numel (failed));
  end
end
