// lumiko-page: the handwriting page's process. The panel starts it when the
// page is first shown, with its page area's window (--into WINDOW), and ends
// it by closing its standard input when the view goes. It draws the page's
// view inside that window, answers the pad's requests, and passes the
// panel's scripts to the page and the page's reports to the panel
// (pagewire.h); what the view may load and open is decided here, by the
// handwriting page's rules.
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QApplication>
#include <QOpenGLContext>
#include <QSocketNotifier>
#include <QWindow>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <string>

#include "platform/posix/encoding.h"
#include "platform/qt/browser.h"
#include "platform/qt/padscheme.h"
#include "platform/qt/pagewire.h"
#include "web/handwriting.h"

// The engine needs an OpenGL context shared with the application's (it ends
// with a crash without one, even when it draws in software; one that could
// not be created, as when Qt runs without OpenGL, will do). Qt makes one at
// start-up when asked (Qt::AA_ShareOpenGLContexts), which brings the OpenGL
// libraries in; it is made here instead, before the engine starts, which is
// what the engine looks for.
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);
QT_END_NAMESPACE

namespace lumiko::desktop {
namespace {

// The engine's switches for one small local page in one view: one renderer
// process and no spare one, no second (unsandboxed) zygote process, which
// only GPU and utility processes would come from, the engine's low-memory
// settings, scripts run
// without the optimising compiler (the page's are small), no disk cache, no
// background networking or services (the page loads nothing from the
// network), and no GPU: the page is a few boxes and text, which the engine
// and Qt Quick draw in software. What the user put into
// QTWEBENGINE_CHROMIUM_FLAGS comes after them and wins, and a Qt Quick
// backend the user chose is kept.
constexpr const char* kEngineSwitches =
    "--renderer-process-limit=1 --no-unsandboxed-zygote --enable-low-end-device-mode --js-flags=--lite-mode --disk-cache-size=1 "
    "--disable-background-networking --disable-component-update --disable-sync --disable-breakpad "
    "--disable-features=BackForwardCache,SpareRendererForSitePerProcess,Translate,MediaRouter --disable-gpu";

void setEngineSwitches() {
    QByteArray flags = kEngineSwitches;
    if (const QByteArray own = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS"); !own.isEmpty()) flags += ' ' + own;
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags);
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND")) qputenv("QT_QUICK_BACKEND", "software");
}

// A file's address as its path (the place in the page dropped), any other as
// it is written.
Text gbkAddress(const QUrl& url) {
    return posix::utf8ToGbk((url.isLocalFile() ? url.toLocalFile() : url.toString()).toStdString());
}

// The panel's end of the conversation: what was standard input and output,
// moved where neither the engine's processes nor anything printing can reach.
int fromPanel = -1, toPanel = -1;

bool takeConversation() {
    fromPanel = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 3);
    toPanel = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
    const int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    const bool ok = fromPanel >= 0 && toPanel >= 0 && nothing >= 0 && ::dup2(nothing, STDIN_FILENO) == STDIN_FILENO &&
                    ::dup2(STDERR_FILENO, STDOUT_FILENO) == STDOUT_FILENO;
    if (nothing >= 0) ::close(nothing);
    return ok;
}

void tell(const pagewire::Message& message) {
    const std::string line = pagewire::encode(message);
    size_t done = 0;
    while (done < line.size()) {
        const ssize_t n = ::write(toPanel, line.data() + done, line.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            QCoreApplication::exit(1);  // the panel is gone
            return;
        }
        done += static_cast<size_t>(n);
    }
}

// One message of the panel.
void obey(const pagewire::Message& m, BrowserView& view, QUrl& page) {
    const auto arg = [&m](size_t i) { return QString::fromStdString(m.size() > i ? m[i] : std::string()); };
    if (m[0] == "url") {
        page = QUrl(arg(1));
        view.setUrl(page);
    } else if (m[0] == "reload") {
        view.reload();
    } else if (m[0] == "run") {
        view.runScript(arg(1));
    } else if (m[0] == "zoom") {
        bool ok = false;
        const double factor = arg(1).toDouble(&ok);
        if (ok && factor >= 0.25 && factor <= 5) view.setZoom(factor);
    } else if (m[0] == "size") {
        bool wide = false, high = false;
        const int width = arg(1).toInt(&wide), height = arg(2).toInt(&high);
        if (wide && high && width >= 0 && height >= 0) view.setGeometry(0, 0, width, height);
    } else if (m[0] == "visible") {
        view.setVisible(arg(1) == "1");
    }
}

}  // namespace
}  // namespace lumiko::desktop

int main(int argc, char** argv) {
    using namespace lumiko::desktop;
    // The page goes with the panel, however the panel ends.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    unsigned long into = 0;
    if (argc == 3 && std::string(argv[1]) == "--into") into = std::strtoul(argv[2], nullptr, 10);
    if (into == 0) {
        std::fputs("lumiko-page: the handwriting page's process of the Lumiko panel, which starts it\n"
                   "usage: lumiko-page --into WINDOW\n",
                   stderr);
        return 2;
    }
    // The engine's sandbox cannot run as root; it is switched off only then.
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Nothing here needs OpenGL: the page is drawn in software. Without this,
    // merely asking whether OpenGL can be used from threads, as the engine
    // does, brings the OpenGL driver (a software one on many machines, with
    // its compiler, some 35 MB) into the process. A choice the user made for
    // Qt Quick or the OpenGL integration is kept.
    const bool noOpenGl = !qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION") &&
                          qEnvironmentVariable("QT_QUICK_BACKEND", "software") == "software";
    if (noOpenGl) qputenv("QT_XCB_GL_INTEGRATION", "none");
    if (!takeConversation()) {
        std::perror("lumiko-page");
        return 1;
    }
    setEngineSwitches();
    registerPadScheme();  // before the application object
    QApplication application(argc, argv);
    QApplication::setApplicationName("lumiko");
    QApplication::setQuitOnLastWindowClosed(false);
    auto* context = new QOpenGLContext(&application);
    if (!noOpenGl) context->create();
    qt_gl_set_global_share_context(context);

    BrowserView view;
    QUrl page;
    view.mayGo = [&page](const QUrl& url) { return lumiko::handwriting::viewMayGo(gbkAddress(url), gbkAddress(page)); };
    view.opensOutside = [](const QUrl& url) { return lumiko::handwriting::opensOutside(gbkAddress(url)); };
    view.onLoadStarted = [] { tell({"loadStarted"}); };
    view.onLoadFinished = [](bool ok) { tell({"loadFinished", ok ? "1" : "0"}); };
    view.onReport = [](const QString& report) { tell({"report", report.toStdString()}); };
    view.onNewWindow = [] { tell({"newWindow"}); };
    // Drawn inside the panel's page area, and, like the panel, never taking
    // the keyboard from the application the user types into.
    view.setWindowFlags(Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    view.setAttribute(Qt::WA_ShowWithoutActivating);
    view.winId();
    view.windowHandle()->setParent(QWindow::fromWinId(static_cast<WId>(into)));

    pagewire::Reader reader;
    QSocketNotifier input(fromPanel, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[65536];
        const ssize_t n = ::read(fromPanel, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) return;
        if (n <= 0) {  // the panel closed the page
            input.setEnabled(false);
            // exit, not quit: quit would first ask the view to close, and
            // stop if it does not.
            QCoreApplication::exit(0);
            return;
        }
        reader.feed(std::string_view(buffer, static_cast<size_t>(n)));
        while (auto message = reader.next()) obey(*message, view, page);
    });
    return QApplication::exec();
}
