// The browser view of the panel and the document shown in it. Scripts run
// in the page only asynchronously, while the core reads the page within a
// timer tick; the document therefore keeps what the page said when last
// asked, asks again at every tick, and lets writes and clicks go to the page
// in order. A value written into the page is known at once; a value the page
// changes itself is known from the next answer, one tick later at most.
#pragma once

#include <QWebEnginePage>
#include <QWebEngineView>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/services.h"

namespace lumiko::desktop {

class BrowserDocument : public PageDocument {
public:
    explicit BrowserDocument(QWebEnginePage& page) : page_(page) {}

    std::shared_ptr<PageElement> elementByName(const Text& name) override;
    std::shared_ptr<PageElement> elementById(const Text& id) override;
    std::vector<std::shared_ptr<PageElement>> links() override;

    // A document is there once the first page has loaded.
    bool reachable() const { return loaded_; }

    // Asks the page for the elements asked about so far and its links,
    // unless the last question is still unanswered.
    void poll();
    void loadStarted();
    void loadFinished(bool ok);

    // An element asked for by name or id; what the page said about it.
    struct Watch {
        bool byId = false;
        Text key;
        bool known = false;  // the page has answered since it was asked for
        bool exists = false;
        Text value, innerText, href;
    };
    struct Link {
        Text innerText, href;
    };

    void setValue(size_t watch, const Text& v);
    void clickWatched(size_t watch);
    void clickLink(size_t index, const Link& link);
    const Watch& watch(size_t i) const { return watches_[i]; }

private:
    std::shared_ptr<PageElement> element(bool byId, const Text& key);
    void answer(unsigned long long asked, const QVariant& result);
    void run(const QString& script);

    QWebEnginePage& page_;
    std::vector<Watch> watches_;
    std::vector<Link> links_;
    bool loaded_ = false;
    bool pollPending_ = false;
    unsigned long long sequence_ = 0;   // numbers the scripts sent, in order
    unsigned long long lastWrite_ = 0;  // the number of the latest write or click
    unsigned long long loads_ = 0;      // navigations started
};

// The page of the view: tells about requests for new windows and keeps the
// page's console messages out of the terminal.
class BrowserPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit BrowserPage(QObject* parent) : QWebEnginePage(parent) {}
    std::function<void()> onNewWindow;

protected:
    QWebEnginePage* createWindow(WebWindowType type) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                  const QString&) override {}
};

class BrowserView : public QWebEngineView {
    Q_OBJECT
public:
    explicit BrowserView(QWidget* parent);
    BrowserPage& browserPage() { return *page_; }
    BrowserDocument& document() { return *document_; }

private:
    BrowserPage* page_;
    std::unique_ptr<BrowserDocument> document_;
};

}  // namespace lumiko::desktop
