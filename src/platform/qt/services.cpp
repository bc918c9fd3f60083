#include "platform/qt/services.h"

#include <malloc.h>
#include <unistd.h>

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <climits>
#include <iostream>

#include "platform/posix/clock.h"
#include "platform/posix/download.h"
#include "platform/posix/encoding.h"
#include "platform/posix/files.h"
#include "platform/posix/layout.h"
#include "platform/posix/memory.h"
#include "platform/posix/opencc.h"
#include "platform/posix/pinyin.h"
#include "platform/qt/desktop.h"
#include "platform/qt/gbkstring.h"
#include "platform/qt/x11input.h"

namespace lumiko::desktop {

namespace {
// Core texts break lines with "\r\n"; Qt's with "\n".
QString messageText(const Text& t) { return fromGbk(t).replace("\r\n", "\n"); }
}  // namespace

DesktopServices::DesktopServices(Desktop& desktop, X11Input& x11)
    : desktop_(desktop), x11_(x11), typing_(chooseTypist(currentSession(), x11)) {
    // Once the panel is up, the user learns if the session's own programs
    // cannot be reached, and what to do, in a box that leaves the panel
    // working meanwhile.
    if (!typing_.advice.empty())
        QTimer::singleShot(0, qApp, [this] {
            desktop_.notice(QStringLiteral("Lumiko输入法 1.0"), QString::fromStdString(typing_.advice));
        });
    // Typing may borrow keycodes or keymaps; they go back a while after the
    // last use, through the rest timer, which runs only from typing until
    // nothing is borrowed any more.
    restTimer_.setInterval(1000);
    restTimer_.callOnTimeout([this] {
        if (!typing_.typist->rest()) restTimer_.stop();
    });
}

void DesktopServices::typed() {
    if (!restTimer_.isActive()) restTimer_.start();
}

bool DesktopServices::focusedWindow(std::uint64_t& handle) { return typing_.typist->focus(handle); }

void DesktopServices::sendChars(std::uint64_t window, const Text& bytes) {
    const std::u32string chars = composeCharacters(bytes);
    typing_.typist->type(window, QString::fromUcs4(chars.data(), static_cast<qsizetype>(chars.size())).toStdString());
    typed();
}

void DesktopServices::sendKey(Key key) {
    typing_.typist->press(key);
    typed();
}

void DesktopServices::setClipboard(const Text& text) {
    // The panel keeps the CLIPBOARD selection until another program takes it.
    QGuiApplication::clipboard()->setText(fromGbk(text), QClipboard::Clipboard);
    typing_.typist->clipboardSet(posix::gbkToUtf8(text));
}

Text DesktopServices::toTraditional(const Text& text) { return posix::toTraditional(text); }
// glibc keeps freed blocks below the top of its heaps for reuse; the
// indexes' scratch space would otherwise stay counted against the panel.
// The pages of the fonts read while the panel was first drawn go too.
void DesktopServices::returnFreedMemory() {
    malloc_trim(0);
    posix::releaseFontPages();
}

std::vector<Text> DesktopServices::pinyinReadings(const Text& text) { return posix::pinyinReadings(text); }
int DesktopServices::networkState() { return posix::networkState(); }
bool DesktopServices::download(const std::string& url, std::string& body, const DownloadLimits& limits) {
    posix::DownloadLimits bounds;
    bounds.totalTimeoutMs = limits.timeoutMs;
    bounds.maxBytes = limits.maxBytes;
    return posix::download(url, body, bounds);
}
Text DesktopServices::tempFolder() { return posix::tempFolder(); }

Text DesktopServices::exeFolder() {
    char path[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return posix::corePath(QCoreApplication::applicationDirPath().toStdString());
    std::string exe(path, static_cast<size_t>(n));
    const size_t slash = exe.rfind('/');
    return posix::corePath(slash == 0 ? "/" : exe.substr(0, slash));
}

bool DesktopServices::readFile(const Text& path, std::string& bytes) { return posix::readFile(path, bytes); }
void DesktopServices::log(const Text& message) { std::cerr << "lumiko: " << posix::gbkToUtf8(message) << std::endl; }
bool DesktopServices::writeFile(const Text& path, const std::string& bytes) { return posix::writeFile(path, bytes); }
bool DesktopServices::replaceFile(const Text& path, const std::string& bytes) {
    return posix::replaceFile(path, bytes);
}

bool DesktopServices::replacePrivateFile(const Text& path, const std::string& bytes) {
    return posix::replaceFile(path, bytes, 0600);
}
bool DesktopServices::fileExists(const Text& path) { return posix::fileExists(path); }
std::vector<Text> DesktopServices::listFiles(const Text& folder, const Text& suffix) {
    return posix::listFiles(folder, suffix);
}
LayoutFacts DesktopServices::layoutFacts() { return posix::discoverLayout(posix::nativePath(exeFolder())); }

// --- Telling failures ----------------------------------------------------------
Text DesktopServices::lastFileError() { return posix::lastFileError(); }
Text DesktopServices::absolutePath(const Text& path) { return posix::absolutePath(path); }
Text DesktopServices::writePrivateFile(const Text& name, const std::string& bytes) {
    return posix::writePrivateFile(name, bytes);
}

void DesktopServices::shellOpen(const Text& target) {
    // An address goes to the web browser, anything else is a file or folder
    // of the core's path form.
    const QString text = fromGbk(target);
    const QUrl url(text);
    if (url.isValid() && url.scheme().size() > 1 && text.contains("://")) QDesktopServices::openUrl(url);
    else QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(posix::nativePath(target))));
}

bool DesktopServices::messageBox(const Text& title, const Text& text, Buttons buttons) {
    return desktop_.messageBox(fromGbk(title), messageText(text), buttons == Buttons::YesNo);
}

DateTime DesktopServices::now() { return posix::localNow(); }
Text DesktopServices::dateText(const DateTime& t) { return posix::dateText(t); }
Text DesktopServices::timeText(const DateTime& t) { return posix::timeText(t); }

void DesktopServices::browserNavigate(const Text& path) {
    desktop_.browserNavigate(QUrl::fromLocalFile(QString::fromStdString(posix::nativePath(path))));
}

void DesktopServices::browserReload() {
    if (PanelBrowser* view = desktop_.browser()) view->reload();
}

PageDocument* DesktopServices::browserDocument() {
    PanelBrowser* view = desktop_.browser();
    return view ? view->document() : nullptr;
}

bool DesktopServices::browserReady() { return desktop_.browserReady(); }
void DesktopServices::browserUnavailable(const Text& reason) { desktop_.browserUnavailable(fromGbk(reason)); }

void DesktopServices::setNoActivate() { x11_.refuseFocus(desktop_.panel().winId()); }

// The panel is created always on top; this lifts it above another window
// that is always on top too. Raising a window does not give it the focus.
void DesktopServices::setTopmost() {
    PanelWindow& panel = desktop_.panel();
    if (panel.isVisible() && !panel.isMinimized()) panel.raise();
}

void DesktopServices::screenSize(int& width, int& height) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect r = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    width = r.width();
    height = r.height();
}

void DesktopServices::trayAdd(const Text& tip) { desktop_.trayAdd(fromGbk(tip)); }
void DesktopServices::trayRemove() { desktop_.trayRemove(); }
void DesktopServices::popupMenu() { desktop_.popupMenu(); }
// exit(), not quit(): quit() first asks every window to close, and the panel
// refuses, as a close request only hides it.
void DesktopServices::quit() {
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
}
void DesktopServices::settingsOpened() { desktop_.settingsOpened(); }

}  // namespace lumiko::desktop
