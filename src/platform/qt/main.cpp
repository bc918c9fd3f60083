// lumiko: the input panel on the Linux desktop (X11).
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <QPixmapCache>
#include <QSocketNotifier>

#include "app/commandline.h"
#include "platform/posix/encoding.h"
#include "platform/posix/onepanel.h"
#include "platform/posix/files.h"

#include "platform/qt/desktop.h"
#include "platform/qt/panelpainter.h"
#include "platform/shell.h"


// Last: Xlib's macros (Bool, None, Status) would clash with Qt's headers.
#include <X11/Xlib.h>

namespace {

// The answers that need no display: help, version, a wrong argument.
// Returns the exit status, or -1 when the panel is to start, with the zoom
// asked for (0 when none was).
int answerCommandLine(int argc, char** argv, int& zoom) {
    const std::string program = argc > 0 && argv[0][0] ? argv[0] : "lumiko";
    const lumiko::CommandLine line = lumiko::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (line.action) {
        case lumiko::CommandLine::Action::Help:
            std::fputs(lumiko::posix::gbkToUtf8(lumiko::usageText(program)).c_str(), stdout);
            return 0;
        case lumiko::CommandLine::Action::Version:
            std::fputs(lumiko::versionText().c_str(), stdout);
            return 0;
        case lumiko::CommandLine::Action::Error:
            std::fprintf(stderr, "%s: %s (see %s --help)\n", program.c_str(), line.error.c_str(), program.c_str());
            return 2;
        case lumiko::CommandLine::Action::Run:
            break;
    }
    if (!line.zoom.empty() && (zoom = lumiko::PanelShell::parseZoom(line.zoom)) == 0) {
        std::fprintf(stderr, "%s: --zoom %s: not a whole percent from 50 to 400 (see %s --help)\n", program.c_str(),
                     line.zoom.c_str(), program.c_str());
        return 2;
    }
    return -1;
}

// The panel types through X11: without a display it cannot start, and says
// so in one line instead of letting the toolkit abort.
bool displayUsable() {
    if (qEnvironmentVariable("QT_QPA_PLATFORM") != "xcb") return true;  // a platform chosen by the user
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XCloseDisplay(display);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int zoom = 0;
    if (const int status = answerCommandLine(argc, argv, zoom); status >= 0) return status;
    // The panel types through X11; under a Wayland session it runs on
    // XWayland.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    if (!displayUsable()) {
        const char* name = std::getenv("DISPLAY");
        if (name && *name)
            std::fprintf(stderr, "lumiko: cannot open the X display \"%s\" (the panel needs an X11 or XWayland session)\n",
                         name);
        else
            std::fputs("lumiko: no X display (DISPLAY is not set); the panel needs an X11 or XWayland session\n", stderr);
        return 1;
    }
    // One panel per session: a second start shows the first and ends.
    lumiko::posix::OnePanel onePanel;
    std::string problem;
    switch (onePanel.claim(problem)) {
        case lumiko::posix::OnePanel::Claim::ShownOther:
            if (!problem.empty()) std::fprintf(stderr, "lumiko: the panel runs already; %s\n", problem.c_str());
            return 0;
        case lumiko::posix::OnePanel::Claim::Unchecked:
            std::fprintf(stderr, "lumiko: %s (starting without checking for a running panel)\n", problem.c_str());
            break;
        case lumiko::posix::OnePanel::Claim::Ours:
            break;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName("lumiko");
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(lumiko::desktop::panelFont(lumiko::desktop::kSansFamily, 12));
    // No pixmap cache: the panel draws its own pictures, and a cached icon
    // would wake the idle panel to flush the cache half a minute later.
    QPixmapCache::setCacheLimit(0);

    // The handwriting page's private folder goes with the program, also
    // when it is ended by a signal.
    lumiko::posix::removePrivateFilesOnSignals();
    lumiko::desktop::Desktop desktop(zoom);
    desktop.start();
    std::unique_ptr<QSocketNotifier> showRequests;
    if (onePanel.requestFd() >= 0) {
        showRequests = std::make_unique<QSocketNotifier>(onePanel.requestFd(), QSocketNotifier::Read);
        QObject::connect(showRequests.get(), &QSocketNotifier::activated, &desktop, [&] {
            if (onePanel.takeRequests()) desktop.showRequested();
        });
    }
    return QApplication::exec();
}
