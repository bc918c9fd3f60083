// lumiko-test-pointer: a virtual pointer for a wlroots compositor, driven
// from standard input, for the end-to-end tests: "move X Y" (layout
// pixels), "down", "up", "click", "dblclick", "rclick" (the right button).
// While it runs the seat has a pointer, so that XWayland and the other
// clients get pointer events.
// Usage: lumiko-test-pointer WIDTH HEIGHT
#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "commands.h"
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"

namespace {
wl_seat* seat = nullptr;
zwlr_virtual_pointer_manager_v1* manager = nullptr;

void onGlobal(void*, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    if (!seat && std::strcmp(interface, wl_seat_interface.name) == 0)
        seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (!manager && std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = static_cast<zwlr_virtual_pointer_manager_v1*>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
}
void onGlobalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistry{onGlobal, onGlobalRemove};

std::uint32_t now() {
    static const auto start = std::chrono::steady_clock::now();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    const auto width = static_cast<std::uint32_t>(std::stoul(argv[1]));
    const auto height = static_cast<std::uint32_t>(std::stoul(argv[2]));
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "lumiko-test-pointer: no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistry, nullptr);
    wl_display_roundtrip(display);
    if (!manager) {
        std::fprintf(stderr, "lumiko-test-pointer: the compositor offers no virtual pointer\n");
        return 1;
    }
    zwlr_virtual_pointer_v1* pointer = zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    wl_display_roundtrip(display);
    lumiko::e2e::InputDevice device;
    device.move = [&](int x, int y) {
        zwlr_virtual_pointer_v1_motion_absolute(pointer, now(), static_cast<std::uint32_t>(x),
                                                static_cast<std::uint32_t>(y), width, height);
        zwlr_virtual_pointer_v1_frame(pointer);
    };
    device.button = [&](std::uint32_t which, bool down) {
        zwlr_virtual_pointer_v1_button(pointer, now(), which,
                                       down ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
        zwlr_virtual_pointer_v1_frame(pointer);
    };
    lumiko::e2e::runCommands(display, device);
    zwlr_virtual_pointer_v1_destroy(pointer);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
