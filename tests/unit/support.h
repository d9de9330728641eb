// Building host arrays, loading the plug-ins and reading results in tests.
#ifndef TESTS_SUPPORT_H
#define TESTS_SUPPORT_H

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <standin/host.h>

namespace support {

// The plug-in file of a kernel (or of the test probe), loaded once per test
// binary.
inline const standin::Plugin &plugin(const std::string &name) {
    static std::vector<std::pair<std::string, std::unique_ptr<standin::Plugin>>> loaded;
    for (auto &p : loaded)
        if (p.first == name) return *p.second;
    std::string dir = name == "probe" ? KERNELS_PROBE_DIR : KERNELS_MEX_DIR;
    loaded.emplace_back(name,
                        std::make_unique<standin::Plugin>(dir + "/" + name + KERNELS_MEX_SUFFIX));
    return *loaded.back().second;
}

// Owns the arrays a test creates and frees them at the end of the test.
class Arrays {
public:
    ~Arrays() {
        for (mxArray *a : owned_) mxDestroyArray(a);
    }
    mxArray *keep(mxArray *a) {
        owned_.push_back(a);
        return a;
    }
    // Column-major values of an m-by-n double matrix.
    mxArray *doubles(std::size_t m, std::size_t n, const std::vector<double> &v = {}) {
        mxArray *a = keep(mxCreateDoubleMatrix(m, n, mxREAL));
        if (!v.empty()) std::memcpy(mxGetPr(a), v.data(), v.size() * sizeof(double));
        return a;
    }
    mxArray *scalar(double x) { return doubles(1, 1, {x}); }
    mxArray *uint32s(std::size_t m, std::size_t n, const std::vector<std::uint32_t> &v = {}) {
        mxArray *a = keep(mxCreateNumericMatrix(m, n, mxUINT32_CLASS, mxREAL));
        if (!v.empty()) std::memcpy(mxGetData(a), v.data(), v.size() * sizeof(std::uint32_t));
        return a;
    }
    mxArray *numeric(std::size_t m, std::size_t n, mxClassID cls, mxComplexity c = mxREAL) {
        return keep(mxCreateNumericMatrix(m, n, cls, c));
    }
    // A sparse double matrix from its compressed columns, with capacity
    // nzmax (at least the entries given).
    mxArray *sparse(std::size_t m, std::size_t n, const std::vector<mwIndex> &jc,
                    const std::vector<mwIndex> &ir, const std::vector<double> &pr,
                    std::size_t nzmax = 0) {
        mxArray *a = keep(mxCreateSparse(m, n, nzmax > pr.size() ? nzmax : pr.size(), mxREAL));
        std::copy(jc.begin(), jc.end(), mxGetJc(a));
        std::copy(ir.begin(), ir.end(), mxGetIr(a));
        std::copy(pr.begin(), pr.end(), mxGetPr(a));
        return a;
    }

private:
    std::vector<mxArray *> owned_;
};

// A call's outcome whose outputs are freed at the end of the test.
struct Result : standin::Outcome {
    explicit Result(standin::Outcome o) : standin::Outcome(std::move(o)) {}
    ~Result() { standin::release(*this); }
    Result(const Result &) = delete;
};

inline Result call(const std::string &kernel, int nlhs, std::vector<const mxArray *> inputs) {
    return Result(plugin(kernel).call(nlhs, inputs));
}

inline std::vector<double> values(const mxArray *a) {
    const double *p = mxGetPr(a);
    std::size_t k = mxGetNumberOfElements(a);
    return k ? std::vector<double>(p, p + k) : std::vector<double>{};
}

}  // namespace support

#endif
