function test_toolbox_install ()
  % The two ways users install in Octave: install_kernels, run inside
  % Octave, and the package written by toolbox/pkg/make_pkg.sh. Both must
  % leave working plug-ins on the path whose help is found.
  root = fileparts (fileparts (fileparts (mfilename ('fullpath'))));
  sources = dir (fullfile (root, 'src', 'kernels', '*.cpp'));
  if isempty (sources)
    printf ('no kernel sources: nothing to install\n0 passed, 0 failed\n');
    return;
  end
  names = regexprep ({sources.name}, '\.cpp$', '');
  scratch = tempname ();
  mkdir (scratch);
  saved_path = path ();
  unwind_protect
    passed = check_installer (root, names, fullfile (scratch, 'mex'));
    path (saved_path);
    passed += check_package (root, names, scratch);
  unwind_protect_cleanup
    path (saved_path);
    confirm_recursive_rmdir (false, 'local');
    rmdir (scratch, 's');
  end_unwind_protect
  printf ('%d passed, 0 failed\n', passed);
end

function passed = check_installer (root, names, outdir)
  addpath (root);
  % A relative folder names one in the current folder, not in the
  % installer's scratch folder.
  here = pwd ();
  cd (fileparts (outdir));
  unwind_protect
    [~, name] = fileparts (outdir);
    evalc ('[where, built] = install_kernels (name);');
  unwind_protect_cleanup
    cd (here);
  end_unwind_protect
  assert (where, outdir);
  assert (sort (built), sort (names));
  for k = 1:numel (names)
    assert (which (names{k}), fullfile (outdir, [names{k} '.mex']));
    check_help (names{k});
  end
  % The toolbox folder is on the path too.
  assert (exist ('alscomplete', 'file'), 2);
  check_calls (names);
  passed = 1;
end

function passed = check_package (root, names, scratch)
  [status, out] = system (sprintf ('sh "%s" "%s"', ...
                                   fullfile (root, 'toolbox', 'pkg', 'make_pkg.sh'), scratch));
  assert (status, 0, out);
  tarball = strtrim (out);
  assert (exist (tarball, 'file') == 2, ['no tarball: ' out]);
  % Install into a private prefix and package list, not the user's.
  pkg ('prefix', fullfile (scratch, 'pkg'), fullfile (scratch, 'pkgarch'));
  pkg ('local_list', fullfile (scratch, 'octave_packages'));
  evalc ('pkg (''install'', tarball)');
  unwind_protect
    pkg ('load', 'alskernels');
    for k = 1:numel (names)
      where = which (names{k});
      assert (strncmp (where, fullfile (scratch, 'pkgarch'), numel (fullfile (scratch, 'pkgarch'))), ...
              sprintf ('%s comes from %s', names{k}, where));
      assert (where(end-3:end), '.mex');
      check_help (names{k});
    end
    for f = {'alscomplete', 'readtriplets', 'alsdemo', 'plain_delmirost', 'alsrecommend'}
      assert (strncmp (which (f{1}), fullfile (scratch, 'pkg'), numel (fullfile (scratch, 'pkg'))));
    end
    % The toolbox's private helpers came along.
    assert (alsrecommend (alspopularity ([1 2 2], [1 1 2], 3, 2), 3, 1), 1);
    check_calls (names);
    pkg ('unload', 'alskernels');
  unwind_protect_cleanup
    evalc ('pkg (''uninstall'', ''alskernels'')');
  end_unwind_protect
  passed = 1;
end

function check_help (name)
  % The help beside the plug-in: its calling form and its errors.
  text = evalc (sprintf ('help (''%s'')', name));
  assert (~isempty (strfind (text, upper (name))), ['no help for ' name]);
  assert (~isempty (strfind (text, 'Errors')), ['help of ' name ' lists no errors']);
end

function check_calls (names)
  % Each plug-in gives its plain equivalent's result; with all five, the
  % completion routine runs on them and matches the plain backend.
  W = [1 2; 3 4; 5 6];
  x = @(v) uint32 (v);
  for k = 1:numel (names)
    switch names{k}
      case 'delmirost'
        a = {[1 4 2], W, 0.5, x([1 2 3]), x([1 1 3]), x(3)};
      case 'korvanthe'
        a = {sparse([1 3], [1 1], [2 -1], 3, 2), W, 0.5};
      case 'vantresk'
        a = {{[2 1; 0 3], eye(2)}, [4 1; 5 2]};
      case 'ombrelast'
        a = {W, [1 0 2; 0 1 3], x([3 1; 2 2]), x([3 1; 1 2])};
      case 'nzoverwrite'
        M = sparse ([2 1 3], [1 1 2], [1 1 1], 3, 2);
        nzoverwrite (M, [7 8 9]);
        assert (full (M), [7 0; 8 0; 0 9]);
        continue;
      otherwise
        continue;
    end
    assert (feval (names{k}, a{:}), feval (['plain_' names{k}], a{:}), 1e-12);
  end
  if numel (names) == 5
    randn ('seed', 1); rand ('seed', 1);
    A = randn (30, 2) * randn (2, 20);
    [I, J] = find (rand (30, 20) < 0.5);
    v = A(sub2ind ([30 20], I, J));
    [U1, V1] = alscomplete (I, J, v, 30, 20, 'rank', 2, 'sweeps', 5, 'backend', 'compiled');
    [U2, V2] = alscomplete (I, J, v, 30, 20, 'rank', 2, 'sweeps', 5, 'backend', 'plain');
    assert (U1 * V1, U2 * V2, 1e-10);
  end
end
