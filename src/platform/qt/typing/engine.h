// The D-Bus face of the Lumiko input source (the IBus engine program): the
// names both sides use. The engine owns the name on the session bus while
// it runs; the panel hands it text and keys there.
#pragma once

namespace lumiko::ibus {

constexpr const char* kBusName = "org.lumiko.Engine";
constexpr const char* kObjectPath = "/org/lumiko/Engine";
constexpr const char* kInterface = "org.lumiko.Engine";

// Focused (read-only property, b): an application's text field has the
// keyboard focus while Lumiko is the current input source.
// Type(s text): commits the text there, whole.
// Press(s key): one of the key names below, pressed and released there.
constexpr const char* kIntrospection =
    "<node>"
    " <interface name='org.lumiko.Engine'>"
    "  <property name='Focused' type='b' access='read'/>"
    "  <method name='Type'><arg name='text' type='s' direction='in'/></method>"
    "  <method name='Press'><arg name='key' type='s' direction='in'/></method>"
    " </interface>"
    "</node>";

constexpr const char* kBackspace = "BackSpace";
constexpr const char* kSpace = "space";
constexpr const char* kEnter = "Return";

}  // namespace lumiko::ibus
