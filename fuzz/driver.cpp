// Fuzz target of one kernel (FUZZ_KERNEL), called through its plug-in file
// (FUZZ_PLUGIN) in the stand-in host, built with ASan, UBSan and libFuzzer.
//
// Each input decodes into one call: nlhs and nrhs from 0 to 8 (mostly the
// kernel's own counts), and nrhs arrays of any class the host has (mostly
// the one the kernel reads in that slot), real or complex, full or sparse,
// cells of arrays, empty slots or cells, with shapes and values biased to
// the edges. Sparse arrays may carry spare
// capacity and, rarely, column starts and row indices that no host would
// make. Besides what the sanitizers and the stand-in catch, a call is a
// finding (reported, then abort() so that libFuzzer keeps the input) when
//   - it succeeded and left an array alive that it neither returned nor
//     destroyed, or returned an output that breaks the kernel's promise;
//   - it failed and left any array of its own alive, or returned one;
//   - it changed an input (for nzoverwrite: anything of M but the first
//     numel(X) values, or M at all when it failed);
//   - ombrelast's X(k) differs in one bit from the left-to-right sum.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <standin/host.h>

namespace {

const std::string kernel = FUZZ_KERNEL;
std::unique_ptr<standin::Plugin> plugin;

[[noreturn]] void finding(const std::string &what) {
    std::fprintf(stderr, "fuzz %s: finding: %s\n", kernel.c_str(), what.c_str());
    std::abort();
}

// The classes each kernel reads from its inputs, slot by slot; most
// inputs take them, so that calls get past the class checks.
struct Slot {
    mxClassID cls;
    bool sparse;
};
std::vector<Slot> expectedSlots() {
    const Slot full{mxDOUBLE_CLASS, false}, sparse{mxDOUBLE_CLASS, true},
        index{mxUINT32_CLASS, false}, cell{mxCELL_CLASS, false};
    if (kernel == "delmirost") return {full, full, full, index, index, index};
    if (kernel == "korvanthe") return {sparse, full, full};
    if (kernel == "vantresk") return {cell, full};
    if (kernel == "ombrelast") return {full, full, index, index};
    return {sparse, full};  // nzoverwrite
}

// Builds the arrays of one call from the fuzzer's bytes. What decides the
// call's shape (counts, classes, dimensions) comes from the front of the
// input, the contents from the back, so that a change to one array's class
// or size leaves the others as they were. The total count of elements and
// stored entries stays within a small budget, so that one call stays fast;
// a dimension that would pass it leaves its partner at zero (a 0-by-2^40
// array).
class Decoder {
public:
    explicit Decoder(FuzzedDataProvider &in) : in_(in) {}

    std::uint8_t head() {
        const std::vector<std::uint8_t> b = in_.ConsumeBytes<std::uint8_t>(1);
        return b.empty() ? 0 : b[0];
    }

    std::vector<const mxArray *> inputs(int nrhs) {
        static const std::vector<Slot> slots = expectedSlots();
        std::vector<const mxArray *> prhs;
        for (int k = 0; k < nrhs; ++k) {
            const std::uint8_t kind = head();
            // Now and then an input is an earlier one again.
            if (!prhs.empty() && kind >= 248) {
                prhs.push_back(prhs[kind % prhs.size()]);
                continue;
            }
            const Slot *slot = static_cast<std::size_t>(k) < slots.size() ? &slots[k] : nullptr;
            mxArray *a = array(0, kind, slot);
            top_.push_back(a);
            prhs.push_back(a);
        }
        return prhs;
    }

    ~Decoder() {
        for (mxArray *a : top_) mxDestroyArray(a);
    }

private:
    static constexpr std::size_t budget_ = 256;

