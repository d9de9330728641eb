// nzoverwrite against a plain memcpy of the same bytes: the plug-in called
// through the stand-in host on a 6000-by-4000 sparse matrix with 1,000,000
// stored values, and memcpy of 1,000,000 doubles between two vectors. Both
// write into memory that is already mapped, so the two differ only by what
// the kernel and the host's call add to the copy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include <standin/host.h>

namespace {

const std::size_t kRows = 6000, kColumns = 4000, kValues = 1000000;

void memcpyOfTheValues(benchmark::State &state) {
    std::vector<double> from(kValues, 1.5), to(kValues, 0.0);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), kValues * sizeof(double));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kValues * sizeof(double)));
}

void nzoverwriteOfTheValues(benchmark::State &state) {
    standin::Plugin plugin(std::string(KERNELS_MEX_DIR) + "/nzoverwrite" + KERNELS_MEX_SUFFIX);

    // 250 entries in each column, every 24th row: the pattern does not
    // matter to the copy, only the number of values.
    mxArray *M = mxCreateSparse(kRows, kColumns, kValues, mxREAL);
    mwIndex *jc = mxGetJc(M), *ir = mxGetIr(M);
    const std::size_t perColumn = kValues / kColumns, step = kRows / perColumn;
    for (std::size_t j = 0; j <= kColumns; ++j) jc[j] = j * perColumn;
    for (std::size_t k = 0; k < kValues; ++k) ir[k] = (k % perColumn) * step;
    mxArray *X = mxCreateDoubleMatrix(kValues, 1, mxREAL);
    std::fill(mxGetPr(X), mxGetPr(X) + kValues, 2.5);

    for (auto _ : state) {
        standin::Outcome outcome = plugin.call(0, {M, X});
        if (!outcome.ok) {
            state.SkipWithError(outcome.error.c_str());
            break;
        }
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kValues * sizeof(double)));
    mxDestroyArray(X);
    mxDestroyArray(M);
}

}  // namespace

BENCHMARK(memcpyOfTheValues)->Unit(benchmark::kMicrosecond);
BENCHMARK(nzoverwriteOfTheValues)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
