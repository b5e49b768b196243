// Preloaded into a program under X: ends the process at once, with status 0, when it first sends
// an image to the X server. A Qt window's first frame on screen is the first flush of its backing
// store, which is such an image, so the time to the end of the process is the time to the first
// frame, and the peak memory at the end is the peak memory at that moment.

#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

// With FIRST_FRAME_SMAPS set to a file name, the process's memory map with the resident pages of
// each mapping is copied there first, to see where the memory goes.
[[noreturn]] void firstFrame() {
    if (const char* copy = std::getenv("FIRST_FRAME_SMAPS")) {
        const int from = open("/proc/self/smaps", O_RDONLY);
        const int to = open(copy, O_WRONLY | O_CREAT | O_TRUNC, 0644);
        char buffer[65536];
        ssize_t got = 0;
        while (from >= 0 && to >= 0 && (got = read(from, buffer, sizeof buffer)) > 0) {
            if (write(to, buffer, std::size_t(got)) != got) {
                break;
            }
        }
    }
    _exit(0);
}

} // namespace

// libxcb's requests that send an image, as its headers declare them; only the names matter, since
// none of them returns.
extern "C" {

struct xcb_connection_t;
struct xcb_void_cookie_t {
    unsigned int sequence;
};

xcb_void_cookie_t xcb_put_image(xcb_connection_t*, std::uint8_t, std::uint32_t, std::uint32_t,
                                std::uint16_t, std::uint16_t, std::int16_t, std::int16_t,
                                std::uint8_t, std::uint8_t, std::uint32_t, const std::uint8_t*) {
    firstFrame();
}

xcb_void_cookie_t xcb_put_image_checked(xcb_connection_t*, std::uint8_t, std::uint32_t,
                                        std::uint32_t, std::uint16_t, std::uint16_t, std::int16_t,
                                        std::int16_t, std::uint8_t, std::uint8_t, std::uint32_t,
                                        const std::uint8_t*) {
    firstFrame();
}

xcb_void_cookie_t xcb_shm_put_image(xcb_connection_t*, std::uint32_t, std::uint32_t, std::uint16_t,
                                    std::uint16_t, std::uint16_t, std::uint16_t, std::uint16_t,
                                    std::uint16_t, std::int16_t, std::int16_t, std::uint8_t,
                                    std::uint8_t, std::uint8_t, std::uint32_t, std::uint32_t) {
    firstFrame();
}

xcb_void_cookie_t xcb_shm_put_image_checked(xcb_connection_t*, std::uint32_t, std::uint32_t,
                                            std::uint16_t, std::uint16_t, std::uint16_t,
                                            std::uint16_t, std::uint16_t, std::uint16_t,
                                            std::int16_t, std::int16_t, std::uint8_t, std::uint8_t,
                                            std::uint8_t, std::uint32_t, std::uint32_t) {
    firstFrame();
}

} // extern "C"
