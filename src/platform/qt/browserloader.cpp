// Loads the browser module: from the program's folder (the build, `make
// run`), else from where the package installs it.
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>

#include "platform/posix/layout.h"
#include "platform/qt/browserplugin.h"

// The engine needs an OpenGL context shared with the application's (it ends
// with a crash without one, even when it draws in software; one that could
// not be created, as when the panel runs without OpenGL, will do). Qt makes one at
// start-up when asked (Qt::AA_ShareOpenGLContexts), which would bring the
// OpenGL libraries into every session; it is made here instead, before the
// engine is loaded, which is what the engine looks for.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
Q_GUI_EXPORT QOpenGLContext* qt_gl_global_share_context();
QT_END_NAMESPACE

namespace lumiko::desktop {

constexpr const char* kModule = "liblumiko-browser.so";

namespace {

// The engine's switches for one small local page in one view: one renderer
// process and no spare one, the engine's low-memory settings, scripts run
// without the optimising compiler (the page's are small), no disk cache, no
// background networking or services (the page loads nothing from the
// network), and no GPU: the page is a few boxes and text, which the engine
// and Qt Quick draw in software. What the user put into
// QTWEBENGINE_CHROMIUM_FLAGS comes after them and wins, and a Qt Quick
// backend the user chose is kept.
constexpr const char* kEngineSwitches =
    "--renderer-process-limit=1 --enable-low-end-device-mode --js-flags=--lite-mode --disk-cache-size=1 "
    "--disable-background-networking --disable-component-update --disable-sync --disable-breakpad "
    "--disable-features=BackForwardCache,SpareRendererForSitePerProcess,Translate,MediaRouter --disable-gpu";

void setEngineSwitches() {
    QByteArray flags = kEngineSwitches;
    if (const QByteArray own = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"); !own.isEmpty()) flags += ' ' + own;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
}

}  // namespace

PanelBrowser* loadBrowser(QWidget* parent, QString& problem) {
    if (!qt_gl_global_share_context()) {
        setEngineSwitches();  // read once, when the engine starts
        auto* context = new QOpenGLContext(QCoreApplication::instance());
        context->create();
        qt_gl_set_global_share_context(context);
    }
    // Never unloaded: the view and the engine stay until the program ends.
    const std::string dir = QCoreApplication::applicationDirPath().toStdString();
    QString path = QString::fromStdString(dir + "/" + kModule);
    if (!QFileInfo::exists(path)) path = QString::fromStdString(posix::installedModuleFolder(dir) + "/" + kModule);
    QLibrary module(path);
    auto make = reinterpret_cast<decltype(&lumikoMakeBrowser)>(module.resolve("lumikoMakeBrowser"));
    if (!make) {
        problem = module.errorString();
        return nullptr;
    }
    return make(parent);
}

}  // namespace lumiko::desktop
