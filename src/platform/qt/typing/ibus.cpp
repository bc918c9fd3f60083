#include "platform/qt/typing/ibus.h"

#include <gio/gio.h>

#include "platform/qt/typing/engine.h"

namespace lumiko::desktop {

// The proxy follows the engine's name and keeps its Focused property
// current from the bus's signals, which Qt's GLib event loop delivers, so
// the timer's focus query costs no round trip.
struct IBusTypist::Impl {
    GDBusProxy* proxy = nullptr;

    // Calls are queued in order and not waited for.
    void call(const char* method, const char* arg) {
        if (!proxy) return;
        g_dbus_proxy_call(proxy, method, g_variant_new("(s)", arg), G_DBUS_CALL_FLAGS_NO_AUTO_START, 2000,
                          nullptr, nullptr, nullptr);
    }
};

IBusTypist::IBusTypist() : d_(std::make_unique<Impl>()) {
    GError* error = nullptr;
    d_->proxy = g_dbus_proxy_new_for_bus_sync(G_BUS_TYPE_SESSION, G_DBUS_PROXY_FLAGS_DO_NOT_AUTO_START, nullptr,
                                              ibus::kBusName, ibus::kObjectPath, ibus::kInterface, nullptr, &error);
    if (error) {
        g_warning("lumiko: no session bus for the input source: %s", error->message);
        g_error_free(error);
    }
}

IBusTypist::~IBusTypist() {
    if (d_->proxy) g_object_unref(d_->proxy);
}

bool IBusTypist::canReach() {
    if (!d_->proxy) return false;
    gchar* owner = g_dbus_proxy_get_name_owner(d_->proxy);
    const bool running = owner != nullptr;
    g_free(owner);
    return running;
}

bool IBusTypist::focus(std::uint64_t& target) {
    if (!canReach()) return false;
    GVariant* focused = g_dbus_proxy_get_cached_property(d_->proxy, "Focused");
    const bool yes = focused && g_variant_is_of_type(focused, G_VARIANT_TYPE_BOOLEAN) && g_variant_get_boolean(focused);
    if (focused) g_variant_unref(focused);
    if (yes) target = 1;
    return yes;
}

void IBusTypist::type(std::uint64_t target, const std::string& utf8) {
    if (target != 0 && !utf8.empty()) d_->call("Type", utf8.c_str());
}

void IBusTypist::press(Key key) {
    switch (key) {
    case Key::Backspace: d_->call("Press", ibus::kBackspace); break;
    case Key::Space: d_->call("Press", ibus::kSpace); break;
    case Key::Enter: d_->call("Press", ibus::kEnter); break;
    case Key::CtrlV:
        if (!clipboard_.empty()) d_->call("Type", clipboard_.c_str());
        break;
    }
}

}  // namespace lumiko::desktop
