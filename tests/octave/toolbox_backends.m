function backends = toolbox_backends ()
  % The backends a test can run as the path stands: 'plain', and
  % 'compiled' when every compiled kernel is on the path.
  backends = {'plain'};
  for name = {'delmirost', 'korvanthe', 'vantresk', 'ombrelast', 'nzoverwrite'}
    if exist (name{1}) ~= 3
      return;
    end
  end
  backends{end+1} = 'compiled';
end
