function [outdir, built] = install_kernels(outdir)
%INSTALL_KERNELS  Compile the five kernels with this host's own mex command.
%   INSTALL_KERNELS, run inside MATLAB or GNU Octave from anywhere, compiles
%   the plug-ins delmirost, korvanthe, vantresk, ombrelast and nzoverwrite
%   from src/kernels/<name>.cpp (delmirost and korvanthe together with
%   src/factor/factorGramBlock.cpp) into out/install/<host> of this
%   repository (<host> is 'matlab' or 'octave'), copies their help files
%   there, adds that folder and the toolbox folders (toolbox/ and
%   toolbox/plain/) to the path, and calls
%   each plug-in once on a small problem with a known answer.
%
%   INSTALL_KERNELS(OUTDIR) puts the plug-ins in OUTDIR instead.
%   [OUTDIR, BUILT] = INSTALL_KERNELS(...) also returns the names of the
%   plug-ins built. A kernel whose source is missing is skipped with a
%   note; a failed compilation or check raises an error.
%
%   How each host builds:
%     MATLAB  mex -largeArrayDims with MATLAB's own LAPACK and BLAS
%             (-lmwlapack -lmwblas), whose integers are as wide as a pointer
%             (64-bit on 64-bit hosts, 32-bit on 32-bit ones), as the
%             binding takes them by default.
%     Octave  mkoctfile --mex with Octave's own LP64 LAPACK and BLAS (as
%             mkoctfile -p LAPACK_LIBS / BLAS_LIBS report them),
%             KERNELS_LAPACK_LP64 and KERNELS_HOST_OCTAVE defined.
%   Both compile as C++11 (the sources need no more, and the older
%   compilers MATLAB supports know no later standard) with floating-point
%   contraction off (no fused multiply-add), which keeps the masked
%   product's sums bit-for-bit as documented. A plug-in already loaded is
%   cleared before it is rebuilt.
%
%   To keep the plug-ins on the path in later sessions, add OUTDIR and the
%   toolbox folder with addpath and savepath.
%
%   See also ALSCOMPLETE, DELMIROST, KORVANTHE, VANTRESK, OMBRELAST, NZOVERWRITE.

if nargin >= 1 && isa(outdir, 'string') && isscalar(outdir)
    outdir = char(outdir);
end
root = fileparts(mfilename('fullpath'));
isOctave = exist('OCTAVE_VERSION', 'builtin') ~= 0;
if isOctave
    host = 'octave';
else
    host = 'matlab';
end
if nargin < 1 || isempty(outdir)
    outdir = fullfile(root, 'out', 'install', host);
end
if ~exist(outdir, 'dir')
    [ok, msg] = mkdir(outdir);
    if ~ok
        error('install_kernels:mkdir', 'install_kernels: cannot create %s: %s', outdir, msg);
    end
end
% A relative folder is taken from the current one, before the build
% changes folder.
here = pwd();
cd(outdir);
outdir = pwd();
cd(here);

% name, needs the shared block procedure, needs LAPACK/BLAS
kernels = {'delmirost',   true,  true
           'korvanthe',   true,  true
           'vantresk',    false, true
           'ombrelast',   false, false
           'nzoverwrite', false, false};
factorSource = fullfile(root, 'src', 'factor', 'factorGramBlock.cpp');

% Compilers leave object files in the current folder: work in a scratch one.
scratch = tempname();
mkdir(scratch);
cleanup = onCleanup(@() leaveScratch(here, scratch));
cd(scratch);

built = {};
for k = 1:size(kernels, 1)
    name = kernels{k, 1};
    sources = {fullfile(root, 'src', 'kernels', [name '.cpp'])};
    if ~exist(sources{1}, 'file')
        fprintf('install_kernels: %-11s skipped (no source %s)\n', name, sources{1});
        continue;
    end
    if kernels{k, 2}
        sources{end + 1} = factorSource; %#ok<AGROW>
    end
    % A plug-in the host has loaded is unloaded first: Windows locks its
    % file, and elsewhere the check below would call the old one.
    clear(name);
    if isOctave
        buildOctave(name, sources, kernels{k, 3}, outdir);
    else
        buildMatlab(name, sources, kernels{k, 3}, outdir);
    end
    built{end + 1} = name; %#ok<AGROW>
end
cd(here);

