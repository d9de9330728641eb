% octave_fuzz (KERNEL, FIRST, LAST, SEED)
% octave_fuzz (KERNEL, CALL, CALL, SEED, true)
%
% Calls the Octave plug-in KERNEL once for every call number FIRST..LAST,
% with arguments drawn from a generator set from SEED and the call number,
% so that any one call can be drawn again on its own. Errors the plug-in
% raises are expected and ignored; what this looks for is a crash of the
% Octave process. Before each call it prints "call N", so that whoever
% watches the process can name the call that brought it down, and "done"
% after the last one. With a fifth argument true it prints the arguments of
% call FIRST instead of making it.
%
% About half of the calls are inside the kernel's data model; the others
% replace arguments, or all of them, by arrays of any class Octave has:
% numeric classes, logical, char, cell, struct, function handle, sparse,
% complex, empty and oddly shaped arrays.
function octave_fuzz (kernel, first, last, seed, show)
  if (nargin < 5)
    show = false;
  end
  fn = str2func (kernel);
  for c = first:last
    rand ("state", [seed; c]);
    randn ("state", [seed; c]);
    [args, nout] = draw (kernel);
    if (show)
      printf ("call %d: %d output(s) = %s(", c, nout, kernel);
      for a = 1:numel (args)
        printf ("%s%s", describe (args{a}), ifelse (a < numel (args), ", ", ""));
      end
      printf (")\n");
      return;
    end
    printf ("call %d\n", c);
    fflush (stdout);
    try
      if (nout == 0)
        fn (args{:});
      else
        out = cell (1, nout);
        [out{:}] = fn (args{:});
      end
    catch
    end
  end
  printf ("done\n");
end

function r = ifelse (c, a, b)
  if (c)
    r = a;
  else
    r = b;
  end
end

function x = pick (list)
  if (iscell (list))
    x = list{randi (numel (list))};
  else
    x = list(randi (numel (list)));
  end
end

