// lumiko: the input panel on the Linux desktop (X11).
#include <unistd.h>

#include <QApplication>

#include "platform/qt/desktop.h"
#include "platform/qt/padscheme.h"
#include "platform/qt/panelpainter.h"

int main(int argc, char** argv) {
    // The panel types through X11; under a Wayland session it runs on
    // XWayland.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    // The browser engine's sandbox cannot run as root; it is switched off
    // only then.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    lumiko::desktop::registerPadScheme();

    QApplication application(argc, argv);
    QApplication::setApplicationName("lumiko");
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setFont(lumiko::desktop::panelFont(lumiko::desktop::kSansFamily, 12));

    lumiko::desktop::Desktop desktop;
    desktop.start();
    return QApplication::exec();
}
