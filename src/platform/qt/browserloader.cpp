// Loads the browser module: from the program's folder (the build, `make
// run`), else from where the package installs it.
#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>

#include "platform/posix/layout.h"
#include "platform/qt/browserplugin.h"

// The engine draws through an OpenGL context shared with the application's.
// Qt makes one at start-up when asked (Qt::AA_ShareOpenGLContexts), which
// would bring the OpenGL libraries into every session; it is made here
// instead, before the engine is loaded, which is what the engine looks for.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
Q_GUI_EXPORT QOpenGLContext* qt_gl_global_share_context();
QT_END_NAMESPACE

namespace lumiko::desktop {

constexpr const char* kModule = "liblumiko-browser.so";

PanelBrowser* loadBrowser(QWidget* parent, QString& problem) {
    if (!qt_gl_global_share_context()) {
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
