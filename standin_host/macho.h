// Loading a macOS plug-in bundle into this Linux process of the same
// processor (x86-64 or arm64), so that its machine code runs against the
// stand-in host: both systems call functions the same way for the calls a
// plug-in makes (on arm64 but for returned bools, which the loader widens).
// Only what the linker makes of a plug-in is understood; anything else is
// refused with a reason.
#ifndef STANDIN_MACHO_H
#define STANDIN_MACHO_H

#include <string>

namespace standin {

// Maps the bundle at path, applies its rebases and binds every import from
// the library its two-level ordinal names: @rpath/libX.dylib is the
// stand-in's libX.so (found as dlopen finds it), and the system C library
// is this process's own for the few calls a plug-in makes. Returns nullptr
// and sets error when the file cannot be loaded.
void *machoOpen(const std::string &path, std::string &error);

// The address of an exported symbol (C name, without the leading
// underscore), or nullptr.
void *machoSymbol(void *image, const char *name);

void machoClose(void *image);

}  // namespace standin

#endif
