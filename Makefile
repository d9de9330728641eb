# Everyday entry points. Build outputs go to out/.
#   make        build the plug-ins (out/mex, out/octave), the stand-in host and the tests
#   make test   install what is missing, build, and run every test (also under sanitizers)
#   make demo   the main job in Octave
#   make bench  benchmarks against plain-Octave equivalents
#   make octave-pkg  an Octave package of the toolbox in out/pkg
#   make fuzz   fuzz every kernel (FUZZ_RUNS executions each) and the Octave plug-ins
OUT := out
JOBS ?= 2

.PHONY: all deps asan test demo bench octave-pkg clean fuzz fuzz-replay

all: deps
	cmake -S . -B $(OUT)/build -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(OUT)/build -j $(JOBS) -- --no-print-directory

# What make and make demo need; make test adds every platform's and the
# fuzzer's packages (build/*.packages, fuzz/*.packages).
deps:
	@sh tools/install-deps.sh tools/base.packages

test-deps:
	@sh tools/install-deps.sh tools/base.packages $(wildcard build/*.packages fuzz/*.packages)

asan: deps
	cmake -S . -B $(OUT)/build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKERNELS_SANITIZE=ON \
	  -DKERNELS_OCTAVE=OFF -DKERNELS_OUT=$(CURDIR)/$(OUT)/asan >/dev/null
	cmake --build $(OUT)/build-asan -j $(JOBS) -- --no-print-directory

test: all asan
	cd $(OUT)/build && ctest --output-on-failure
	cd $(OUT)/build-asan && ctest --output-on-failure
	$(MAKE) --no-print-directory fuzz-replay

# Fuzzing through the stand-in host with sanitizers (fuzz/run.sh), in
# $(OUT)/build-fuzz; make test replays the seed corpus fuzz/corpus.
FUZZ_RUNS ?= 1000000
fuzz: all
	@sh tools/install-deps.sh fuzz/fuzz.packages
	sh fuzz/run.sh fuzz $(OUT) $(FUZZ_RUNS)

fuzz-replay:
	@sh tools/install-deps.sh fuzz/fuzz.packages
	sh fuzz/run.sh replay $(OUT)

OCTAVE := octave-cli --no-init-file --no-site-file --no-history --quiet

# The main job: a completion fit on the default problem, or on a triplet
# file with DATA=path.
demo: all
	$(OCTAVE) --eval "addpath('$(OUT)/octave'); addpath('toolbox'); alsdemo($(if $(DATA),'$(DATA)'))"

# An Octave package: pkg install out/pkg/alskernels-<version>.tar.gz
octave-pkg:
	sh toolbox/pkg/make_pkg.sh $(OUT)/pkg

# One BLAS thread, so that rates compare with a single-threaded dgemm.
bench: all
	OPENBLAS_NUM_THREADS=1 $(OCTAVE) --eval "addpath('$(OUT)/octave'); addpath('bench'); addpath('toolbox'); addpath('toolbox/plain'); run_benchmarks"
	@if [ -x $(OUT)/build/bench/bench_nzoverwrite_memcpy ]; then \
	  $(OUT)/build/bench/bench_nzoverwrite_memcpy --benchmark_repetitions=9 \
	    --benchmark_report_aggregates_only=true 2>/dev/null | grep -E '^Benchmark|_median'; fi

clean:
	rm -rf $(OUT)
