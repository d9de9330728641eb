# Everyday entry points. Build outputs go to out/.
#   make        build the x86-64 plug-ins (out/mex, out/octave), the stand-in host and the tests
#   make all    the same for every platform (build/toolchain-*.cmake)
#   make test   install what is missing, build, and run every test (also under sanitizers);
#               KERNELS_I386=qemu runs the i386 tests as on a kernel without 32-bit code
#   make demo   the main job in Octave
#   make bench  benchmarks against plain-Octave equivalents
#   make bench-scale  alscomplete at 10^6 and 10^7 entries (SCALE=1e8, or a list)
#   make bench-ratings  held-out RMSE on rating-like data against the baselines
#   make bench-implicit  implicit fits at 10^6 and 10^7 interactions, ranks 10 to 128, both solvers
#   make octave-pkg  an Octave package of the toolbox in out/pkg
#   make dist   every platform's plug-ins, help files and toolbox in out/dist/*.zip
#   make fuzz   fuzz every kernel (FUZZ_RUNS executions each) and the Octave plug-ins
OUT := out
JOBS ?= 2
# One build tree per platform, out/build-<platform>, from the toolchain file
# build/toolchain-<platform>.cmake. All plug-ins go to out/mex side by side.
NATIVE := linux-x86_64
PLATFORMS := $(patsubst build/toolchain-%.cmake,%,$(wildcard build/toolchain-*.cmake))
CROSS := $(filter-out $(NATIVE),$(PLATFORMS))

# $(call tree,<tree>,<platform>,<cmake options>): configures and builds
# out/build-<tree> with the platform's toolchain file.
tree = cmake -S . -B $(OUT)/build-$(1) -DCMAKE_TOOLCHAIN_FILE=build/toolchain-$(2).cmake $(3) \
  >/dev/null && cmake --build $(OUT)/build-$(1) -j $(JOBS) -- --no-print-directory

.PHONY: all deps test-deps native platforms asan test demo bench bench-scale bench-ratings bench-implicit octave-pkg dist clean \
  fuzz fuzz-replay

# The x86-64 plug-ins (stand-in host and Octave); what make demo needs.
native: deps
	$(call tree,$(NATIVE),$(NATIVE),-DCMAKE_BUILD_TYPE=Release)

# Every platform.
all: native platforms

platforms: test-deps
	@for p in $(CROSS); do $(call tree,$$p,$$p,-DCMAKE_BUILD_TYPE=Release) || exit 1; done

# What make and make demo need; make test adds every platform's and the
# fuzzer's packages (build/*.packages, fuzz/*.packages).
deps:
	@sh tools/install-deps.sh tools/base.packages

test-deps:
	@sh tools/install-deps.sh tools/base.packages $(wildcard build/*.packages fuzz/*.packages)

asan: deps
	$(call tree,asan,$(NATIVE),-DCMAKE_BUILD_TYPE=RelWithDebInfo -DKERNELS_SANITIZE=ON \
	  -DKERNELS_OCTAVE=OFF -DKERNELS_OUT=$(CURDIR)/$(OUT)/asan)

# Where the kernel runs no 32-bit code, the i386 programs run under qemu-i386
# and what cannot run there is skipped (tests/run-platforms.sh);
# KERNELS_I386=qemu forces that on any machine.
test: test-deps all asan
	@sh tests/run-platforms.sh $(OUT) $(PLATFORMS) asan
	@echo "== tests: dist"; sh tests/deliverables/check_dist.sh $(OUT)
	$(MAKE) --no-print-directory fuzz-replay

# Fuzzing through the stand-in host with sanitizers (fuzz/run.sh), in
# $(OUT)/build-fuzz; make test replays the seed corpus fuzz/corpus.
FUZZ_RUNS ?= 1000000
fuzz: native
	@sh tools/install-deps.sh fuzz/fuzz.packages
	sh fuzz/run.sh fuzz $(OUT) $(FUZZ_RUNS)

fuzz-replay:
	@sh tools/install-deps.sh fuzz/fuzz.packages
	sh fuzz/run.sh replay $(OUT)

OCTAVE := octave-cli --no-init-file --no-site-file --no-history --quiet

# The main job: a completion fit on the default problem, or on a triplet
# file with DATA=path.
demo: native
	$(OCTAVE) --eval "addpath('$(OUT)/octave'); addpath('toolbox'); alsdemo($(if $(DATA),'$(DATA)'))"

# An Octave package: pkg install out/pkg/alskernels-<version>.tar.gz
octave-pkg:
	sh toolbox/pkg/make_pkg.sh $(OUT)/pkg

# One archive of every platform's plug-ins, for users who do not build:
# out/dist/alskernels-<version>.zip
dist: all
	@sh tools/make_dist.sh $(OUT)

# One BLAS thread, so that rates compare with a single-threaded dgemm.
bench: native
	OPENBLAS_NUM_THREADS=1 $(OCTAVE) --eval "addpath('$(OUT)/octave'); addpath('bench'); addpath('toolbox'); addpath('toolbox/plain'); run_benchmarks"
	@if [ -x $(OUT)/build-$(NATIVE)/bench/bench_nzoverwrite_memcpy ]; then \
	  $(OUT)/build-$(NATIVE)/bench/bench_nzoverwrite_memcpy --benchmark_repetitions=9 \
	    --benchmark_report_aggregates_only=true 2>/dev/null | grep -E '^Benchmark|_median'; fi

# alscomplete on the 480189-by-17770 shape at each size in SCALE (entries;
# a list such as "1e6 1e7"), each size in its own Octave process.
SCALE ?= 1e6 1e7
bench-scale: native
	OPENBLAS_NUM_THREADS=1 $(OCTAVE) --eval "addpath('$(OUT)/octave'); addpath('bench'); addpath('toolbox'); bench_scale('$(SCALE)')"

# Held-out RMSE of alscomplete on rating-like data (bench/synthratings.m)
# against the global mean, the tuned bias baseline and the former
# formulation, and the cost of choosing lambda.
bench-ratings: native
	OPENBLAS_NUM_THREADS=1 $(OCTAVE) --eval "addpath('$(OUT)/octave'); addpath('bench'); addpath('toolbox'); bench_ratings"

# Implicit-feedback fits (bench/bench_implicit_run.m) at each size in
# IMPLICIT_SIZES (interactions), ranks IMPLICIT_RANKS, both solvers: set-up,
# time per sweep, peak memory and precision@10 of held-out interactions.
# Each fit in its own Octave process (a process's peak memory only grows),
# the data made once per size and kept in $(OUT)/implicit-<size>.bin.
IMPLICIT_SIZES ?= 1e6 1e7
IMPLICIT_RANKS ?= 10 32 64 128
IMPLICIT_SWEEPS ?= 3
bench-implicit: native
	for N in $(IMPLICIT_SIZES); do for R in $(IMPLICIT_RANKS); do for S in cholesky cg; do \
	  OPENBLAS_NUM_THREADS=1 $(OCTAVE) --eval "addpath('$(OUT)/octave'); addpath('bench'); addpath('toolbox'); bench_implicit_run($$N, $$R, {'$$S'}, $(IMPLICIT_SWEEPS), '$(OUT)/implicit-$$N.bin');" || exit 1; \
	done; done; done

clean:
	rm -rf $(OUT)
