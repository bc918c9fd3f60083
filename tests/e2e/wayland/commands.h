// The command loop the end-to-end tests' Wayland input helpers share: one
// command a line on standard input, "move X Y" (layout pixels), "down",
// "up" (the left button), "click", "dblclick", "rclick", and where the
// device has keys "key CODE", "keydown CODE", "keyup CODE" (Linux key
// codes); each is answered "done" once the compositor has it. "ready" is
// written first.
#pragma once

#include <wayland-client.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

namespace lumiko::e2e {

constexpr std::uint32_t kLeftButton = 0x110, kRightButton = 0x111;  // BTN_LEFT, BTN_RIGHT

struct InputDevice {
    std::function<void(int x, int y)> move;
    std::function<void(std::uint32_t button, bool down)> button;
    std::function<void(std::uint32_t code, bool down)> key;  // empty: no keys
};

inline void runCommands(wl_display* display, const InputDevice& device) {
    std::puts("ready");
    std::fflush(stdout);
    auto pause = [] { std::this_thread::sleep_for(std::chrono::milliseconds(60)); };
    std::string line;
    while (std::getline(std::cin, line)) {
        std::istringstream in(line);
        std::string command;
        in >> command;
        if (command == "move") {
            int x = 0, y = 0;
            in >> x >> y;
            device.move(x, y);
        } else if (command == "down" || command == "up") {
            device.button(kLeftButton, command == "down");
        } else if (command == "click" || command == "dblclick" || command == "rclick") {
            const std::uint32_t which = command == "rclick" ? kRightButton : kLeftButton;
            for (int i = command == "dblclick" ? 2 : 1; i > 0; --i) {
                device.button(which, true);
                wl_display_flush(display);
                pause();
                device.button(which, false);
                wl_display_flush(display);
                if (i > 1) pause();
            }
        } else if (device.key && (command == "key" || command == "keydown" || command == "keyup")) {
            std::uint32_t code = 0;
            in >> code;
            if (command != "keyup") device.key(code, true);
            if (command == "key") {
                wl_display_flush(display);
                pause();
            }
            if (command != "keydown") device.key(code, false);
        }
        wl_display_roundtrip(display);
        std::puts("done");
        std::fflush(stdout);
    }
}

}  // namespace lumiko::e2e
