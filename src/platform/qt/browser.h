// The handwriting page's view, in the page's own process (lumiko-page): the
// page, the view, and what they tell. The panel reaches the page's document
// through scripts it sends (see pagedocument.h).
#pragma once

#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>

namespace lumiko::desktop {

// The page of the view: tells about requests for new windows and hands the
// console to the document (the page's own messages are dropped).
class BrowserPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit BrowserPage(QObject* parent) : QWebEnginePage(parent) {}
    std::function<void()> onNewWindow;
    std::function<void(const QString&)> onConsole;
    std::function<bool(const QUrl&)> mayGo;  // see BrowserView
    std::function<bool(const QUrl&)> opensOutside;

protected:
    QWebEnginePage* createWindow(WebWindowType type) override;
    // The view stays on the page and the pad; a link to a web address goes
    // to the desktop's web browser instead.
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString& message, int,
                                  const QString&) override {
        if (onConsole) onConsole(message);
    }
};

// The view: the page, what may load in it, and what it tells.
class BrowserView : public QWebEngineView {
    Q_OBJECT
public:
    explicit BrowserView(QWidget* parent = nullptr);

    void setZoom(double factor);
    // Runs a script in the page, in a script world apart from the page's own.
    void runScript(const QString& script);

    std::function<void()> onLoadStarted;
    std::function<void(bool ok)> onLoadFinished;
    // What the panel's watcher in the page reported, its prefix taken off.
    std::function<void(const QString&)> onReport;
    // The page asked for a new window.
    std::function<void()> onNewWindow;
    // Whether the view may go to an address (anything unasked is refused),
    // and whether an address the page wants opened elsewhere goes to the
    // desktop's web browser.
    std::function<bool(const QUrl&)> mayGo;
    std::function<bool(const QUrl&)> opensOutside;

private:
    BrowserPage* page_;
    double zoom_ = 1.0;
};

}  // namespace lumiko::desktop