    std::size_t dimension() {
        static const std::size_t edges[] = {8,
                                            15,
                                            16,
                                            255,
                                            256,
                                            65535,
                                            65536,
                                            (std::size_t(1) << 31) - 1,
                                            std::size_t(1) << 31,
                                            (std::size_t(1) << 32) - 1,
                                            std::size_t(1) << 32,
                                            (std::size_t(1) << 32) + 1,
                                            std::size_t(1) << 40,
                                            std::size_t(1) << 62,
                                            SIZE_MAX / 2,
                                            SIZE_MAX};
        const std::uint8_t b = head();
        if (b < 224) return b % 8;
        return edges[(b - 224) % (sizeof edges / sizeof edges[0])];
    }

    // m and n with m*n within what is left of the budget.
    void shape(std::size_t &m, std::size_t &n, std::size_t cap) {
        m = dimension();
        n = dimension();
        const std::size_t left = std::min(cap, budget_ - used_);
        if (m != 0 && n != 0 && (n > left / m)) (m < n ? m : n) = 0;
        used_ += m * n;
    }

    double real() {
        static const double edges[] = {0.0,
                                       -0.0,
                                       1.0,
                                       -1.0,
                                       0.5,
                                       2.0,
                                       3.0,
                                       4.0,
                                       std::numeric_limits<double>::quiet_NaN(),
                                       -std::numeric_limits<double>::quiet_NaN(),
                                       std::numeric_limits<double>::infinity(),
                                       -std::numeric_limits<double>::infinity(),
                                       std::numeric_limits<double>::min(),
                                       std::numeric_limits<double>::denorm_min(),
                                       -std::numeric_limits<double>::denorm_min(),
                                       std::numeric_limits<double>::max(),
                                       -std::numeric_limits<double>::max(),
                                       1e16,
                                       -1e16,
                                       1e-300,
                                       1e300,
                                       4294967295.0,
                                       4294967296.0};
        const std::uint8_t b = in_.ConsumeIntegral<std::uint8_t>();
        if (b < 96) return static_cast<double>(b % 9) - 2.0;
        if (b < 240) return edges[(b - 96) % (sizeof edges / sizeof edges[0])];
        double x;
        std::uint64_t bits = in_.ConsumeIntegral<std::uint64_t>();
        std::memcpy(&x, &bits, sizeof x);
        return x;
    }

    std::uint64_t integer() {
        static const std::uint64_t edges[] = {0xffffffffu, 0xfffffffeu, 0x80000000u, 0x7fffffffu,
                                              0xffffu,     0x10000u,    0xffu,       0x100u};
        const std::uint8_t b = in_.ConsumeIntegral<std::uint8_t>();
        if (b < 192) return b % 10;
        if (b < 240) return edges[(b - 192) % (sizeof edges / sizeof edges[0])];
        return in_.ConsumeIntegral<std::uint64_t>();
    }

    void fill(void *data, std::size_t k, mxClassID cls, std::size_t size) {
        for (std::size_t e = 0; e < k; ++e) {
            switch (cls) {
            case mxDOUBLE_CLASS: static_cast<double *>(data)[e] = real(); break;
            case mxSINGLE_CLASS: static_cast<float *>(data)[e] = static_cast<float>(real()); break;
            case mxLOGICAL_CLASS: static_cast<std::uint8_t *>(data)[e] = in_.ConsumeBool(); break;
            default: {
                const std::uint64_t v = integer();
                std::memcpy(static_cast<char *>(data) + e * size, &v,
                            size);  // little-endian: the low bytes
            }
            }
        }
    }

