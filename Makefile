# Everyday entry points. Build outputs go to out/.
#   make        build the plug-ins (out/mex, out/octave), the stand-in host and the tests
#   make test   install what is missing, build, and run every test (also under sanitizers)
#   make demo   the main job in Octave
#   make bench  benchmarks against plain-Octave equivalents
OUT := out
JOBS ?= 2

.PHONY: all deps asan test demo bench clean

all: deps
	cmake -S . -B $(OUT)/build -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(OUT)/build -j $(JOBS) -- --no-print-directory

deps:
	@sh tools/install-deps.sh

asan: deps
	cmake -S . -B $(OUT)/build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKERNELS_SANITIZE=ON \
	  -DKERNELS_OCTAVE=OFF -DKERNELS_OUT=$(CURDIR)/$(OUT)/asan >/dev/null
	cmake --build $(OUT)/build-asan -j $(JOBS) -- --no-print-directory

test: all asan
	cd $(OUT)/build && ctest --output-on-failure
	cd $(OUT)/build-asan && ctest --output-on-failure

OCTAVE := octave-cli --no-init-file --no-site-file --quiet

demo: all
	$(OCTAVE) --eval "addpath('$(OUT)/octave'); addpath('bench'); bench_delmirost"

# One BLAS thread, so that rates compare with a single-threaded dgemm.
bench: all
	OPENBLAS_NUM_THREADS=1 $(OCTAVE) --eval "addpath('$(OUT)/octave'); addpath('bench'); run_benchmarks"

clean:
	rm -rf $(OUT)
