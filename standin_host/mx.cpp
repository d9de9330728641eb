// libmx of the stand-in host: arrays with the host's layout and ownership.
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <new>
#include <sstream>
#include <unordered_set>
#include <vector>

#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#ifndef NOMINMAX  // the mingw C++ headers may define it already
#define NOMINMAX
#endif
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "internal.h"

struct mxArray_tag {
    mxClassID cls;
    bool sparse;
    bool complex;
    std::size_t m, n;
    std::size_t elementSize;
    void *real;           // column-major data, or the stored values of a sparse array
    void *imag;           // imaginary part (separate storage), or nullptr
    std::size_t nzmax;    // sparse: capacity of ir and the value arrays
    mwIndex *ir, *jc;     // sparse: row indices and column starts
    mxArray **cells;      // cell: one slot per element
    mxArray *owner;       // the cell that holds this array, if any
    bool ofCall;          // created by the call in progress
};

namespace {

std::unordered_set<mxArray *> &live() {
    static std::unordered_set<mxArray *> arrays;
    return arrays;
}
bool inCall = false;
std::size_t failAfter = 0;
std::jmp_buf *jumpTarget = nullptr;
std::string raisedText;

std::size_t sizeOf(mxClassID cls) {
    switch (cls) {
    case mxDOUBLE_CLASS: case mxINT64_CLASS: case mxUINT64_CLASS: return 8;
    case mxSINGLE_CLASS: case mxINT32_CLASS: case mxUINT32_CLASS: return 4;
    case mxINT16_CLASS: case mxUINT16_CLASS: case mxCHAR_CLASS: return 2;
    case mxINT8_CLASS: case mxUINT8_CLASS: case mxLOGICAL_CLASS: return 1;
    default: return sizeof(mxArray *);
    }
}

// The largest single allocation the host grants: the machine's memory, or
// less where the caller says so (standinLimitAllocation), and never more
// than one object can span (PTRDIFF_MAX bytes: half the address space of a
// 32-bit host, whose machine may well have more memory).
std::size_t physicalMemory() {
    const std::size_t most = PTRDIFF_MAX;
#if defined(_WIN32)
    MEMORYSTATUSEX status;
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status)) return most;
    const unsigned long long bytes = status.ullTotalPhys;
#else
    const long pages = sysconf(_SC_PHYS_PAGES), size = sysconf(_SC_PAGESIZE);
    if (pages <= 0 || size <= 0) return most;
    const unsigned long long bytes =
        static_cast<unsigned long long>(pages) * static_cast<unsigned long long>(size);
#endif
    return bytes > most ? most : static_cast<std::size_t>(bytes);
}
std::size_t allocationLimit = 0;  // 0: the machine's memory

// A request the host cannot grant ends the call with the host's error, as a
// host out of memory does; outside a call there is no call to end.
[[noreturn]] void outOfMemory() {
    if (inCall && jumpTarget) standinRaise("Out of memory.");
    throw std::bad_alloc();
}

std::size_t count(std::size_t m, std::size_t n) {
    if (m != 0 && n > SIZE_MAX / m) outOfMemory();
    return m * n;
}

// Ends the call unless `elements` of `size` bytes are within what the host
// grants; checked before an array is made, so that a refused request
// leaves none behind.
std::size_t grantable(std::size_t elements, std::size_t size) {
    // The machine's memory is asked once, not at every array.
    static const std::size_t machine = physicalMemory();
    const std::size_t limit = allocationLimit ? allocationLimit : machine;
    if (size != 0 && elements > limit / size) outOfMemory();
    return elements;
}

// Zero-filled storage of exactly the bytes asked for; none for no bytes, so
// that a read past the end is caught. The creators have checked the request
// with grantable before making the array.
void *storage(std::size_t elements, std::size_t size) {
    if (elements == 0) return nullptr;
    void *p = std::calloc(elements, size);
    if (!p) outOfMemory();
    return p;
}

bool failing() {
    if (failAfter == 0) return false;
    return --failAfter == 0;
}

