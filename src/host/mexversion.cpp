// The extra export of the 32-bit Linux builds: the host asks it which
// interface the plug-in was built for.
#include "mexapi.h"

extern "C" KERNELS_GATEWAY const char *mexVersion(void) { return "MATLAB R14 native"; }
