function kern = alsKernels(backend)
%ALSKERNELS  Pick the compiled kernels or their plain equivalents.
%   BACKEND is 'auto', 'compiled' or 'plain'; 'auto' takes the compiled
%   kernels when all five are on the path.
names = {'delmirost', 'korvanthe', 'vantresk', 'ombrelast', 'nzoverwrite'};
compiled = false(size(names));
for k = 1:numel(names)
    compiled(k) = exist(names{k}) == 3; %#ok<EXIST>
end
if strcmp(backend, 'auto')
    if all(compiled)
        backend = 'compiled';
    else
        backend = 'plain';
    end
end
if strcmp(backend, 'compiled')
    if ~all(compiled)
        alsFail(sprintf(['compiled kernels not found on the path: %s (run install_kernels, ' ...
                         'or choose backend ''plain'')'], strjoin(names(~compiled), ', ')));
    end
    kern = struct('name', 'compiled', 'inPlace', true, 'delmirost', @delmirost, ...
                  'korvanthe', @korvanthe, 'vantresk', @vantresk, 'ombrelast', @ombrelast);
else
    if exist('plain_delmirost', 'file') ~= 2
        addpath(fullfile(fileparts(fileparts(mfilename('fullpath'))), 'plain'));
    end
    kern = struct('name', 'plain', 'inPlace', false, 'delmirost', @plain_delmirost, ...
                  'korvanthe', @plain_korvanthe, 'vantresk', @plain_vantresk, ...
                  'ombrelast', @plain_ombrelast);
end
end
