// A small Mach-O loader for the plug-in bundles the macOS build makes: maps
// the segments, applies the rebases, binds every import (lazy ones too, at
// once) and finds exports through the export trie. What such a bundle does
// not contain (initialisers, thread-local data, weak or flat-namespace
// binding, chained fixups) is refused rather than half supported.
#include "macho.h"

#include <dlfcn.h>
#include <sys/mman.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

#include "internal.h"

namespace standin {

namespace {

// The parts of the file format read here.
struct Header {
    std::uint32_t magic, cputype, cpusubtype, filetype, ncmds, sizeofcmds, flags, reserved;
};
struct Command {
    std::uint32_t cmd, cmdsize;
};
struct Segment {
    std::uint32_t cmd, cmdsize;
    char segname[16];
    std::uint64_t vmaddr, vmsize, fileoff, filesize;
    std::int32_t maxprot, initprot;
    std::uint32_t nsects, flags;
};
struct Section {
    char sectname[16], segname[16];
    std::uint64_t addr, size;
    std::uint32_t offset, align, reloff, nreloc, flags, reserved1, reserved2, reserved3;
};
struct DyldInfo {
    std::uint32_t cmd, cmdsize, rebaseOff, rebaseSize, bindOff, bindSize, weakBindOff, weakBindSize,
        lazyBindOff, lazyBindSize, exportOff, exportSize;
};
struct DylibCommand {
    std::uint32_t cmd, cmdsize, nameOffset, timestamp, currentVersion, compatibilityVersion;
};

constexpr std::uint32_t kMagic64 = 0xfeedfacf, kBundle = 8, kTwoLevel = 0x80;
// Bundles of this process's own processor only.
#if defined(__x86_64__)
constexpr std::uint32_t kCpu = 0x01000007;
constexpr const char *kCpuName = "x86-64";
#elif defined(__aarch64__)
constexpr std::uint32_t kCpu = 0x0100000c;
constexpr const char *kCpuName = "arm64";
#else
#error "no Mach-O processor for this build"
#endif
constexpr std::uint32_t kSegment64 = 0x19, kLoadDylib = 0xc, kDyldInfo = 0x22,
                        kDyldInfoOnly = 0x80000022;
// Load commands that would change how imports resolve.
constexpr std::uint32_t kRefusedCommands[] = {
    0x80000018 /* weak dylib */, 0x8000001f /* re-exported dylib */, 0x80000023 /* upward dylib */,
    0x20 /* lazily loaded dylib */, 0x80000034 /* chained fixups */};
constexpr std::uint64_t kPage = 4096;

[[noreturn]] void refuse(const std::string &why) { throw std::runtime_error(why); }

// The C library a plug-in may call, under its macOS names: memcpy and sqrt,
// and what the compiler calls on its own (zero fill, named bzero on arm64;
// the stack protector).
// The lazy-binding helper is never reached: every import is bound at load.
std::uintptr_t stackGuard = 0x00e3a5c2f1d4b697u;

void zeroFill(void *p, std::size_t n) { std::memset(p, 0, n); }
[[noreturn]] void stackSmashed() { fault("a plug-in overwrote its stack (stack protector)"); }
[[noreturn]] void lazyBinder() { fault("a plug-in asked for lazy binding"); }

void *systemSymbol(const std::string &name) {
    struct Entry {
        const char *name;
        void *address;
    };
    static const Entry table[] = {
        {"_memcpy", reinterpret_cast<void *>(&std::memcpy)},
        {"_sqrt", reinterpret_cast<void *>(static_cast<double (*)(double)>(&std::sqrt))},
        {"___bzero", reinterpret_cast<void *>(&zeroFill)},
        {"_bzero", reinterpret_cast<void *>(&zeroFill)},
        {"___stack_chk_guard", &stackGuard},
        {"___stack_chk_fail", reinterpret_cast<void *>(&stackSmashed)},
        {"dyld_stub_binder", reinterpret_cast<void *>(&lazyBinder)},
    };
    for (const Entry &e : table)
        if (name == e.name) return e.address;
    return nullptr;
}

#if defined(__aarch64__)
// Apple's arm64 convention differs from Linux's for a returned bool: the
// callee widens it to 32 bits and the caller tests the whole register
// (cbz w0), where Linux leaves bits 8-31 unspecified. The host's predicates
// (mxIs*) are bound through thunks that return the stand-in's answer widened.
// Arguments need nothing: the host's calls take pointers and sizes, which
// both conventions pass alike.
using Predicate = bool (*)(const void *);
constexpr std::size_t kPredicates = 32;
Predicate predicateTargets[kPredicates];

template <std::size_t K>
std::uint32_t widened(const void *a) {
    return predicateTargets[K](a) ? 1 : 0;
}
template <std::size_t... K>
constexpr std::array<std::uint32_t (*)(const void *), sizeof...(K)> makeThunks(
    std::index_sequence<K...>) {
    return {&widened<K>...};
}
constexpr auto predicateThunks = makeThunks(std::make_index_sequence<kPredicates>());

void *widenedPredicate(void *target) {
    std::size_t k = 0;
    while (k < kPredicates && predicateTargets[k] && predicateTargets[k] != target) ++k;
    if (k == kPredicates) refuse("more host predicates than thunks");
    predicateTargets[k] = reinterpret_cast<Predicate>(target);
    return reinterpret_cast<void *>(predicateThunks[k]);
}
#endif

// A library the bundle loads: a stand-in library, or the C library.
struct Library {
    std::string installName;
    void *handle = nullptr;  // nullptr: the system C library