function [args, nout] = draw (kernel)
  nout = pick ([1 1 1 1 1 0 2 3]);
  args = model (kernel);
  r = rand ();
  if (r < 0.5)
    % as drawn
  elseif (r < 0.85)
    for t = 1:randi (2)
      args{randi (numel (args))} = anyarg (0);
    end
  elseif (r < 0.92)
    args = args(1:randi ([0, numel(args)]));
  else
    args = cell (1, randi ([0, 8]));
    for a = 1:numel (args)
      args{a} = anyarg (0);
    end
  end
  if (strcmp (kernel, "delmirost") && numel (args) >= 6 && isnumeric (args{6}) ...
      && ! isempty (args{6}) && ! issparse (args{6}) && double (args{6}(1)) > 64)
    % A huge block count is a long loop of allocations, or one as large as
    % the machine: it tells nothing about the plug-in here (the stand-in
    % host's fuzzing sees its out-of-memory error).
    args{6}(1) = 64;
  end
end

% A call inside the data model, of random small sizes.
function args = model (kernel)
  lambdas = [1, 0.5, 2, 0, -1, NaN, Inf, 1e-300];
  switch (kernel)
    case "delmirost"
      m = randi ([0, 5]); r = randi ([0, 4]); len = randi ([0, 8]); nb = randi ([0, 5]);
      W = wfactor (m, r);
      Chat = rand (len, 1);
      I = uint32 (randi ([0, m + 1], len, 1));
      J = uint32 (sort (randi ([0, nb + 1], len, 1)));
      if (rand () < 0.5)
        I = I.'; Chat = Chat.';
      end
      args = {Chat, W, pick(lambdas), I, J, uint32(nb)};
    case "korvanthe"
      m = randi ([0, 5]); n = randi ([0, 5]); r = randi ([0, 4]);
      args = {sprandn(m, n, 0.5), wfactor(m, r), pick(lambdas)};
    case "vantresk"
      n = randi ([0, 4]); m = randi ([0, 5]);
      R = cell (pick ({[m, 1], [1, m]}));
      for k = 1:numel (R)
        R{k} = triu (randn (n)) + n * eye (n);
      end
      args = {R, randn(n, m)};
    case "ombrelast"
      m = randi ([0, 4]); r = randi ([0, 4]); n = randi ([0, 4]);
      p = randi ([0, 3]); q = randi ([0, 3]);
      args = {randn(m, r), randn(r, n), uint32(randi ([0, m + 1], p, q)), ...
              uint32(randi ([0, n + 1], p, q))};
    case "nzoverwrite"
      M = sprandn (randi ([0, 5]), randi ([0, 5]), 0.5);
      args = {M, randn(1, randi ([0, nnz(M) + 1]))};
    otherwise
      error ("octave_fuzz: no kernel %s", kernel);
  end
end

% The factor W, m-by-r; without rows, now and then with a huge r.
function W = wfactor (m, r)
  if (m == 0 && rand () < 0.3)
    r = pick ([2^31, 2^32, 2^40]);
  end
  W = randn (m, r);
end

function s = shape ()
  s = [randi([0, 4]), randi([0, 4])];
  if (rand () < 0.1)
    s(randi (2)) = 0;
    s(s != 0) = pick ([2^31, 2^40, 1e6]);
    s(s == 0) = 0;
  end
end

function x = values (s)
  edges = [0, -0, 1, -1, 0.5, 2, NaN, Inf, -Inf, realmin, realmin/4, realmax, ...
           -realmax, 1e16, -1e16, 4294967295, 4294967296];
  x = edges(randi (numel (edges), s));
  if (isempty (x))
    x = zeros (s);
  end
end

% An array of any class Octave has.
function a = anyarg (depth)
  s = shape ();
  small = s;
  small(small > 8) = 0;
  switch (randi (16))
    case 1
      a = values (s);
    case 2
      a = complex (values (small), values (small));
    case 3
      a = single (values (small));
    case 4
      cls = pick ({"int8", "uint8", "int16", "uint16", "int32", "uint32", "int64", "uint64"});
      a = cast (randi ([0, 10], small), cls);
      if (! isempty (a) && rand () < 0.3)
        a(1) = intmax (cls);
      end
    case 5
      a = rand (small) > 0.5;
    case 6
      a = char (randi ([32, 126], small));
    case 7
      a = cell (small);
      if (depth < 2)
        for k = 1:numel (a)
          if (rand () < 0.8)
            a{k} = anyarg (depth + 1);
          end
        end
      end
    case 8
      a = pick ({struct(), struct("a", {1, 2}), repmat(struct(), 0, 3), struct("x", {})});
    case 9
      a = pick ({@sin, @(x) x + 1});
    case 10
      a = sprandn (small(1), small(2), 0.5);
    case 11
      a = sprand (small(1), small(2), 0.5) > 0;
    case 12
      a = sprandn (small(1), small(2), 0.5) + 1i * sprandn (small(1), small(2), 0.5);
    case 13
      a = pick ({[], zeros(0, 3), zeros(3, 0), zeros(0, 2^40), zeros(2, 0, 3), "", {}, ...
                 zeros(0, 0, "uint32"), sparse(4, 0)});
    case 14
      a = randn ([randi([1, 3]), randi([1, 3]), randi([1, 3])]);
    case 15
      a = uint32 (pick ([0, 1, 2, 3, 5, 4294967295]) * ones (small));
    otherwise
      a = pick ([NaN, Inf, -Inf, -0, realmin/4, realmax, 0, 1]);
  end
end

function s = describe (a)
  s = sprintf ("%s %s", class (a), mat2str (size (a)));
  if (issparse (a))
    s = [s " sparse"];
  end
  if (isnumeric (a) && iscomplex (a))
    s = [s " complex"];
  end
  if (iscell (a))
    parts = cellfun (@describe, a(:).', "UniformOutput", false);
    s = [s " {" strjoin(parts, ", ") "}"];
  elseif ((isnumeric (a) || islogical (a) || ischar (a)) && numel (a) <= 16 && ndims (a) == 2)
    s = [s " " mat2str(full (a))];
  elseif (isa (a, "function_handle"))
    s = [s " " func2str(a)];
  end
end
