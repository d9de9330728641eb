function ok = alsFindKernels()
%ALSFINDKERNELS  Put the compiled plug-ins on the path when this repository has built them.
%   True when all five are callable, after looking in out/octave or
%   out/install/<host> if they are not on the path yet.
names = {'delmirost', 'korvanthe', 'vantresk', 'ombrelast', 'nzoverwrite'};
ok = allFound(names);
if ok
    return;
end
root = fileparts(fileparts(fileparts(mfilename('fullpath'))));
if exist('OCTAVE_VERSION', 'builtin') ~= 0
    places = {fullfile(root, 'out', 'octave'), fullfile(root, 'out', 'install', 'octave')};
else
    places = {fullfile(root, 'out', 'install', 'matlab')};
end
for k = 1:numel(places)
    if exist(fullfile(places{k}, [names{1} '.' mexext]), 'file')
        addpath(places{k});
        ok = allFound(names);
        if ok
            return;
        end
    end
end
end


function ok = allFound(names)
ok = true;
for k = 1:numel(names)
    ok = ok && exist(names{k}) == 3; %#ok<EXIST>
end
end
