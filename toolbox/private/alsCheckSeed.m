function seed = alsCheckSeed(seed, fail)
%ALSCHECKSEED  A seed every host's generator takes, or FAIL with the reason.
%   MATLAB's RNG takes whole numbers from 0 to 2^32-1 only, and the
%   toolbox seeds a second stream with SEED + 1 (the validation part, the
%   demo's held-out part): so SEED must be a whole number from 0 to
%   2^32-2. Returns it as a double.
if ~isnumeric(seed) || ~isscalar(seed) || ~isreal(seed) || ~(seed >= 0) ...
        || seed ~= round(seed) || seed > 2^32 - 2
    fail('seed must be a whole number from 0 to 4294967294 (2^32-2)');
end
seed = double(seed);
end
