// lumiko-test-fakeinput: pointer and keyboard for KWin, through its fake
// input interface (org_kde_kwin_fake_input, which KWin offers only to a
// program whose desktop entry lists it in X-KDE-Wayland-Interfaces), driven
// from standard input like lumiko-test-pointer: "move X Y" (layout pixels),
// "down", "up", "click", "dblclick", "rclick", and "key CODE", "keydown
// CODE", "keyup CODE" (Linux key codes). Each command is answered "done".
// Usage: lumiko-test-fakeinput
#include <wayland-client.h>

#include <cstdio>
#include <cstring>

#include "commands.h"
#include "fake-input-client-protocol.h"

namespace {
org_kde_kwin_fake_input* fake = nullptr;

void onGlobal(void*, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
    if (!fake && std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        fake = static_cast<org_kde_kwin_fake_input*>(
            wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4));
}
void onGlobalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistry{onGlobal, onGlobalRemove};
}  // namespace

int main() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "lumiko-test-fakeinput: no Wayland display\n");
        return 1;
    }
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistry, nullptr);
    wl_display_roundtrip(display);
    if (!fake) {
        std::fprintf(stderr, "lumiko-test-fakeinput: the compositor offers no fake input (version 4) to this program\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(fake, "Lumiko tests", "clicks the panel in the end-to-end test");
    wl_display_roundtrip(display);
    lumiko::e2e::InputDevice device;
    device.move = [](int x, int y) {
        org_kde_kwin_fake_input_pointer_motion_absolute(fake, wl_fixed_from_int(x), wl_fixed_from_int(y));
    };
    device.button = [](std::uint32_t which, bool down) {
        org_kde_kwin_fake_input_button(fake, which, down ? WL_POINTER_BUTTON_STATE_PRESSED : WL_POINTER_BUTTON_STATE_RELEASED);
    };
    device.key = [](std::uint32_t code, bool down) {
        org_kde_kwin_fake_input_keyboard_key(fake, code, down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    };
    lumiko::e2e::runCommands(display, device);
    org_kde_kwin_fake_input_destroy(fake);
    wl_display_roundtrip(display);
    wl_display_disconnect(display);
    return 0;
}
