// Shared between the stand-in's libraries and its plug-in runner.
#ifndef STANDIN_INTERNAL_H
#define STANDIN_INTERNAL_H

#include <string>
#include <vector>

#include "include/standin/mx.h"

namespace standin {

// Reports a misuse of the host by a plug-in and aborts the process.
[[noreturn]] void fault(const std::string &what);

// What standinRaise throws when calls end by an exception; the runner
// catches it around the gateway. The text is kept by the host, not in the
// exception: the plug-in's frames are gone by the time it is caught.
struct CallEnded {};

}  // namespace standin

extern "C" {
// Ending a call early. The runner sets a jump target around the gateway
// and catches CallEnded there; standinRaise keeps a copy of the text and
// ends the call in the mode standinErrorsThrow reports:
//  - by default it jumps to the target, across the plug-in's frames,
//    without unwinding them (the kernels hold nothing that needs a
//    destructor); a jump needs no unwind tables of the plug-in;
//  - with STANDIN_ERRORS=throw it throws CallEnded through the plug-in's
//    frames, as a host that ends calls by a C++ exception does. The
//    unwinder of the stand-in's own C++ runtime then walks frames of a
//    plug-in that has a C++ runtime of its own or none, so every function
//    of the plug-in needs unwind tables: .eh_frame (on 32-bit Windows
//    registered with the unwinder the host's modules share), or
//    .pdata/.xdata on 64-bit Windows.
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