    // The host's libraries are @rpath/libX.dylib; the stand-in's are libX.so.
    explicit Library(const std::string &name) : installName(name) {
        if (name == "/usr/lib/libSystem.B.dylib") return;
        const std::string prefix = "@rpath/", suffix = ".dylib";
        if (name.compare(0, prefix.size() + 3, prefix + "lib") != 0 ||
            name.size() <= prefix.size() + 3 + suffix.size() ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            refuse("loads " + name + ", neither a host library by @rpath nor the C library");
        const std::string file =
            name.substr(prefix.size(), name.size() - prefix.size() - suffix.size()) + ".so";
        handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) refuse("cannot open " + file + " for " + name + ": " + dlerror());
    }

    // The address an import of this library is bound to.
    void *symbol(const std::string &name) const {
        void *address = lookup(name);
#if defined(__aarch64__)
        if (address && handle && name.compare(0, 5, "_mxIs") == 0)
            return widenedPredicate(address);
#endif
        return address;
    }

  private:
    // The stand-in's libmx defines the large-array calls under their plain
    // names at version v7.3, where the host on macOS names them X_730.
    void *lookup(const std::string &name) const {
        if (!handle) return systemSymbol(name);
        if (name.size() < 2 || name[0] != '_') return nullptr;
        std::string c = name.substr(1);
        const std::string large = "_730";
        if (c.size() > large.size() && c.compare(c.size() - large.size(), large.size(), large) == 0)
            return dlvsym(handle, c.substr(0, c.size() - large.size()).c_str(), "v7.3");
        if (dlvsym(handle, c.c_str(), "v7.3"))
            refuse(name + " is bound by its small-array name; the host has it as " + name + large);
        return dlsym(handle, c.c_str());
    }
};

struct Image {
    unsigned char *base = nullptr;  // where the lowest segment is mapped
    std::size_t size = 0;
    std::uint64_t low = 0;     // its address in the file
    std::uint64_t header = 0;  // the address of the Mach-O header
    std::vector<Segment> segments;
    std::vector<std::unique_ptr<Library>> libraries;
    std::vector<unsigned char> exports;

    ~Image() {
        if (base) munmap(base, size);
        for (auto &l : libraries)
            if (l->handle) dlclose(l->handle);
    }

