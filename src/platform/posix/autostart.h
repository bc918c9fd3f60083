// Starting the panel with the desktop session on Linux, by the XDG autostart
// rules: the session starts the programs of the desktop entries in
// $XDG_CONFIG_HOME/autostart (~/.config/autostart) and in the autostart
// folders of $XDG_CONFIG_DIRS (/etc/xdg), a user's entry hiding a system
// one of the same name; an entry with Hidden=true (or GNOME's
// X-GNOME-Autostart-enabled=false) starts nothing.
#pragma once

#include <string>

#include "platform/services.h"

namespace lumiko::posix {

// An argument of a desktop entry's Exec key, quoted where the Desktop Entry
// rules ask for it (reserved characters, '%' written as "%%") and escaped as
// a string value; false when it cannot be written as one (not UTF-8, or a
// control character).
bool desktopExecArgument(const std::string& argument, std::string& value);

// The entry that starts `program` (a native, absolute path in UTF-8) with the
// session, or empty when its path cannot be written in an Exec key.
std::string autostartEntry(const std::string& program);

// True when an entry's text leaves the session starting it (not hidden, not
// disabled for GNOME).
bool autostartEntryEnabled(const std::string& entry);

// The panel's entry, lumiko.desktop, in the user's autostart folder.
class XdgSessionStart : public SessionStart {
public:
    // `program`: what the entry starts; empty for the running program.
    explicit XdgSessionStart(std::string program = {});

    bool startsWithSession() override;
    bool setStartsWithSession(bool on, Text& problem) override;

    // The user's entry (native path) as the environment names it now.
    static std::string userEntryPath();

private:
    std::string program_;
};

}  // namespace lumiko::posix
