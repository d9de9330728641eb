function root = toolbox_on_path ()
  % Puts the toolbox, its plain kernels and (where built) the Octave
  % plug-ins on the path, the plug-ins last; returns the repository's root.
  root = fileparts (fileparts (fileparts (mfilename ('fullpath'))));
  addpath (fullfile (root, 'toolbox'));
  addpath (fullfile (root, 'toolbox', 'plain'));
  if exist (fullfile (root, 'out', 'octave'), 'dir')
    addpath (fullfile (root, 'out', 'octave'), '-end');
  end
end
