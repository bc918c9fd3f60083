// lumiko: the input panel on the Linux desktop (X11).
#include <unistd.h>

#include <QApplication>
#include <cstdio>
#include <string_view>

#include "platform/qt/desktop.h"
#include "platform/qt/panelpainter.h"
#include "platform/shell.h"

namespace {

// --zoom PERCENT (or --zoom=PERCENT): the panel's zoom for this run. Other
// arguments are left to Qt. Returns false, having said why, when the value
// is missing or wrong.
bool zoomOption(int argc, char** argv, int& zoom) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        std::string_view value;
        if (arg == "--zoom") {
            if (i + 1 >= argc) {
                std::fputs("lumiko: --zoom needs a percent, e.g. --zoom 150\n", stderr);
                return false;
            }
            value = argv[++i];
        } else if (arg.starts_with("--zoom=")) {
            value = arg.substr(7);
        } else {
            continue;
        }
        zoom = lumiko::PanelShell::parseZoom(value);
        if (zoom == 0) {
            std::fprintf(stderr, "lumiko: --zoom %.*s: not a whole percent between 50 and 400\n",
                         static_cast<int>(value.size()), value.data());
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    int zoom = 0;
    if (!zoomOption(argc, argv, zoom)) return 2;
    // The panel types through X11; under a Wayland session it runs on
    // XWayland.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    // The browser engine's sandbox cannot run as root; it is switched off
    // only then.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);

    QApplication application(argc, argv);
    QApplication::setApplicationName("lumiko");
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(lumiko::desktop::panelFont(lumiko::desktop::kSansFamily, 12));

    lumiko::desktop::Desktop desktop(zoom);
    desktop.start();
    return QApplication::exec();
}
