// libmex of the stand-in host: the error call.
#include "internal.h"

extern "C" void mexErrMsgTxt(const char *text) {
    if (!standinInCall()) standin::fault("mexErrMsgTxt outside a call");
    // Ends the call: back to the runner's jump target at the gateway, which
    // frees what the call created and hands the text to the caller.
    standinRaise(text);
}
