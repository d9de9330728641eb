// Loads a plug-in file and calls its gateway as the host does: inputs in
// prhs, nlhs output slots, errors caught at the gateway and every array of a
// failed call freed.
#if defined(_WIN32)
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <csetjmp>
#include <cstdio>
#include <stdexcept>

#include "include/standin/host.h"
#include "internal.h"
#if defined(STANDIN_MACHO)
#include "macho.h"
#endif

namespace standin {

namespace {

using Gateway = void (*)(int, mxArray **, int, const mxArray **);

// Calls the gateway with a jump target set and CallEnded caught; false
// when the call ended through mexErrMsgTxt, by either way the host ends
// calls (standinRaise). Nothing here needs unwinding, so the jump back is
// sound; the exception reaches here only through the plug-in's unwind
// tables.
bool invoke(Gateway gateway, int nlhs, mxArray **plhs, int nrhs, const mxArray **prhs) {
    std::jmp_buf target;
#if defined(_WIN64)
    // With no frame given, longjmp restores the registers and does not
    // unwind the plug-in's frames by SEH.
    if (_setjmp(target, nullptr) != 0) return false;
#else
    if (setjmp(target) != 0) return false;
#endif
    standinSetJump(&target);
    try {
        gateway(nlhs, plhs, nrhs, prhs);
    } catch (const CallEnded &) {
        return false;
    }
    standinSetJump(nullptr);
    return true;
}

#if defined(_WIN32)
// Output written straight through: a crash under Windows loses whatever
// the C runtime still buffers, and the report of what failed with it.
[[maybe_unused]] const bool unbuffered = std::setvbuf(stdout, nullptr, _IONBF, 0) == 0;

std::string lastError() {
    char text[256];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             GetLastError(), 0, text, sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\n' || text[n - 1] == '\r')) --n;
    return std::string(text, n);
}

void *openFile(const std::string &path, std::string &error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) error = lastError();
    return module;
}
void *findSymbol(void *handle, const char *name) {
    return reinterpret_cast<void *>(GetProcAddress(static_cast<HMODULE>(handle), name));
}
void closeFile(void *handle) { FreeLibrary(static_cast<HMODULE>(handle)); }
#elif defined(STANDIN_MACHO)
// The plug-ins of this runner are macOS bundles, run on this machine
// through the Mach-O loader.
void *openFile(const std::string &path, std::string &error) { return machoOpen(path, error); }
void *findSymbol(void *handle, const char *name) { return machoSymbol(handle, name); }
void closeFile(void *handle) { machoClose(handle); }
#else
void *openFile(const std::string &path, std::string &error) {
    void *handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) error = dlerror();
    return handle;
}
void *findSymbol(void *handle, const char *name) { return dlsym(handle, name); }
void closeFile(void *handle) { dlclose(handle); }
#endif

}  // namespace

Plugin::Plugin(const std::string &path) {
    std::string error;
    handle_ = openFile(path, error);
    if (!handle_) throw std::runtime_error("cannot load " + path + ": " + error);
    void *symbol = findSymbol(handle_, "mexFunction");
    if (!symbol) {
        closeFile(handle_);
        throw std::runtime_error(path + " has no mexFunction");
    }
    gateway_ = reinterpret_cast<void (*)(int, mxArray **, int, const mxArray **)>(symbol);
}

Plugin::~Plugin() { closeFile(handle_); }

Outcome Plugin::call(int nlhs, const std::vector<const mxArray *> &inputs) const {
    // The host always offers slot 0, so that a result can land in `ans`.
    std::vector<mxArray *> plhs(nlhs > 0 ? nlhs : 1, nullptr);
    std::vector<const mxArray *> prhs(inputs);
    Outcome outcome;
    standinBeginCall();
    outcome.ok = invoke(gateway_, nlhs, plhs.data(), static_cast<int>(prhs.size()), prhs.data());
    if (!outcome.ok) outcome.error = standinRaisedText();
    std::size_t freed = standinEndCall(outcome.ok, plhs.data(), plhs.size(), &outcome.leaks);
    if (outcome.ok) {
        outcome.outputs = plhs;
        if (nlhs == 0 && !plhs[0]) outcome.outputs.clear();
    } else {
        outcome.reclaimed = freed;
    }
    return outcome;
}

void release(Outcome &outcome) {
    for (mxArray *a : outcome.outputs) mxDestroyArray(a);
    outcome.outputs.clear();
}

}  // namespace standin
