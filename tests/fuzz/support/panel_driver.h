// Plays user events on the panel, chosen by a source of choices (a fuzzer's
// input or a seeded generator): clicks, moves and selections on every control
// a user can reach, menu commands, tray clicks, timer ticks, typed text, and
// changes of the fake desktop (network, downloaded page, answers, focus,
// handwriting).
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "app/app.h"
#include "memory_services.h"

namespace lumiko::fuzz {

// Returns a choice from 0 to bound - 1.
using Choose = std::function<std::uint32_t(std::uint32_t bound)>;

// Text for typed fields, pages and downloads: ASCII, GBK characters of the
// tables, the version markers, blanks and line breaks, and with `raw` any
// byte. What the desktop hands over (typed text, the handwriting page's
// field) is whole GBK, converted at the edge; a downloaded page may be
// anything.
Text randomText(const Choose& choose, std::size_t maxLength, bool raw = false);

class PanelDriver {
public:
    PanelDriver(App& app, MemoryServices& desk) : app_(app), desk_(desk) {}

    // One event. `exitAllowed` lets the exit command be chosen.
    void step(const Choose& choose, bool exitAllowed = false);

    // Events played so far, by kind, for reports.
    std::uint64_t events = 0;

private:
    void controlEvent(const Choose& choose, Form& form);
    void keypadOrGrid(const Choose& choose);
    void desktopChange(const Choose& choose);
    void menuCommand(const Choose& choose, bool exitAllowed);

    App& app_;
    MemoryServices& desk_;
};

}  // namespace lumiko::fuzz
