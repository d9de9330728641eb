// Shared between the stand-in's libraries and its plug-in runner.
#ifndef STANDIN_INTERNAL_H
#define STANDIN_INTERNAL_H

#include <string>
#include <vector>

#include "include/standin/mx.h"

namespace standin {

// Reports a misuse of the host by a plug-in and aborts the process.
[[noreturn]] void fault(const std::string &what);

}  // namespace standin

extern "C" {
// Ending a call early. The runner sets a jump target around the gateway;
// standinRaise keeps a copy of the text and jumps there, across the
// plug-in's frames, without unwinding them (the kernels hold nothing that
// needs a destructor). A jump works the same in every build of the host:
// it needs no unwind tables of the plug-in, registered or not, and no C++
// runtime shared across module boundaries.
void standinSetJump(void *target);  // a std::jmp_buf, or nullptr
[[noreturn]] void standinRaise(const char *text);
const char *standinRaisedText(void);

// Opens a call: arrays created from now on belong to it.
void standinBeginCall(void);
bool standinInCall(void);
// Closes the call. On success the arrays reachable from the first `slots`
// entries of plhs become the caller's, and any other array the call created
// and left alive is described in `leaks` and freed. On failure every array
// the call created is freed. Returns how many arrays were freed.
std::size_t standinEndCall(bool ok, mxArray **plhs, std::size_t slots,
                           std::vector<std::string> *leaks);
}

#endif