    // An array of the slot's class for most kinds below 160 (complex for
    // a few), of any class otherwise.
    mxArray *array(int depth, std::uint8_t kind, const Slot *slot) {
        static const mxClassID classes[] = {
            mxDOUBLE_CLASS, mxDOUBLE_CLASS, mxDOUBLE_CLASS, mxUINT32_CLASS, mxUINT32_CLASS,
            mxDOUBLE_CLASS, mxUINT32_CLASS, mxCELL_CLASS,   mxSINGLE_CLASS, mxINT8_CLASS,
            mxUINT8_CLASS,  mxINT16_CLASS,  mxUINT16_CLASS, mxINT32_CLASS,  mxINT64_CLASS,
            mxUINT64_CLASS, mxLOGICAL_CLASS, mxCHAR_CLASS,  mxSTRUCT_CLASS};
        mxClassID cls = classes[kind % (sizeof classes / sizeof classes[0])];
        bool sparse = (kind & 0x60) == 0x60, complex = (kind & 0x1c) == 0x1c;
        if (slot && kind < 160) {
            cls = slot->cls;
            sparse = slot->sparse;
            complex = kind < 8;
        }
        if (cls == mxCELL_CLASS && depth >= 2) cls = mxDOUBLE_CLASS;
        sparse = sparse && (cls == mxDOUBLE_CLASS || cls == mxLOGICAL_CLASS);
        complex = complex && cls != mxLOGICAL_CLASS && cls != mxCHAR_CLASS &&
                  cls != mxCELL_CLASS && cls != mxSTRUCT_CLASS;
        if (sparse) return sparseArray(cls, complex);

        std::size_t m, n;
        shape(m, n, cls == mxCELL_CLASS ? 8 : budget_);
        if (cls == mxCELL_CLASS) {
            mxArray *c = mxCreateCellMatrix(m, n);
            // The elements of a cell in a cell slot are full doubles mostly.
            static const Slot element{mxDOUBLE_CLASS, false};
            for (std::size_t e = 0; e < m * n; ++e) {
                const std::uint8_t k = head();
                if (k >= 16) mxSetCell(c, e, array(depth + 1, k, slot ? &element : nullptr));
            }
            return c;
        }
        if (cls == mxSTRUCT_CLASS) return mxCreateStructMatrix(m, n, 0, nullptr);
        mxArray *a = mxCreateNumericMatrix(m, n, cls, complex ? mxCOMPLEX : mxREAL);
        fill(mxGetData(a), m * n, cls, mxGetElementSize(a));
        if (complex) fill(mxGetPi(a), m * n, cls, mxGetElementSize(a));
        return a;
    }

    // A sparse array with sorted distinct rows below m per column and some
    // spare capacity; rarely with column starts or row indices overwritten
    // by edge values, as only a hand-built array can have them.
    mxArray *sparseArray(mxClassID cls, bool complex) {
        std::size_t m = dimension(), n = dimension();
        if (n > 32) n = 0;  // the column starts are data too
        std::vector<std::vector<mwIndex>> rows(n);
        std::size_t entries = 0;
        for (std::size_t j = 0; j < n && m > 0; ++j) {
            const std::size_t p = in_.ConsumeIntegralInRange<std::size_t>(0, 4);
            for (std::size_t e = 0; e < p && used_ + entries < budget_; ++e, ++entries) {
                const std::uint8_t b = in_.ConsumeIntegral<std::uint8_t>();
                rows[j].push_back(b < 200 ? b % m : m - 1 - b % 4 % m);
            }
            std::sort(rows[j].begin(), rows[j].end());
            rows[j].erase(std::unique(rows[j].begin(), rows[j].end()), rows[j].end());
        }
        std::size_t nnz = 0;
        for (auto &r : rows) nnz += r.size();
        const std::size_t nzmax = nnz + in_.ConsumeIntegralInRange<std::size_t>(0, 3);
        used_ += nzmax + n;

        mxArray *a = cls == mxDOUBLE_CLASS
                         ? mxCreateSparse(m, n, nzmax, complex ? mxCOMPLEX : mxREAL)
                         : mxCreateSparseLogicalMatrix(m, n, nzmax);
        mwIndex *jc = mxGetJc(a), *ir = mxGetIr(a);
        std::size_t pos = 0;
        for (std::size_t j = 0; j < n; ++j) {
            jc[j] = pos;
            for (mwIndex r : rows[j]) ir[pos++] = r;
        }
        jc[n] = pos;
        const std::size_t capacity = mxGetNzmax(a);
        fill(mxGetData(a), capacity, cls, mxGetElementSize(a));
        if (complex) fill(mxGetPi(a), capacity, cls, mxGetElementSize(a));

        if (in_.ConsumeIntegral<std::uint8_t>() >= 192) {
            const std::size_t wild[] = {capacity + 1, m, m + 1, nnz + 1, capacity, 0, 1, 2,
                                        0xffffffffu, SIZE_MAX};
            for (int t = in_.ConsumeIntegralInRange<int>(1, 3); t > 0; --t) {
                const std::size_t v = wild[in_.ConsumeIntegralInRange<std::size_t>(0, 9)];
                // Mostly a column start between the first and the last.
                const std::size_t j = n > 1 && in_.ConsumeBool()
                                          ? in_.ConsumeIntegralInRange<std::size_t>(1, n - 1)
                                          : in_.ConsumeIntegralInRange<std::size_t>(0, n);
                switch (in_.ConsumeIntegralInRange<int>(0, 2)) {
                case 0: jc[j] = v; break;
                case 1: std::swap(jc[j], jc[in_.ConsumeIntegralInRange<std::size_t>(0, n)]); break;
                default: ir[in_.ConsumeIntegralInRange<std::size_t>(0, capacity - 1)] = v;
                }
            }
        }
        return a;
    }

