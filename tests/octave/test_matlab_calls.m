function test_matlab_calls ()
  % Every function the toolbox and install_kernels.m call is on the reviewed
  % list tests/matlab_rules/called_functions.txt (base MATLAB R2019b or
  % later, no other toolbox; or Octave's own, reached only in Octave), and
  % no line uses Octave-only syntax. A new call fails here until someone
  % checks it against MATLAB's documentation and adds it to the list.
  root = fileparts (fileparts (fileparts (mfilename ('fullpath'))));
  files = [m_files(fullfile (root, 'toolbox')); {fullfile(root, 'install_kernels.m')}];
  [listed, marks] = read_list (fullfile (root, 'tests', 'matlab_rules', 'called_functions.txt'));
  bad_marks = listed(~ismember (marks, {'base', 'octave'}));
  assert (isempty (bad_marks), ['list entries without a base/octave mark: ' strjoin(bad_marks, ', ')]);

  % The toolbox's own functions (file names, and subfunctions below) and
  % the plug-ins, whose help files sit in toolbox/help.
  [~, own] = cellfun (@fileparts, files, 'UniformOutput', false);
  problems = {};
  calls = {};
  for f = 1:numel (files)
    [c, p] = file_calls (files{f}, root);
    calls = [calls; c(:)];
    problems = [problems; p(:)];
  end
  calls = setdiff (unique (calls), own);
  missing = setdiff (calls, listed);
  for k = 1:numel (missing)
    problems{end+1} = sprintf ('%s is called but not on the reviewed list', missing{k});
  end
  unused = setdiff (listed, calls);
  if ~isempty (unused)
    printf ('on the list but no longer called: %s\n', strjoin (unused(:).', ', '));
  end
  for k = 1:numel (problems)
    printf ('FAILED: %s\n', problems{k});
  end
  printf ('%d functions called, %d on the list (%d base MATLAB, %d Octave only)\n', ...
          numel (calls), numel (listed), sum (strcmp (marks, 'base')), sum (strcmp (marks, 'octave')));
  if ~isempty (problems)
    error ('test_matlab_calls: %d problem(s)', numel (problems));
  end
  printf ('1 passed, 0 failed\n');
end

function files = m_files (folder)
  files = {};
  d = dir (folder);
  for k = 1:numel (d)
    if d(k).name(1) == '.'
      continue;
    end
    p = fullfile (folder, d(k).name);
    if d(k).isdir && strcmp (d(k).name, 'pkg')
      % The Octave package's install hook runs in Octave alone.
      continue;
    elseif d(k).isdir
      files = [files; m_files(p)];
    elseif numel (p) > 2 && strcmp (p(end-1:end), '.m')
      files{end+1, 1} = p;
    end
  end
end

function [names, marks] = read_list (file)
  text = fileread (file);
  lines = strtrim (strsplit (text, "\n"));
  lines = lines(~cellfun ('isempty', lines) & ~strncmp (lines, '#', 1));
  names = cell (numel (lines), 1);
  marks = names;
  for k = 1:numel (lines)
    w = strsplit (lines{k});
    names{k} = w{1};
    marks{k} = '';
    if numel (w) >= 2
      marks{k} = w{2};
    end
  end
end

function [calls, problems] = file_calls (file, root)
  % The names called in FILE, and its Octave-only syntax, as messages.
  label = file(numel (root) + 2:end);
  lines = strsplit (fileread (file), "\n");
  code = cell (size (lines));
  problems = {};
  block = false;
  for k = 1:numel (lines)
    line = lines{k};
    if ~isempty (regexp (line, '^\s*%\{\s*$', 'once'))
      block = true;
    end
    if block
      block = isempty (regexp (line, '^\s*%\}\s*$', 'once'));
      code{k} = '';
      continue;
    end
    [code{k}, why] = code_part (line);
    for w = 1:numel (why)
      problems{end+1} = sprintf ('%s:%d: %s', label, k, why{w});
    end
  end
  % Functions in this file: each function's names are its own.
  starts = [find(~cellfun ('isempty', regexp (code, '^\s*function(?!\w)', 'once'))), numel(code) + 1];
  if isempty (starts) || starts(1) ~= 1
    starts = [1, starts];
  end
  local = {};
  for s = 1:numel (starts) - 1
    head = function_line (code{starts(s)});
    if ~isempty (head)
      local{end+1} = head.name;
    end
  end
  calls = {};
  for s = 1:numel (starts) - 1
    body = code(starts(s):starts(s + 1) - 1);
    vars = {};
    used = {};
    for k = 1:numel (body)
      [v, u] = line_names (body{k});
      vars = [vars, v];
      used = [used, u];
    end
    calls = [calls, setdiff(used, [vars, local])];
  end
  calls = unique (calls);
end

function [code, why] = code_part (line)
  % LINE without its strings and comment; WHY lists Octave-only syntax.
  why = {};
  code = line;
  in = false;
  quote = '''';
  depth = 0;
  k = 1;
  while k <= numel (line)
    ch = line(k);
    if in
      if ch == quote
        if k < numel (line) && line(k + 1) == quote
          code(k:k+1) = ' ';
          k += 2;
          continue;
        end
        in = false;
      else
        code(k) = ' ';
      end
    elseif ch == ''''
      prev = strtrim (line(1:k-1));
      % A quote right after a value is the transpose, anywhere else a
      % string (in brackets, a blank before it starts a new element).
      if isempty (prev) || isempty (regexp (prev(end), '[\w)\]}.''"]', 'once')) ...
         || (depth > 0 && isspace (line(k-1)))
        in = true;
        quote = ch;
      end
    elseif any (ch == '[{')
      depth += 1;
    elseif any (ch == ']}')
      depth -= 1;
    elseif ch == '"'
      why{end+1} = 'double-quoted string (a string scalar in MATLAB, a char vector in Octave)';
      in = true;
      quote = ch;
    elseif ch == '%'
      code = code(1:k-1);
      break;
    elseif ch == '#'
      why{end+1} = 'a # comment';
      code = code(1:k-1);
      break;
    elseif ch == '.' && k + 2 <= numel (line) && strcmp (line(k:k+2), '...')
      code = code(1:k-1);
      break;
    end
    k += 1;
  end
  ops = {'(\+\+|--)', '++ or --'; '[-+*/^|&]=(?!=)', 'an assignment operator such as +='; ...
         '!', '! or != (use ~ and ~=)'; '\*\*', '** (use ^)'; ...
         '\<(endif|endwhile|endfor|endfunction|endswitch|end_try_catch|end_unwind_protect|unwind_protect|unwind_protect_cleanup|endparfor|do|until)\>', ...
         'an Octave-only keyword'};
  for o = 1:rows (ops)
    if ~isempty (regexp (code, ops{o, 1}, 'once'))
      why{end+1} = ops{o, 2};
    end
  end
end

function [vars, used] = line_names (code)
  % Names a line of code assigns (variables) and the other names it uses.
  keywords = {'if', 'else', 'elseif', 'end', 'for', 'while', 'switch', 'case', 'otherwise', ...
              'try', 'catch', 'function', 'return', 'break', 'continue', 'global', 'persistent', ...
              'parfor'};
  vars = {};
  t = strtrim (code);
  if isempty (t)
    used = {};
    return;
  end
  % Command syntax (clear a b, warning off): the first word is the call.
  cmd = regexp (t, '^([A-Za-z]\w*)\s+([A-Za-z]\w*\s*)+;?$', 'tokens', 'once');
  if ~isempty (cmd) && ~any (strcmp (cmd{1}, keywords))
    used = cmd(1);
    return;
  end
  head = function_line (t);
  if ~isempty (head)
    vars = [names_in(head.out), names_in(head.in)];
    used = {};
    return;
  end
  % Assignment: [a, ~, b] = ..., x(k) = ..., s.f{2} = ... (each statement).
  for st = strsplit (t, ';')
    lhs = regexp (st{1}, '^\s*(\[[^\]]*\]|[A-Za-z]\w*)[^=]*?=(?!=)', 'tokens', 'once');
    if ~isempty (lhs) && isempty (regexp (lhs{1}, '^(if|elseif|while|switch|case)$', 'once'))
      if lhs{1}(1) == '['
        vars = [vars, names_in(lhs{1})];
      else
        vars{end+1} = lhs{1};
      end
    end
  end
  loop = regexp (t, '^(?:for|parfor)\s*\(?\s*([A-Za-z]\w*)\s*=', 'tokens', 'once');
  vars = [vars, names_in(loop)];
  c = regexp (t, '^catch\s+([A-Za-z]\w*)', 'tokens', 'once');
  vars = [vars, names_in(c)];
  g = regexp (t, '^(?:global|persistent)\s+(.*)$', 'tokens', 'once');
  if ~isempty (g)
    vars = [vars, names_in(g{1})];
  end
  % Parameters of anonymous functions.
  for a = regexp (t, '@\(([^)]*)\)', 'tokens')
    vars = [vars, names_in(a{1}{1})];
  end
  used = regexp (t, '(?<![\w.])[A-Za-z]\w*', 'match');
  used = setdiff (used, keywords);
end

function n = names_in (text)
  if iscell (text)
    text = strjoin (text, ' ');
  end
  n = regexp (text, '[A-Za-z]\w*', 'match');
end

function head = function_line (t)
  % Outputs, name and inputs of a function line (empty when T is none).
  head = regexp (t, ['^\s*function\s+(?:\[?(?<out>[^\]=]*?)\]?\s*=\s*)?(?<name>\w+)\s*' ...
                     '(?:\((?<in>[^)]*)\))?'], 'names', 'once');
  if isempty (head) || isempty (head.name)
    head = [];
  end
end