mxArray *make(mxClassID cls, std::size_t m, std::size_t n, bool cx) {
    mxArray *a = new mxArray_tag{};
    a->cls = cls;
    a->m = m;
    a->n = n;
    a->complex = cx;
    a->elementSize = sizeOf(cls);
    a->ofCall = inCall;
    live().insert(a);
    return a;
}

void check(const mxArray *a, const char *call) {
    if (!a || !live().count(const_cast<mxArray *>(a)))
        standin::fault(std::string(call) + " on an array that does not exist");
}

void destroy(mxArray *a) {
    if (a->cells) {
        std::size_t k = a->m * a->n;
        for (std::size_t i = 0; i < k; ++i)
            if (a->cells[i]) destroy(a->cells[i]);
    }
    std::free(a->real);
    std::free(a->imag);
    std::free(a->ir);
    std::free(a->jc);
    std::free(a->cells);
    live().erase(a);
    delete a;
}

const char *className(mxClassID c) {
    static const char *names[] = {"unknown", "cell",  "struct", "logical", "char",   "void",
                                  "double",  "single", "int8",  "uint8",   "int16",  "uint16",
                                  "int32",   "uint32", "int64", "uint64"};
    return names[c];
}

}  // namespace

void standin::fault(const std::string &what) {
    std::cerr << "stand-in host: plug-in fault: " << what << std::endl;
    std::abort();
}

