#include "platform/qt/browser.h"

#include <QDesktopServices>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInterceptor>
#include <utility>

#include "platform/qt/padscheme.h"
#include "platform/qt/pagewire.h"

namespace lumiko::desktop {

namespace {

// Hands a web address to the desktop's web browser; anything else stays
// unopened.
void openOutside(const BrowserPage& from, const QUrl& url) {
    if (from.opensOutside && from.opensOutside(url)) QDesktopServices::openUrl(url);
    else qWarning("handwriting view: not opened: %s", qUtf8Printable(url.toString()));
}

// The page of a new window: it learns the address it is sent to, without
// loading it, hands it over and goes away.
class HandOverPage : public QWebEnginePage {
public:
    explicit HandOverPage(BrowserPage& from) : QWebEnginePage(&from), from_(from) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        if (url.isEmpty() || url.toString() == "about:blank") return true;
        openOutside(from_, url);
        deleteLater();
        return false;
    }

private:
    BrowserPage& from_;
};

// Every request of the page: what the view may not go to is not loaded.
class PageRequests : public QWebEngineUrlRequestInterceptor {
public:
    PageRequests(QObject* parent, std::function<bool(const QUrl&)> mayLoad)
        : QWebEngineUrlRequestInterceptor(parent), mayLoad_(std::move(mayLoad)) {}

    void interceptRequest(QWebEngineUrlRequestInfo& info) override {
        if (mayLoad_(info.requestUrl())) return;
        qWarning("handwriting view: refused to load %s", qUtf8Printable(info.requestUrl().toString()));
        info.block(true);
    }

private:
    std::function<bool(const QUrl&)> mayLoad_;
};

}  // namespace

QWebEnginePage* BrowserPage::createWindow(WebWindowType) {
    if (onNewWindow) onNewWindow();
    return new HandOverPage(*this);
}

bool BrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool) {
    if (mayGo && mayGo(url)) return true;
    if (type == NavigationTypeLinkClicked) openOutside(*this, url);
    else qWarning("handwriting view: refused to go to %s", qUtf8Printable(url.toString()));
    return false;
}

BrowserView::BrowserView(QWidget* parent) : QWebEngineView(parent), page_(new BrowserPage(this)) {
    installPadService(page_->profile());
    // The page is local: it reaches nothing on the network, and loads
    // nothing but itself and the pad's addresses. (The engine counts the
    // pad's scheme among the local addresses that its switch for reading
    // files guards, so files are kept out by the requests' check instead.)
    page_->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    page_->setUrlRequestInterceptor(new PageRequests(page_, [this](const QUrl& url) { return mayGo && mayGo(url); }));
    page_->mayGo = [this](const QUrl& url) { return mayGo && mayGo(url); };
    page_->opensOutside = [this](const QUrl& url) { return opensOutside && opensOutside(url); };
    setPage(page_);
    connect(page_, &QWebEnginePage::loadStarted, this, [this] {
        if (onLoadStarted) onLoadStarted();
    });
    connect(page_, &QWebEnginePage::loadFinished, this, [this](bool ok) {
        // A new page starts at the view's own factor: the panel's is set again.
        setZoomFactor(zoom_);
        if (onLoadFinished) onLoadFinished(ok);
    });
    // Only the watcher's reports leave the view; the page's own messages
    // are dropped.
    page_->onConsole = [this](const QString& message) {
        const QString prefix = QString::fromUtf8(pagewire::kReportPrefix);
        if (onReport && message.startsWith(prefix)) onReport(message.mid(prefix.size()));
    };
    page_->onNewWindow = [this] {
        if (onNewWindow) onNewWindow();
    };
}

void BrowserView::setZoom(double factor) {
    zoom_ = factor;
    if (!qFuzzyCompare(zoomFactor(), factor)) setZoomFactor(factor);
}

void BrowserView::runScript(const QString& script) { page_->runJavaScript(script, QWebEngineScript::ApplicationWorld); }

}  // namespace lumiko::desktop
