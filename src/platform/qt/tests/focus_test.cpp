// The focus the panel types into, as X11Input keeps it between the server's
// events, against what the server says after each way the focus can move;
// and the word that the focus may have moved, on which the panel's resting
// timer starts again.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/qt/x11input.h"

// Last: Xlib defines macros (None, Bool) that other headers use as names.
#include <X11/Xlib.h>

namespace lumiko::desktop {
namespace {

// A virtual X server of the test's own, on a display number it picks.
class OwnDisplay {
public:
    OwnDisplay() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0", "320x240x24",
                   static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // The number, then a line break, perhaps in two writes.
        std::string number;
        char c = 0;
        while (pid_ > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
        close(fds[0]);
        if (c == '\n' && !number.empty()) name_ = ":" + number;
    }
    ~OwnDisplay() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    const std::string& name() const { return name_; }

private:
    pid_t pid_ = -1;
    std::string name_;
};

Window makeWindow(Display* d, Window parent) {
    const Window w = XCreateSimpleWindow(d, parent, 0, 0, 50, 50, 0, 0, 0);
    XMapWindow(d, w);
    return w;
}

TEST(FocusTracking, FollowsEveryWayTheFocusMoves) {
    OwnDisplay server;
    if (server.name().empty()) GTEST_SKIP() << "no Xvfb to run the test on";
    ::setenv("DISPLAY", server.name().c_str(), 1);
    Display* d = XOpenDisplay(server.name().c_str());
    ASSERT_NE(d, nullptr);
    X11Input input;
    ASSERT_TRUE(input.connected());

    const Window root = DefaultRootWindow(d);
    const Window a = makeWindow(d, root), b = makeWindow(d, root);
    const Window inner = makeWindow(d, b);
    XSync(d, False);

    // What the panel would record: a window, or 0 for none.
    auto recorded = [&] {
        std::uint64_t w = 0;
        return input.focusedWindow(w) ? w : 0;
    };
    auto truth = [&]() -> std::uint64_t {
        Window f = None;
        int revert = 0;
        XGetInputFocus(d, &f, &revert);
        return f == None || f == PointerRoot ? 0 : f;
    };

    struct Step {
        const char* what;
        std::function<void()> move;
    };
    const Step steps[] = {
        {"to a window", [&] { XSetInputFocus(d, a, RevertToParent, CurrentTime); }},
        {"to another window", [&] { XSetInputFocus(d, b, RevertToParent, CurrentTime); }},
        {"into an inner window", [&] { XSetInputFocus(d, inner, RevertToParent, CurrentTime); }},
        {"out to its parent", [&] { XSetInputFocus(d, b, RevertToParent, CurrentTime); }},
        {"to nowhere", [&] { XSetInputFocus(d, None, RevertToNone, CurrentTime); }},
        {"following the pointer", [&] { XSetInputFocus(d, PointerRoot, RevertToNone, CurrentTime); }},
        {"back to a window", [&] { XSetInputFocus(d, a, RevertToParent, CurrentTime); }},
        {"to the root when the window is unmapped", [&] { XUnmapWindow(d, a); }},
        {"to a window again", [&] { XSetInputFocus(d, inner, RevertToPointerRoot, CurrentTime); }},
        {"away when the window is destroyed", [&] { XDestroyWindow(d, inner); }},
        {"to the root itself", [&] { XSetInputFocus(d, root, RevertToNone, CurrentTime); }},
        {"from the root to a window", [&] { XSetInputFocus(d, b, RevertToParent, CurrentTime); }},
    };
    // The server's word reaches the panel's own connection a moment later.
    auto within5s = [](const std::function<bool()>& done) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return done();
    };
    for (const Step& step : steps) {
        ASSERT_EQ(recorded(), truth()) << "before moving the focus " << step.what;
        EXPECT_TRUE(input.settled()) << "before moving the focus " << step.what;
        step.move();
        XSync(d, False);
        EXPECT_TRUE(within5s([&] { return !input.settled(); })) << "no word that the focus moved " << step.what;
        const std::uint64_t expected = truth();
        EXPECT_TRUE(within5s([&] { return recorded() == expected; })) << "the focus moved " << step.what;
    }
    XCloseDisplay(d);
}

}  // namespace
}  // namespace lumiko::desktop
