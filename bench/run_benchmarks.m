function run_benchmarks ()
  % Every bench_*.m in this folder but bench_scale and bench_ratings, one
  % after the other, in this process.
  here = fileparts (mfilename ('fullpath'));
  files = dir (fullfile (here, 'bench_*.m'));
  % bench_scale runs one process per size, for minutes: make bench-scale;
  % bench_ratings measures accuracy, not speed: make bench-ratings.
  files = files(! ismember ({files.name}, {'bench_scale.m', 'bench_ratings.m'}));
  printf ('median times of repeated runs; BLAS threads: %s\n', getenv ('OPENBLAS_NUM_THREADS'));
  for k = 1:numel (files)
    [~, name] = fileparts (files(k).name);
    feval (name);
  end
end
