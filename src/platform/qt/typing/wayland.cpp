#include "platform/qt/typing/wayland.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <chrono>
#include <cstring>

#include "platform/qt/typing/keymap.h"
#include "virtual-keyboard-unstable-v1-client-protocol.h"

namespace lumiko::desktop {

namespace {
using Clock = std::chrono::steady_clock;

// Slow programs may still be reading keys when typing ends (an XWayland
// program looks the keymap up only when it reads the key): the plain keymap
// comes back this long after the last key.
constexpr std::chrono::milliseconds kKeymapHold{2000};

struct Globals {
    wl_seat* seat = nullptr;
    zwp_virtual_keyboard_manager_v1* manager = nullptr;
};

void onGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t) {
    auto* g = static_cast<Globals*>(data);
    if (!g->seat && std::strcmp(interface, wl_seat_interface.name) == 0)
        g->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    else if (!g->manager && std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
        g->manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
            wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
}
void onGlobalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistry{onGlobal, onGlobalRemove};
}  // namespace

struct WaylandTypist::Impl {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    Globals globals;
    zwp_virtual_keyboard_v1* keyboard = nullptr;
    std::u32string mapped;  // the characters of the keymap uploaded last
    bool plain = false;     // the keymap uploaded last is the plain one
    Clock::time_point lastKey{};
    Clock::time_point epoch = Clock::now();

    bool alive() const { return keyboard && wl_display_get_error(display) == 0; }

    std::uint32_t now() const {
        return static_cast<std::uint32_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - epoch).count());
    }

    // Hands the compositor a keymap through a memory file; false when the
    // file cannot be made.
    bool upload(const std::u32string& chars) {
        const std::string text = keymapText(chars);
        const int fd = memfd_create("lumiko-keymap", MFD_CLOEXEC);
        if (fd < 0) return false;
        const std::size_t size = text.size() + 1;  // the NUL ends the text for the reader
        bool ok = ::ftruncate(fd, static_cast<off_t>(size)) == 0;
        if (ok) {
            void* map = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
            ok = map != MAP_FAILED;
            if (ok) {
                std::memcpy(map, text.c_str(), size);
                munmap(map, size);
            }
        }
        if (ok) {
            zwp_virtual_keyboard_v1_keymap(keyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                           static_cast<std::uint32_t>(size));
            mapped = chars;
            plain = chars.empty();
        }
        ::close(fd);
        return ok;
    }

    void key(std::uint32_t code, bool down) {
        zwp_virtual_keyboard_v1_key(keyboard, now(), code,
                                    down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
    }

    void tap(std::uint32_t code) {
        key(code, true);
        key(code, false);
    }

    // Sends what was queued and waits until the compositor has taken it, so
    // that the keys are in before the next keymap.
    void finish() {
        lastKey = Clock::now();
        wl_display_roundtrip(display);
    }
};

WaylandTypist::WaylandTypist() : d_(std::make_unique<Impl>()) {
    d_->display = wl_display_connect(nullptr);
    if (!d_->display) return;
    d_->registry = wl_display_get_registry(d_->display);
    wl_registry_add_listener(d_->registry, &kRegistry, &d_->globals);
    wl_display_roundtrip(d_->display);
    if (!d_->globals.seat || !d_->globals.manager) return;
    d_->keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(d_->globals.manager, d_->globals.seat);
    d_->upload({});
    wl_display_roundtrip(d_->display);
}

WaylandTypist::~WaylandTypist() {
    if (!d_->display) return;
    if (d_->keyboard) zwp_virtual_keyboard_v1_destroy(d_->keyboard);
    if (d_->globals.manager) zwp_virtual_keyboard_manager_v1_destroy(d_->globals.manager);
    if (d_->globals.seat) wl_seat_destroy(d_->globals.seat);
    if (d_->registry) wl_registry_destroy(d_->registry);
    wl_display_flush(d_->display);
    wl_display_disconnect(d_->display);
}

bool WaylandTypist::connected() const { return d_->display && d_->alive(); }

bool WaylandTypist::focus(std::uint64_t& target) {
    if (!connected()) return false;
    target = 1;
    return true;
}

void WaylandTypist::type(std::uint64_t target, const std::string& utf8) {
    if (target == 0 || !connected()) return;
    for (const Run& run : splitRuns(codePoints(utf8))) {
        // The keymap uploaded last serves again when it holds every
        // character of this run.
        bool reuse = !d_->plain;
        for (const char32_t cp : run.chars) reuse = reuse && d_->mapped.find(cp) != std::u32string::npos;
        if (!reuse && !d_->upload(run.chars)) return;
        for (const char32_t cp : run.text)
            d_->tap(static_cast<std::uint32_t>(keys::kFirstChar + d_->mapped.find(cp)));
        d_->finish();
    }
}

void WaylandTypist::press(Key key) {
    if (!connected()) return;
    switch (key) {
    case Key::Backspace: d_->tap(keys::kBackspace); break;
    case Key::Space: d_->tap(keys::kSpace); break;
    case Key::Enter: d_->tap(keys::kEnter); break;
    case Key::CtrlV:
        d_->key(keys::kCtrl, true);
        zwp_virtual_keyboard_v1_modifiers(d_->keyboard, kControlMask, 0, 0, 0);
        d_->tap(keys::kV);
        d_->key(keys::kCtrl, false);
        zwp_virtual_keyboard_v1_modifiers(d_->keyboard, 0, 0, 0, 0);
        break;
    }
    d_->finish();
}

bool WaylandTypist::rest() {
    if (!connected() || d_->plain) return false;
    if (Clock::now() - d_->lastKey < kKeymapHold) return true;
    d_->upload({});
    wl_display_flush(d_->display);
    return false;
}

bool waylandOffersVirtualKeyboard() {
    wl_display* display = wl_display_connect(nullptr);
    if (!display) return false;
    Globals g;
    wl_registry* registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &kRegistry, &g);
    wl_display_roundtrip(display);
    const bool offered = g.manager != nullptr;
    if (g.manager) zwp_virtual_keyboard_manager_v1_destroy(g.manager);
    if (g.seat) wl_seat_destroy(g.seat);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return offered;
}

}  // namespace lumiko::desktop
