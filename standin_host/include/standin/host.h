// Loading a plug-in file and calling its gateway the way the host does.
#ifndef STANDIN_HOST_H
#define STANDIN_HOST_H

#include <string>
#include <vector>

#include "mx.h"

namespace standin {

// What one call left behind.
struct Outcome {
    bool ok = false;
    // The text the plug-in raised through mexErrMsgTxt (empty on success).
    std::string error;
    // The arrays returned in plhs, one per requested output (nullptr where
    // a slot was left unset); slot 0 also when nlhs is 0 and the plug-in set
    // it. They belong to the caller, who destroys them.
    std::vector<mxArray *> outputs;
    // One line per array the call created and neither returned nor
    // destroyed (the host frees them).
    std::vector<std::string> leaks;
    // Arrays the host freed because the call failed.
    std::size_t reclaimed = 0;
};

class Plugin {
public:
    // Loads the file (with dlopen, LoadLibrary on Windows, or as a macOS
    // bundle through the Mach-O loader in a runner built for those) and
    // finds mexFunction; throws std::runtime_error when either fails.
    explicit Plugin(const std::string &path);
    ~Plugin();
    Plugin(const Plugin &) = delete;
    Plugin &operator=(const Plugin &) = delete;

    Outcome call(int nlhs, const std::vector<const mxArray *> &inputs) const;

private:
    void *handle_;
    void (*gateway_)(int, mxArray **, int, const mxArray **);
};

// Frees every output of an outcome.
void release(Outcome &outcome);

}  // namespace standin

#endif