extern "C" {

std::size_t mxGetM(const mxArray *a) { check(a, "mxGetM"); return a->m; }
std::size_t mxGetN(const mxArray *a) { check(a, "mxGetN"); return a->n; }
std::size_t mxGetNumberOfElements(const mxArray *a) {
    check(a, "mxGetNumberOfElements");
    return a->m * a->n;
}
bool mxIsSparse(const mxArray *a) { check(a, "mxIsSparse"); return a->sparse; }
bool mxIsDouble(const mxArray *a) { check(a, "mxIsDouble"); return a->cls == mxDOUBLE_CLASS; }
bool mxIsUint32(const mxArray *a) { check(a, "mxIsUint32"); return a->cls == mxUINT32_CLASS; }
bool mxIsComplex(const mxArray *a) { check(a, "mxIsComplex"); return a->complex; }
bool mxIsCell(const mxArray *a) { check(a, "mxIsCell"); return a->cls == mxCELL_CLASS; }
bool mxIsLogical(const mxArray *a) { check(a, "mxIsLogical"); return a->cls == mxLOGICAL_CLASS; }
bool mxIsEmpty(const mxArray *a) { check(a, "mxIsEmpty"); return a->m == 0 || a->n == 0; }
bool mxIsNumeric(const mxArray *a) {
    check(a, "mxIsNumeric");
    return a->cls >= mxDOUBLE_CLASS && a->cls <= mxUINT64_CLASS;
}
mxClassID mxGetClassID(const mxArray *a) { check(a, "mxGetClassID"); return a->cls; }
std::size_t mxGetElementSize(const mxArray *a) {
    check(a, "mxGetElementSize");
    return a->elementSize;
}

// The data pointers are handed out whatever the class, as the host does:
// reading them with the right type is the caller's business.
double *mxGetPr(const mxArray *a) { check(a, "mxGetPr"); return static_cast<double *>(a->real); }
double *mxGetPi(const mxArray *a) { check(a, "mxGetPi"); return static_cast<double *>(a->imag); }
void *mxGetData(const mxArray *a) { check(a, "mxGetData"); return a->real; }

double mxGetScalar(const mxArray *a) {
    check(a, "mxGetScalar");
    if (!a->real) return 0.0;
    if (a->sparse && a->jc[a->n] == 0) return 0.0;
    const void *p = a->real;
    switch (a->cls) {
    case mxDOUBLE_CLASS: return *static_cast<const double *>(p);
    case mxSINGLE_CLASS: return *static_cast<const float *>(p);
    case mxINT8_CLASS: return *static_cast<const std::int8_t *>(p);
    case mxUINT8_CLASS: return *static_cast<const std::uint8_t *>(p);
    case mxINT16_CLASS: return *static_cast<const std::int16_t *>(p);
    case mxUINT16_CLASS: return *static_cast<const std::uint16_t *>(p);
    case mxCHAR_CLASS: return *static_cast<const std::uint16_t *>(p);
    case mxINT32_CLASS: return *static_cast<const std::int32_t *>(p);
    case mxUINT32_CLASS: return *static_cast<const std::uint32_t *>(p);
    case mxINT64_CLASS: return static_cast<double>(*static_cast<const std::int64_t *>(p));
    case mxUINT64_CLASS: return static_cast<double>(*static_cast<const std::uint64_t *>(p));
    case mxLOGICAL_CLASS: return *static_cast<const std::uint8_t *>(p) ? 1.0 : 0.0;
    default: return 0.0;
    }
}

mwIndex *mxGetIr(const mxArray *a) { check(a, "mxGetIr"); return a->ir; }
mwIndex *mxGetJc(const mxArray *a) { check(a, "mxGetJc"); return a->jc; }
mwSize mxGetNzmax(const mxArray *a) { check(a, "mxGetNzmax"); return a->nzmax; }

mxArray *mxCreateNumericMatrix(mwSize m, mwSize n, mxClassID cls, mxComplexity flag) {
    if (cls < mxLOGICAL_CLASS || cls == mxVOID_CLASS) standin::fault("not a numeric class");
    if (failing()) return nullptr;
    std::size_t k = grantable(count(m, n), sizeOf(cls) * (flag == mxCOMPLEX ? 2 : 1));
    mxArray *a = make(cls, m, n, flag == mxCOMPLEX);
    a->real = storage(k, a->elementSize);
    if (a->complex) a->imag = storage(k, a->elementSize);
    return a;
}

mxArray *mxCreateDoubleMatrix(mwSize m, mwSize n, mxComplexity flag) {
    return mxCreateNumericMatrix(m, n, mxDOUBLE_CLASS, flag);
}

mxArray *mxCreateLogicalMatrix(mwSize m, mwSize n) {
    return mxCreateNumericMatrix(m, n, mxLOGICAL_CLASS, mxREAL);
}

mxArray *mxCreateString(const char *text) {
    std::size_t k = std::strlen(text);
    mxArray *a = mxCreateNumericMatrix(k == 0 ? 0 : 1, k, mxCHAR_CLASS, mxREAL);
    if (a)
        for (std::size_t i = 0; i < k; ++i)
            static_cast<std::uint16_t *>(a->real)[i] = static_cast<unsigned char>(text[i]);
    return a;
}

static mxArray *makeSparse(mwSize m, mwSize n, mwSize nzmax, mxClassID cls, bool cx) {
    if (failing()) return nullptr;
    if (n == SIZE_MAX) outOfMemory();  // no room for its n+1 column starts
    grantable(n + 1, sizeof(mwIndex));
    grantable(nzmax, sizeof(mwIndex) + sizeOf(cls) * (cx ? 2 : 1));
    mxArray *a = make(cls, m, n, cx);
    a->sparse = true;
    a->nzmax = nzmax == 0 ? 1 : nzmax;
    a->ir = static_cast<mwIndex *>(storage(a->nzmax, sizeof(mwIndex)));
    a->jc = static_cast<mwIndex *>(storage(n + 1, sizeof(mwIndex)));
    a->real = storage(a->nzmax, a->elementSize);
    if (cx) a->imag = storage(a->nzmax, a->elementSize);
    return a;
}

mxArray *mxCreateSparse(mwSize m, mwSize n, mwSize nzmax, mxComplexity flag) {
    return makeSparse(m, n, nzmax, mxDOUBLE_CLASS, flag == mxCOMPLEX);
}

mxArray *mxCreateSparseLogicalMatrix(mwSize m, mwSize n, mwSize nzmax) {
    return makeSparse(m, n, nzmax, mxLOGICAL_CLASS, false);
}

mxArray *mxCreateCellMatrix(mwSize m, mwSize n) {
    if (failing()) return nullptr;
    std::size_t k = grantable(count(m, n), sizeof(mxArray *));
    mxArray *a = make(mxCELL_CLASS, m, n, false);
    a->cells = static_cast<mxArray **>(storage(k, sizeof(mxArray *)));
    return a;
}

mxArray *mxCreateStructMatrix(mwSize m, mwSize n, int nfields, const char **) {
    if (nfields != 0) standin::fault("the stand-in host makes structs without fields only");
    if (failing()) return nullptr;
    count(m, n);  // its element count must exist, though it holds no data
    return make(mxSTRUCT_CLASS, m, n, false);
}

void mxSetCell(mxArray *cell, mwIndex i, mxArray *value) {
    check(cell, "mxSetCell");
    if (cell->cls != mxCELL_CLASS) standin::fault("mxSetCell on an array that is not a cell");
    if (i >= cell->m * cell->n) standin::fault("mxSetCell past the end of a cell");
    if (value) {
        check(value, "mxSetCell (value)");
        if (value->owner) standin::fault("mxSetCell with an array another cell holds");
        if (value == cell) standin::fault("mxSetCell of a cell into itself");
        value->owner = cell;
    }
    // The array the slot held is no longer the cell's; whoever created it
    // must free it, as the host does not.
    if (cell->cells[i]) cell->cells[i]->owner = nullptr;
    cell->cells[i] = value;
}

mxArray *mxGetCell(const mxArray *cell, mwIndex i) {
    check(cell, "mxGetCell");
    if (cell->cls != mxCELL_CLASS) standin::fault("mxGetCell on an array that is not a cell");
    if (i >= cell->m * cell->n) standin::fault("mxGetCell past the end of a cell");
    return cell->cells[i];
}

void mxDestroyArray(mxArray *a) {
    if (!a) return;
    check(a, "mxDestroyArray");
    if (a->owner) standin::fault("mxDestroyArray on an array a cell holds");
    if (inCall && !a->ofCall) standin::fault("mxDestroyArray on an array the call did not create");
    destroy(a);
}

std::size_t standinLiveArrays(void) { return live().size(); }
void standinFailCreation(std::size_t k) { failAfter = k; }
void standinLimitAllocation(std::size_t bytes) { allocationLimit = bytes; }

void standinBeginCall(void) {
    if (inCall) standin::fault("a call inside a call");
    inCall = true;
}

bool standinInCall(void) { return inCall; }

void standinSetJump(void *target) { jumpTarget = static_cast<std::jmp_buf *>(target); }

bool standinErrorsThrow(void) {
    static const bool thrown = [] {
        const char *mode = std::getenv("STANDIN_ERRORS");
        if (!mode || std::strcmp(mode, "longjmp") == 0) return false;
        if (std::strcmp(mode, "throw") == 0) return true;
        standin::fault(std::string("STANDIN_ERRORS is ") + mode + ", neither longjmp nor throw");
    }();
    return thrown;
}

void standinRaise(const char *text) {
    if (!jumpTarget) standin::fault("a call ended early with nowhere to return to");
    raisedText = text ? text : "";
    std::jmp_buf *target = jumpTarget;
    jumpTarget = nullptr;
    if (standinErrorsThrow()) throw standin::CallEnded{};
    std::longjmp(*target, 1);
}

const char *standinRaisedText(void) { return raisedText.c_str(); }

static void adopt(mxArray *a) {
    a->ofCall = false;
    if (a->cells)
        for (std::size_t i = 0; i < a->m * a->n; ++i)
            if (a->cells[i]) adopt(a->cells[i]);
}

std::size_t standinEndCall(bool ok, mxArray **plhs, std::size_t slots,
                           std::vector<std::string> *leaks) {
    inCall = false;
    if (ok)
        for (std::size_t s = 0; s < slots; ++s)
            if (plhs[s]) {
                check(plhs[s], "returning an output");
                if (plhs[s]->owner) standin::fault("an output that a cell holds");
                adopt(plhs[s]);
            }
    // What is left of the call: free each array that no cell holds, with
    // whatever it holds.
    std::vector<mxArray *> left;
    for (mxArray *a : live())
        if (a->ofCall && !a->owner) left.push_back(a);
    std::size_t before = live().size();
    for (mxArray *a : left) {
        if (ok && leaks) {
            std::ostringstream line;
            line << a->m << "-by-" << a->n << (a->sparse ? " sparse " : " ") << className(a->cls)
                 << " array created during the call was neither returned nor destroyed";
            leaks->push_back(line.str());
        }
        destroy(a);
    }
    return before - live().size();
}

}  // extern "C"
