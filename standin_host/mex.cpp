// libmex of the stand-in host: the error call.
#include "internal.h"

extern "C" void mexErrMsgTxt(const char *text) {
    if (!standinInCall()) standin::fault("mexErrMsgTxt outside a call");
    // Ends the call: the runner catches this at the gateway, frees what the
    // call created and hands the text to the caller.
    throw standin::Raised{text ? text : ""};
}