    // The mapped address of a pointer-sized slot, from a segment index and
    // an offset into that segment.
    std::uint64_t *slot(std::uint64_t segment, std::uint64_t offset) const {
        if (segment >= segments.size()) refuse("fix-up in segment " + std::to_string(segment));
        const Segment &s = segments[segment];
        if (offset > s.vmsize || s.vmsize - offset < 8) refuse("fix-up outside its segment");
        return reinterpret_cast<std::uint64_t *>(base + (s.vmaddr + offset - low));
    }
};

// Reads the opcode streams and the trie, with every read in bounds.
struct Stream {
    const unsigned char *p, *end;

    unsigned char byte() {
        if (p >= end) refuse("truncated fix-up or export data");
        return *p++;
    }
    std::uint64_t uleb() {
        std::uint64_t v = 0;
        for (unsigned shift = 0;; shift += 7) {
            const unsigned char b = byte();
            if (shift < 64) v |= std::uint64_t(b & 0x7f) << shift;
            if (!(b & 0x80)) return v;
        }
    }
    std::int64_t sleb() {
        std::uint64_t v = 0;
        unsigned shift = 0;
        unsigned char b;
        do {
            b = byte();
            if (shift < 64) v |= std::uint64_t(b & 0x7f) << shift;
            shift += 7;
        } while (b & 0x80);
        if (shift < 64 && (b & 0x40)) v |= ~std::uint64_t(0) << shift;
        return static_cast<std::int64_t>(v);
    }
    const char *string() {
        const char *s = reinterpret_cast<const char *>(p);
        while (byte() != 0) {
        }
        return s;
    }
};

void rebase(Image &image, Stream in) {
    const std::uint64_t slide = reinterpret_cast<std::uint64_t>(image.base) - image.low;
    std::uint64_t segment = 0, offset = 0;
    unsigned type = 0;
    auto apply = [&](std::uint64_t count, std::uint64_t step) {
        for (std::uint64_t k = 0; k < count; ++k) {
            if (type != 1) refuse("rebase of type " + std::to_string(type));
            *image.slot(segment, offset) += slide;
            offset += 8 + step;
        }
    };
    // Opcode in the high nibble, immediate in the low one: done, set type,
    // set segment and offset, add to the offset (ULEB, scaled immediate),
    // rebase (immediate or ULEB times, once and add, ULEB times with a skip).
    while (in.p < in.end) {
        const unsigned char b = in.byte();
        const unsigned imm = b & 0x0f;
        switch (b & 0xf0) {
        case 0x00: return;
        case 0x10: type = imm; break;
        case 0x20:
            segment = imm;
            offset = in.uleb();
            break;
        case 0x30: offset += in.uleb(); break;
        case 0x40: offset += imm * 8; break;
        case 0x50: apply(imm, 0); break;
        case 0x60: apply(in.uleb(), 0); break;
        case 0x70: apply(1, in.uleb()); break;
        case 0x80: {
            const std::uint64_t count = in.uleb();
            apply(count, in.uleb());
            break;
        }
        default: refuse("unknown rebase opcode");
        }
    }
}

// Binds the imports of one stream; the lazy stream is a run of entries, each
// ended by a DONE opcode.
void bindImports(Image &image, Stream in, bool lazy) {
    std::uint64_t ordinal = 0, segment = 0, offset = 0;
    std::int64_t addend = 0;
    unsigned type = 1;
    const char *name = nullptr;
    auto apply = [&](std::uint64_t count, std::uint64_t step) {
        for (std::uint64_t k = 0; k < count; ++k) {
            if (!name) refuse("bind without a symbol");
            if (type != 1)
                refuse(std::string("bind of ") + name + " of type " + std::to_string(type));
            if (ordinal < 1 || ordinal > image.libraries.size())
                refuse(std::string(name) + " bound without a library (ordinal " +
                       std::to_string(ordinal) + ")");
            const Library &library = *image.libraries[ordinal - 1];
            void *address = library.symbol(name);
            if (!address) refuse(std::string(name) + " is not in " + library.installName);
            *image.slot(segment, offset) = reinterpret_cast<std::uint64_t>(address) + addend;
            offset += 8 + step;
        }
    };
    // Opcodes: done, library ordinal (immediate, ULEB, special), symbol name
    // and flags, type, addend, segment and offset, add to the offset, bind
    // (once, and add ULEB, and add scaled immediate, ULEB times with a skip).
    while (in.p < in.end) {
        const unsigned char b = in.byte();
        const unsigned imm = b & 0x0f;
        switch (b & 0xf0) {
        case 0x00:
            if (!lazy) return;
            break;
        case 0x10: ordinal = imm; break;
        case 0x20: ordinal = in.uleb(); break;
        case 0x30: refuse("flat-namespace or self binding");
        case 0x40:
            if (imm & 1) refuse("weak import");
            name = in.string();
            break;
        case 0x50: type = imm; break;
        case 0x60: addend = in.sleb(); break;
        case 0x70:
            segment = imm;
            offset = in.uleb();
            break;
        case 0x80: offset += in.uleb(); break;
        case 0x90: apply(1, 0); break;
        case 0xa0: apply(1, in.uleb()); break;
        case 0xb0: apply(1, imm * 8); break;
        case 0xc0: {
            const std::uint64_t count = in.uleb();
            apply(count, in.uleb());
            break;
        }
        default: refuse("unknown bind opcode");
        }
    }
}

template <class T>
T readAt(const std::vector<unsigned char> &file, std::uint64_t offset) {
    if (offset > file.size() || file.size() - offset < sizeof(T)) refuse("truncated file");
    T value;
    std::memcpy(&value, file.data() + offset, sizeof(T));
    return value;
}

Stream streamOf(const std::vector<unsigned char> &file, std::uint32_t offset, std::uint32_t size) {
    if (offset > file.size() || file.size() - offset < size) refuse("fix-up data outside the file");
    return Stream{file.data() + offset, file.data() + offset + size};
}

std::unique_ptr<Image> load(const std::string &path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) refuse("cannot read the file");
    const std::vector<unsigned char> file((std::istreambuf_iterator<char>(stream)),
                                          std::istreambuf_iterator<char>());
    const Header h = readAt<Header>(file, 0);
    if (h.magic != kMagic64 || h.cputype != kCpu)
        refuse(std::string("not a Mach-O file for ") + kCpuName);
    if (h.filetype != kBundle) refuse("not a bundle");
    if (!(h.flags & kTwoLevel)) refuse("not linked for the two-level namespace");