% Help files sit beside the plug-ins: both hosts read a same-named .m file
% in the plug-in's own folder as its help text.
helpdir = fullfile(root, 'toolbox', 'help');
for k = 1:numel(built)
    helpfile = fullfile(helpdir, [built{k} '.m']);
    if exist(helpfile, 'file')
        copyfile(helpfile, outdir);
    end
end

addpath(fullfile(root, 'toolbox', 'plain'));
addpath(fullfile(root, 'toolbox'));
addpath(outdir);
for k = 1:numel(built)
    where = which(built{k});
    [wdir, ~, wext] = fileparts(where);
    if ~strcmp(wdir, outdir) || strcmp(wext, '.m')
        error('install_kernels:shadowed', ...
              'install_kernels: %s resolves to %s, not to the plug-in in %s', built{k}, where, outdir);
    end
    smokeTest(built{k});
    fprintf('install_kernels: %-11s ok  %s\n', built{k}, where);
end
fprintf('install_kernels: %d plug-in(s) in %s, now on the path\n', numel(built), outdir);
end


function leaveScratch(here, scratch)
cd(here);
if exist(scratch, 'dir')
    rmdir(scratch, 's');
end
end


function buildOctave(name, sources, lapack, outdir)
flags = [strtrim(mkoctfile('-p', 'CXXFLAGS')) ' -std=c++11 -ffp-contract=off'];
args = [{'--mex', '-DKERNELS_LAPACK_LP64', '-DKERNELS_HOST_OCTAVE', '-o', fullfile(outdir, [name '.mex'])}, sources];
if lapack
    libs = [strtrim(mkoctfile('-p', 'LAPACK_LIBS')) ' ' strtrim(mkoctfile('-p', 'BLAS_LIBS'))];
    args = [args, strsplit(strtrim(libs), ' ')];
end
saved = getenv('CXXFLAGS');
setenv('CXXFLAGS', flags);
try
    [output, status] = mkoctfile(args{:});
catch err
    setenv('CXXFLAGS', saved);
    error('install_kernels:build', 'install_kernels: building %s failed:\n%s', name, err.message);
end
setenv('CXXFLAGS', saved);
if status ~= 0
    error('install_kernels:build', 'install_kernels: building %s failed:\n%s', name, output);
end
end


function buildMatlab(name, sources, lapack, outdir)
args = {'-largeArrayDims', '-outdir', outdir};
if ~ispc
    % C++11, which every compiler MATLAB R2019b and later supports knows.
    args{end + 1} = 'CXXFLAGS=$CXXFLAGS -std=c++11 -ffp-contract=off';
end
args = [args, sources];
if lapack
    args = [args, {'-lmwlapack', '-lmwblas'}];
end
mex(args{:});
end


function smokeTest(name)
% One call per plug-in on a problem whose answer is known exactly.
W = [1 2; 3 4; 5 6];
switch name
    case 'delmirost'
        F = delmirost([1 1], [1 2; 3 4], 0, uint32([1 2]), uint32([1 1]), uint32(1));
        ok = iscell(F) && numel(F) == 1 && ...
             max(max(abs(F{1} - [sqrt(10), 14/sqrt(10); 0, sqrt(0.4)]))) < 1e-12;
    case 'korvanthe'
        F = korvanthe(sparse([1 3], [1 1], [2 -1], 3, 2), W, 0.5);
        ok = iscell(F) && numel(F) == 2 && ...
             max(max(abs(F{1} - [5.43139024560, 6.99636709603; 0, 1.88436924663]))) < 1e-10 && ...
             isequal(F{2}, sqrt(0.5) * eye(2));
    case 'vantresk'
        Z = vantresk({[2 1; 0 3], eye(2)}, [4 1; 5 2]);
        U = [2 1; 0 3];
        ok = max(max(abs(Z - [(U' * U) \ [4; 5], [1; 2]]))) < 1e-12;
    case 'ombrelast'
        X = ombrelast(W, [1 0; 0 1], uint32([3 1; 2 2]), uint32([2 1; 1 2]));
        ok = isequal(X, [6 1; 3 4]);
    case 'nzoverwrite'
        M = sparse([1 2 3], [1 1 2], [1 1 1], 3, 2);
        nzoverwrite(M, [7 8 9]);
        ok = isequal(full(M), [7 0; 8 0; 0 9]);
    otherwise
        ok = true;
end
if ~ok
    error('install_kernels:check', 'install_kernels: %s built but gives a wrong result', name);
end
end
