// first_paint.cpp: preloaded into a program under test, it reports the moment
// the window is first mapped and the moment its first picture is sent to the X
// server, so start-up is timed from outside without a hook in the game.
//
// It stands in for the xcb calls that map a window and put pixels on it, notes
// the monotonic clock on the first of each, writes "map NS" or "paint NS" to
// the descriptor named by YOPO_BENCH_REPORT_FD, and hands the call on.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

// xcb hands back a request's sequence number in a one-field struct.
struct VoidCookie {
    unsigned int sequence;
};

std::int64_t nowNanoseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void report(const char* what, bool& reported) {
    if (reported) {
        return;
    }
    reported = true;
    const char* fd = std::getenv("YOPO_BENCH_REPORT_FD");
    if (fd == nullptr) {
        return;
    }
    char line[64];
    const int length = std::snprintf(line, sizeof line, "%s %lld\n", what,
                                     static_cast<long long>(nowNanoseconds()));
    if (length > 0 && write(std::atoi(fd), line, static_cast<size_t>(length)) < 0) {
        std::perror("first_paint: report");
    }
}

bool g_mapped = false;
bool g_painted = false;

// The real function, looked up in the library that defines it: the xcb
// libraries come in with Qt's platform plugin, outside the global scope
// where RTLD_NEXT would look.
template <typename Function>
Function real(const char* library, const char* name) {
    void* handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    if (handle == nullptr) {
        handle = dlopen(library, RTLD_LAZY);
    }
    void* symbol = handle != nullptr ? dlsym(handle, name) : nullptr;
    if (symbol == nullptr) {
        std::fprintf(stderr, "first_paint: cannot find %s in %s\n", name, library);
        std::abort();
    }
    return reinterpret_cast<Function>(symbol);
}

} // namespace

extern "C" {

VoidCookie xcb_map_window(void* connection, std::uint32_t window) {
    using Function = VoidCookie (*)(void*, std::uint32_t);
    static const auto next = real<Function>("libxcb.so.1", "xcb_map_window");
    const VoidCookie cookie = next(connection, window);
    report("map", g_mapped);
    return cookie;
}

VoidCookie xcb_shm_put_image(void* connection, std::uint32_t drawable, std::uint32_t gc,
                             std::uint16_t totalWidth, std::uint16_t totalHeight,
                             std::uint16_t srcX, std::uint16_t srcY, std::uint16_t srcWidth,
                             std::uint16_t srcHeight, std::int16_t dstX, std::int16_t dstY,
                             std::uint8_t depth, std::uint8_t format, std::uint8_t sendEvent,
                             std::uint32_t segment, std::uint32_t offset) {
    using Function = VoidCookie (*)(void*, std::uint32_t, std::uint32_t, std::uint16_t,
                                    std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t,
                                    std::uint16_t, std::int16_t, std::int16_t, std::uint8_t,
                                    std::uint8_t, std::uint8_t, std::uint32_t, std::uint32_t);
    static const auto next = real<Function>("libxcb-shm.so.0", "xcb_shm_put_image");
    const VoidCookie cookie =
        next(connection, drawable, gc, totalWidth, totalHeight, srcX, srcY, srcWidth, srcHeight,
             dstX, dstY, depth, format, sendEvent, segment, offset);
    if (g_mapped) {
        report("paint", g_painted);
    }
    return cookie;
}

VoidCookie xcb_put_image(void* connection, std::uint8_t format, std::uint32_t drawable,
                         std::uint32_t gc, std::uint16_t width, std::uint16_t height,
                         std::int16_t dstX, std::int16_t dstY, std::uint8_t leftPad,
                         std::uint8_t depth, std::uint32_t dataLength, const std::uint8_t* data) {
    using Function = VoidCookie (*)(void*, std::uint8_t, std::uint32_t, std::uint32_t,
                                    std::uint16_t, std::uint16_t, std::int16_t, std::int16_t,
                                    std::uint8_t, std::uint8_t, std::uint32_t, const std::uint8_t*);
    static const auto next = real<Function>("libxcb.so.1", "xcb_put_image");
    const VoidCookie cookie = next(connection, format, drawable, gc, width, height, dstX, dstY,
                                   leftPad, depth, dataLength, data);
    if (g_mapped) {
        report("paint", g_painted);
    }
    return cookie;
}

VoidCookie xcb_copy_area(void* connection, std::uint32_t source, std::uint32_t destination,
                         std::uint32_t gc, std::int16_t srcX, std::int16_t srcY, std::int16_t dstX,
                         std::int16_t dstY, std::uint16_t width, std::uint16_t height) {
    using Function =
        VoidCookie (*)(void*, std::uint32_t, std::uint32_t, std::uint32_t, std::int16_t,
                       std::int16_t, std::int16_t, std::int16_t, std::uint16_t, std::uint16_t);
    static const auto next = real<Function>("libxcb.so.1", "xcb_copy_area");
    const VoidCookie cookie =
        next(connection, source, destination, gc, srcX, srcY, dstX, dstY, width, height);
    if (g_mapped) {
        report("paint", g_painted);
    }
    return cookie;
}

} // extern "C"