    auto image = std::make_unique<Image>();
    DyldInfo info{};
    bool haveInfo = false;
    std::uint64_t at = sizeof(Header);
    for (std::uint32_t i = 0; i < h.ncmds; ++i) {
        const Command c = readAt<Command>(file, at);
        if (c.cmdsize < sizeof(Command) || at + c.cmdsize > sizeof(Header) + h.sizeofcmds)
            refuse("malformed load command");
        for (std::uint32_t refused : kRefusedCommands)
            if (c.cmd == refused)
                refuse("load command " + std::to_string(c.cmd) + " is not supported");
        if (c.cmd == kSegment64) {
            const Segment s = readAt<Segment>(file, at);
            for (std::uint32_t k = 0; k < s.nsects; ++k) {
                const Section sec =
                    readAt<Section>(file, at + sizeof(Segment) + k * sizeof(Section));
                const std::uint32_t kind = sec.flags & 0xff;
                if (kind == 0x9 || kind == 0xa || (kind >= 0x11 && kind <= 0x15))
                    refuse("has initialisers, finalisers or thread-local data");
            }
            image->segments.push_back(s);
        } else if (c.cmd == kDyldInfo || c.cmd == kDyldInfoOnly) {
            info = readAt<DyldInfo>(file, at);
            haveInfo = true;
        } else if (c.cmd == kLoadDylib) {
            const DylibCommand d = readAt<DylibCommand>(file, at);
            if (d.nameOffset >= c.cmdsize) refuse("malformed library name");
            const char *name = reinterpret_cast<const char *>(file.data() + at + d.nameOffset);
            image->libraries.push_back(std::make_unique<Library>(
                std::string(name, strnlen(name, c.cmdsize - d.nameOffset))));
        }
        at += c.cmdsize;
    }
    if (!haveInfo) refuse("no dyld information");
    if (info.weakBindSize != 0) refuse("has weak definitions to bind");

