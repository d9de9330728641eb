// Loads a plug-in and prints what its mexVersion returns, or "none" when it
// exports no mexVersion. Built for the plug-in's own platform, so the check
// calls the very code a host would call.
#include <dlfcn.h>

#include <cstdio>

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mexversion PLUGIN\n");
        return 2;
    }
    void *handle = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        std::fprintf(stderr, "%s\n", dlerror());
        return 1;
    }
    void *symbol = dlsym(handle, "mexVersion");
    if (!symbol) {
        std::puts("none");
        return 0;
    }
    const char *text = reinterpret_cast<const char *(*)(void)>(symbol)();
    std::puts(text ? text : "(null)");
    return 0;
}
