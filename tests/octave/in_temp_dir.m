function out = in_temp_dir (f)
  % Calls f(dir) with a fresh temporary folder, which is removed afterwards
  % whatever f does; returns f's result. Also puts the toolbox and the
  % built plug-ins on the path, as the tests that write files need them.
  root = fileparts (fileparts (fileparts (mfilename ('fullpath'))));
  addpath (fullfile (root, 'toolbox'));
  if exist (fullfile (root, 'out', 'octave'), 'dir')
    addpath (fullfile (root, 'out', 'octave'), '-end');
  end
  dir = tempname ();
  mkdir (dir);
  unwind_protect
    out = f (dir);
  unwind_protect_cleanup
    confirm_recursive_rmdir (false, 'local');
    rmdir (dir, 's');
  end_unwind_protect
end