    FuzzedDataProvider &in_;
    std::size_t used_ = 0;
    std::vector<mxArray *> top_;
};

// Every byte an array and what it holds consist of, for telling whether a
// call changed it.
void fingerprint(const mxArray *a, std::string &out) {
    const mxClassID cls = mxGetClassID(a);
    const std::size_t dims[] = {mxGetM(a), mxGetN(a), static_cast<std::size_t>(cls),
                                mxIsSparse(a), mxIsComplex(a)};
    out.append(reinterpret_cast<const char *>(dims), sizeof dims);
    if (cls == mxCELL_CLASS) {
        for (std::size_t e = 0; e < mxGetNumberOfElements(a); ++e) {
            const mxArray *c = mxGetCell(a, e);
            out.append(reinterpret_cast<const char *>(&c), sizeof c);
            if (c) fingerprint(c, out);
        }
        return;
    }
    const std::size_t k = mxIsSparse(a) ? mxGetNzmax(a) : mxGetNumberOfElements(a);
    const std::size_t bytes = cls == mxSTRUCT_CLASS ? 0 : k * mxGetElementSize(a);
    if (bytes) out.append(static_cast<const char *>(mxGetData(a)), bytes);
    if (bytes && mxIsComplex(a)) out.append(reinterpret_cast<const char *>(mxGetPi(a)), bytes);
    if (mxIsSparse(a)) {
        out.append(reinterpret_cast<const char *>(mxGetIr(a)), k * sizeof(mwIndex));
        out.append(reinterpret_cast<const char *>(mxGetJc(a)), (mxGetN(a) + 1) * sizeof(mwIndex));
    }
}

std::string fingerprint(const std::vector<const mxArray *> &inputs) {
    std::string out;
    for (const mxArray *a : inputs) fingerprint(a, out);
    return out;
}

bool isFullRealDouble(const mxArray *a) {
    return mxIsDouble(a) && !mxIsSparse(a) && !mxIsComplex(a);
}

// A cell of `count`-by-1 upper factor blocks of order r: full real double,
// strict lower triangle exactly +0.0.
void checkFactors(const mxArray *c, std::size_t count, std::size_t r) {
    if (!c || !mxIsCell(c) || mxGetM(c) != count || mxGetN(c) != 1)
        finding("the factors are not a cell of one block per column");
    for (std::size_t l = 0; l < count; ++l) {
        const mxArray *u = mxGetCell(c, l);
        if (!u || !isFullRealDouble(u) || mxGetM(u) != r || mxGetN(u) != r)
            finding("factor block " + std::to_string(l) + " is not an r-by-r real double matrix");
        const double *d = mxGetPr(u);
        for (std::size_t j = 0; j < r; ++j)
            for (std::size_t i = j + 1; i < r; ++i) {
                std::uint64_t bits;
                std::memcpy(&bits, d + i + j * r, sizeof bits);
                if (bits != 0) finding("factor block " + std::to_string(l) +
                                       " is not exactly +0 below the diagonal");
            }
    }
}

// X(k) as the left-to-right sum from the first product; this file is built
// without contraction into fused multiply-adds, as the kernel is.
void checkMaskedProduct(const std::vector<const mxArray *> &in, const mxArray *X) {
    const mxArray *aA = in[0], *aB = in[1], *aI = in[2];
    const std::size_t p = mxGetM(aI), q = mxGetN(aI);
    if (!X || !isFullRealDouble(X) || mxGetM(X) != p || mxGetN(X) != q)
        finding("X does not have the shape of I");
    const std::size_t count = p * q;
    if (count == 0) return;
    const std::size_t m = mxGetM(aA), r = mxGetN(aA);
    const double *A = mxGetPr(aA), *B = mxGetPr(aB), *x = mxGetPr(X);
    const std::uint32_t *I = static_cast<const std::uint32_t *>(mxGetData(in[2]));
    const std::uint32_t *J = static_cast<const std::uint32_t *>(mxGetData(in[3]));
    for (std::size_t k = 0; k < count; ++k) {
        double s = 0.0;  // the empty sum, when there is no inner dimension
        if (r > 0) {
            const std::size_t i = I[k] - 1u, j = J[k] - 1u;
            s = A[i] * B[j * r];
            for (std::size_t t = 1; t < r; ++t) s = s + A[i + t * m] * B[t + j * r];
        }
        if (std::memcmp(&s, x + k, sizeof s) != 0)
            finding("X(" + std::to_string(k) + ") differs from the left-to-right sum");
    }
}

// What a successful call promised, beyond leaving its inputs as they were.
void checkOutputs(const std::vector<const mxArray *> &in, const standin::Outcome &res) {
    const mxArray *out = res.outputs.empty() ? nullptr : res.outputs[0];
    if (kernel == "delmirost") {
        const std::size_t blocks = *static_cast<const std::uint32_t *>(mxGetData(in[5]));
        checkFactors(out, blocks, mxGetN(in[1]));
    } else if (kernel == "korvanthe") {
        checkFactors(out, mxGetN(in[0]), mxGetN(in[1]));
    } else if (kernel == "vantresk") {
        if (!out || !isFullRealDouble(out) || mxGetM(out) != mxGetM(in[1]) ||
            mxGetN(out) != mxGetN(in[1]))
            finding("Z does not have the size of Y");
    } else if (kernel == "ombrelast") {
        checkMaskedProduct(in, out);
    } else if (kernel == "nzoverwrite") {
        for (const mxArray *o : res.outputs)
            if (o) finding("nzoverwrite returned an output");
    }
}

// One line per call, for reading what an input does (FUZZ_DESCRIBE=1).
void describe(const mxArray *a, std::string &out) {
    static const char *names[] = {"unknown", "cell",  "struct", "logical", "char",   "void",
                                  "double",  "single", "int8",  "uint8",   "int16",  "uint16",
                                  "int32",   "uint32", "int64", "uint64"};
    out += std::to_string(mxGetM(a)) + "x" + std::to_string(mxGetN(a)) +
           (mxIsSparse(a) ? " sparse" : "") + (mxIsComplex(a) ? " complex" : "") + " " +
           names[mxGetClassID(a)];
    if (mxIsSparse(a)) {
        out += " nzmax " + std::to_string(mxGetNzmax(a)) + " jc";
        for (std::size_t j = 0; j <= mxGetN(a); ++j) out += " " + std::to_string(mxGetJc(a)[j]);
    } else if (mxIsCell(a)) {
        out += " {";
        for (std::size_t e = 0; e < mxGetNumberOfElements(a); ++e) {
            if (e) out += ", ";
            if (const mxArray *c = mxGetCell(a, e)) describe(c, out);
            else out += "-";
        }
        out += "}";
    } else if (mxGetNumberOfElements(a) > 0 && mxGetNumberOfElements(a) <= 16 &&
               (mxIsDouble(a) || mxIsUint32(a))) {
        out += " [";
        for (std::size_t e = 0; e < mxGetNumberOfElements(a); ++e)
            out += (e ? " " : "") + (mxIsDouble(a) ? std::to_string(mxGetPr(a)[e])
                                                   : std::to_string(static_cast<const std::uint32_t *>(
                                                         mxGetData(a))[e]));
        out += "]";
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    // One BLAS thread: the calls are tiny, and threads would only add noise.
    setenv("OPENBLAS_NUM_THREADS", "1", 1);
    // A request beyond this ends the call with the host's out-of-memory
    // error. The inputs hold a few hundred elements at most, so only a size
    // taken from a value asks for more: an nBlocks of millions would be
    // a call of seconds (a cell of that many blocks) that finds nothing new.
    standinLimitAllocation(std::size_t(16) << 10);
    plugin = std::make_unique<standin::Plugin>(FUZZ_PLUGIN);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::size_t baseline = standinLiveArrays();
    {
        Decoder decoder(in);
        // Mostly the counts the kernel takes, any from 0 to 8 otherwise.
        static const int wanted = static_cast<int>(expectedSlots().size());
        const std::uint8_t lhs = decoder.head(), rhs = decoder.head();
        const int nlhs = lhs < 160 ? kernel != "nzoverwrite" : lhs % 9;
        const int nrhs = rhs < 160 ? wanted : rhs % 9;
        const std::vector<const mxArray *> inputs = decoder.inputs(nrhs);
        const std::size_t alive = standinLiveArrays();
        const std::string before = fingerprint(inputs);

        // nzoverwrite may change the first numel(X) stored values of M and
        // nothing else: keep them, to put them back before comparing.
        std::string values;
        if (kernel == "nzoverwrite" && nrhs > 0 && mxIsDouble(inputs[0]) && mxIsSparse(inputs[0]))
            values.assign(reinterpret_cast<const char *>(mxGetPr(inputs[0])),
                          mxGetNzmax(inputs[0]) * sizeof(double));

        if (std::getenv("FUZZ_DESCRIBE")) {
            std::string line = "nlhs " + std::to_string(nlhs) + ", nrhs " + std::to_string(nrhs);
            for (const mxArray *a : inputs) describe(a, line += "; ");
            std::fprintf(stderr, "%s\n", line.c_str());
        }
        standin::Outcome res = plugin->call(nlhs, inputs);
        if (std::getenv("FUZZ_DESCRIBE"))
            std::fprintf(stderr, "  -> %s\n", res.ok ? "ok" : res.error.c_str());

        if (res.ok) {
            if (!res.leaks.empty()) finding(res.leaks[0]);
            checkOutputs(inputs, res);
            if (!values.empty()) {
                double *pr = mxGetPr(inputs[0]);
                const std::size_t c = mxGetNumberOfElements(inputs[1]);
                if (c && std::memcmp(pr, mxGetPr(inputs[1]), c * sizeof(double)) != 0)
                    finding("M does not hold the elements of X");
                std::memcpy(pr, values.data(), values.size());
            }
            standin::release(res);
        } else {
            if (!res.outputs.empty()) finding("a failed call returned an output");
        }
        if (standinLiveArrays() != alive)
            finding(std::string(res.ok ? "after success" : "after failure (") + res.error +
                    (res.ok ? "" : ")") + ": arrays of the call still alive");
        if (fingerprint(inputs) != before)
            finding(std::string("an input changed") + (res.ok ? "" : " by a failed call: " + res.error));
    }
    if (standinLiveArrays() != baseline) finding("arrays alive after the inputs were freed");
    return 0;
}
