// libmat of the stand-in host. Plug-ins link it without calling it; it only
// has to exist, with the host's file-access entry points answering "no file".
#include <cstdio>

extern "C" {
typedef struct MATFile_tag MATFile;
MATFile *matOpen(const char *, const char *) { return nullptr; }
int matClose(MATFile *) { return EOF; }
}