    // One anonymous mapping for all segments, filled from the file, then
    // given each segment's protection once the fix-ups are written.
    std::uint64_t low = ~std::uint64_t(0), high = 0;
    bool haveHeader = false;
    for (const Segment &s : image->segments) {
        if (s.vmsize == 0) continue;
        if (s.vmaddr % kPage != 0) refuse("segment not page-aligned");
        if (s.filesize > s.vmsize || s.fileoff > file.size() ||
            file.size() - s.fileoff < s.filesize)
            refuse("segment outside the file");
        low = std::min(low, s.vmaddr);
        high = std::max(high, s.vmaddr + s.vmsize);
        if (s.fileoff == 0 && s.filesize > 0) {
            image->header = s.vmaddr;
            haveHeader = true;
        }
    }
    if (!haveHeader) refuse("no segment maps the header");
    image->low = low;
    image->size = (high - low + kPage - 1) / kPage * kPage;
    void *base =
        mmap(nullptr, image->size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (base == MAP_FAILED) refuse("cannot map the segments");
    image->base = static_cast<unsigned char *>(base);
    for (const Segment &s : image->segments)
        if (s.filesize > 0)
            std::memcpy(image->base + (s.vmaddr - low), file.data() + s.fileoff, s.filesize);

    rebase(*image, streamOf(file, info.rebaseOff, info.rebaseSize));
    bindImports(*image, streamOf(file, info.bindOff, info.bindSize), false);
    bindImports(*image, streamOf(file, info.lazyBindOff, info.lazyBindSize), true);
    const Stream trie = streamOf(file, info.exportOff, info.exportSize);
    image->exports.assign(trie.p, trie.end);

    // Mach-O and mmap use the same bits for read, write and execute. The
    // code was written as data: processors whose instruction cache does not
    // follow stores (arm64) must drop what they hold of it.
    for (const Segment &s : image->segments) {
        if (s.vmsize == 0) continue;
        const std::uint64_t length = (s.vmsize + kPage - 1) / kPage * kPage;
        char *start = reinterpret_cast<char *>(image->base + (s.vmaddr - low));
        if (s.initprot & 4) __builtin___clear_cache(start, start + length);
        if (mprotect(start, length, s.initprot & 7) != 0)
            refuse("cannot protect segment " + std::string(s.segname, strnlen(s.segname, 16)));
    }
    return image;
}

}  // namespace

void *machoOpen(const std::string &path, std::string &error) {
    try {
        return load(path).release();
    } catch (const std::runtime_error &e) {
        error = e.what();
        return nullptr;
    }
}

void *machoSymbol(void *handle, const char *name) {
    const Image &image = *static_cast<Image *>(handle);
    const std::string wanted = std::string("_") + name;
    const unsigned char *start = image.exports.data();
    Stream in{start, start + image.exports.size()};
    std::size_t matched = 0;
    try {
        // Each node: the size of its terminal information (flags, address),
        // that information, then its edges (a label and the child's offset).
        for (;;) {
            const std::uint64_t terminal = in.uleb();
            if (matched == wanted.size()) {
                if (terminal == 0) return nullptr;
                const std::uint64_t flags = in.uleb();
                if (flags != 0) return nullptr;  // only plain exported addresses
                return image.base + (image.header - image.low) + in.uleb();
            }
            if (terminal > static_cast<std::uint64_t>(in.end - in.p)) return nullptr;
            in.p += terminal;
            const unsigned edges = in.byte();
            std::uint64_t next = 0;
            bool found = false;
            for (unsigned k = 0; k < edges && !found; ++k) {
                const std::string label = in.string();
                const std::uint64_t child = in.uleb();
                if (wanted.compare(matched, label.size(), label) == 0) {
                    matched += label.size();
                    next = child;
                    found = true;
                }
            }
            if (!found || next >= image.exports.size()) return nullptr;
            in.p = start + next;
        }
    } catch (const std::runtime_error &) {
        return nullptr;
    }
}

void machoClose(void *handle) { delete static_cast<Image *>(handle); }

}  // namespace standin
