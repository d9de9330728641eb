function post_install(desc)
% Move each plug-in's help file into the plug-in's own folder. Octave reads
% the help of a .mex file from a same-named .m file in the same folder
% only; a help file in another folder of the path would shadow the plug-in
% instead. pkg install puts .m files and .mex files in different folders,
% so the help files travel in a folder of their own (not on the path) and
% are moved here.
helpdir = fullfile(desc.dir, 'kernelhelp');
if ~exist(helpdir, 'dir')
    return;
end
mexdir = '';
entries = dir(desc.archprefix);
for k = 1:numel(entries)
    candidate = fullfile(desc.archprefix, entries(k).name);
    if entries(k).isdir && ~any(strcmp(entries(k).name, {'.', '..'})) ...
            && ~isempty(dir(fullfile(candidate, '*.mex')))
        mexdir = candidate;
        break;
    end
end
if isempty(mexdir)
    error('alskernels: no compiled plug-ins found under %s', desc.archprefix);
end
files = dir(fullfile(helpdir, '*.m'));
for k = 1:numel(files)
    [~, name] = fileparts(files(k).name);
    if exist(fullfile(mexdir, [name '.mex']), 'file')
        copyfile(fullfile(helpdir, files(k).name), mexdir);
    end
end
confirm_recursive_rmdir(false, 'local');
rmdir(helpdir, 's');
end
