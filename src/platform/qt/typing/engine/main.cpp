// lumiko-ibus-engine: the Lumiko input source. IBus starts it when the user
// has chosen Lumiko among the input sources; it lets every real keystroke
// through unchanged and commits, into the application that has the focus,
// the text the Lumiko panel hands it over the session bus.
#include <ibus.h>

#include <cstring>

#include "platform/qt/typing/engine.h"

namespace {

namespace names = lumiko::ibus;

// The engine instance whose input context has the focus, if any; IBus makes
// one instance per input context.
IBusEngine* focused = nullptr;
GDBusConnection* session = nullptr;

void announceFocus() {
    if (!session) return;
    GVariantBuilder changed;
    g_variant_builder_init(&changed, G_VARIANT_TYPE("a{sv}"));
    g_variant_builder_add(&changed, "{sv}", "Focused", g_variant_new_boolean(focused != nullptr));
    g_dbus_connection_emit_signal(session, nullptr, names::kObjectPath, "org.freedesktop.DBus.Properties",
                                  "PropertiesChanged",
                                  g_variant_new("(sa{sv}as)", names::kInterface, &changed, nullptr), nullptr);
}

void setFocused(IBusEngine* engine) {
    if (focused == engine) return;
    focused = engine;
    announceFocus();
}

void loseFocus(IBusEngine* engine) {
    if (focused == engine) setFocused(nullptr);
}

// A key press and release forwarded to the application: IBus key values and
// Linux key codes.
void forward(guint keyval, guint keycode) {
    ibus_engine_forward_key_event(focused, keyval, keycode, 0);
    ibus_engine_forward_key_event(focused, keyval, keycode, IBUS_RELEASE_MASK);
}

void commit(const char* text) { ibus_engine_commit_text(focused, ibus_text_new_from_string(text)); }

// The editing keys, as key presses: the application does with them what it
// does with the user's own (Enter activates a one-line field, a terminal
// gets its control characters). No key with a modifier comes here: GNOME
// Shell 43 forwards a key without the modifiers' state, so the panel's
// Ctrl+V is a commit of the clipboard's text (ibus.h).
struct EditingKey {
    const char* name;
    guint keyval, keycode;
};
constexpr EditingKey kEditingKeys[] = {
    {names::kBackspace, IBUS_KEY_BackSpace, 14},
    {names::kSpace, IBUS_KEY_space, 57},
    {names::kEnter, IBUS_KEY_Return, 28},
};

void press(const char* key) {
    if (!focused) return;
    for (const EditingKey& k : kEditingKeys)
        if (std::strcmp(key, k.name) == 0) forward(k.keyval, k.keycode);
}

}  // namespace

// The engine class: IBus creates an instance per input context.
struct LumikoEngine {
    IBusEngine parent;
};
struct LumikoEngineClass {
    IBusEngineClass parent;
};
G_DEFINE_TYPE(LumikoEngine, lumiko_engine, IBUS_TYPE_ENGINE)

static void lumiko_engine_init(LumikoEngine*) {}

// Every key the user types goes on to the application unchanged: the engine
// takes none (FALSE), and the application handles the key as without an
// input method.
static gboolean processKey(IBusEngine*, guint, guint, guint) { return FALSE; }
static void focusIn(IBusEngine* engine) { setFocused(engine); }
static void focusOut(IBusEngine* engine) { loseFocus(engine); }
static void disable(IBusEngine* engine) { loseFocus(engine); }
static void destroy(IBusObject* object) {
    loseFocus(IBUS_ENGINE(object));
    IBUS_OBJECT_CLASS(lumiko_engine_parent_class)->destroy(object);
}

static void lumiko_engine_class_init(LumikoEngineClass* klass) {
    IBusEngineClass* engine = IBUS_ENGINE_CLASS(klass);
    engine->process_key_event = processKey;
    engine->focus_in = focusIn;
    engine->focus_out = focusOut;
    engine->disable = disable;
    IBUS_OBJECT_CLASS(klass)->destroy = destroy;
}

namespace {

void onCall(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* method, GVariant* args,
            GDBusMethodInvocation* invocation, gpointer) {
    const gchar* text = nullptr;
    g_variant_get(args, "(&s)", &text);
    if (std::strcmp(method, "Type") == 0) {
        if (focused && text && *text) commit(text);
    } else if (std::strcmp(method, "Press") == 0) {
        press(text);
    }
    g_dbus_method_invocation_return_value(invocation, nullptr);
}

GVariant* onGetProperty(GDBusConnection*, const gchar*, const gchar*, const gchar*, const gchar* property,
                        GError** error, gpointer) {
    if (std::strcmp(property, "Focused") == 0) return g_variant_new_boolean(focused != nullptr);
    g_set_error(error, G_DBUS_ERROR, G_DBUS_ERROR_UNKNOWN_PROPERTY, "no property %s", property);
    return nullptr;
}

const GDBusInterfaceVTable kVTable{onCall, onGetProperty, nullptr, {}};

void onBusAcquired(GDBusConnection* connection, const gchar*, gpointer) {
    GDBusNodeInfo* node = g_dbus_node_info_new_for_xml(names::kIntrospection, nullptr);
    GError* error = nullptr;
    g_dbus_connection_register_object(connection, names::kObjectPath, node->interfaces[0], &kVTable, nullptr,
                                      nullptr, &error);
    if (error) {
        g_printerr("lumiko-ibus-engine: %s\n", error->message);
        g_error_free(error);
    }
    g_dbus_node_info_unref(node);
    session = connection;
}

void onNameLost(GDBusConnection*, const gchar* name, gpointer) {
    g_printerr("lumiko-ibus-engine: the session bus name %s is taken or the bus is gone\n", name);
}

void onDisconnected(IBusBus*, gpointer) { ibus_quit(); }

}  // namespace

int main(int argc, char** argv) {
    ibus_init();
    IBusBus* bus = ibus_bus_new();
    if (!ibus_bus_is_connected(bus)) {
        g_printerr("lumiko-ibus-engine: IBus is not running\n");
        return 1;
    }
    g_signal_connect(bus, "disconnected", G_CALLBACK(onDisconnected), nullptr);

    IBusFactory* factory = ibus_factory_new(ibus_bus_get_connection(bus));
    ibus_factory_add_engine(factory, "lumiko", lumiko_engine_get_type());
    // Started by IBus from the component file, the program owns the
    // component's name; started by hand it describes itself.
    if (argc > 1 && std::strcmp(argv[1], "--ibus") == 0) {
        ibus_bus_request_name(bus, "org.lumiko.IBus.Lumiko", 0);
    } else {
        IBusComponent* component =
            ibus_component_new("org.lumiko.IBus.Lumiko", "Lumiko", "1.0", "", "Lumiko", "", "", "lumiko");
        ibus_component_add_engine(component, ibus_engine_desc_new("lumiko", "Lumiko", "Lumiko", "zh", "", "Lumiko",
                                                                  "", "us"));
        ibus_bus_register_component(bus, component);
    }

    g_bus_own_name(G_BUS_TYPE_SESSION, names::kBusName,
                   static_cast<GBusNameOwnerFlags>(G_BUS_NAME_OWNER_FLAGS_ALLOW_REPLACEMENT |
                                                   G_BUS_NAME_OWNER_FLAGS_REPLACE),
                   onBusAcquired, nullptr, onNameLost, nullptr, nullptr);
    ibus_main();
    return 0;
}
