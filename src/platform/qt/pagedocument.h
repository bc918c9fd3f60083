// The handwriting page's document as the panel sees it. Scripts run
// in the page only asynchronously, while the core reads the page within a
// timer tick. The document therefore keeps what the page last reported: a
// small watcher installed in the page (in a script world of its own, apart
// from the page's scripts) looks at the elements asked for and at the links
// whenever the page fires an input event or its document changes, and
// reports what changed; a new value of a field makes the timer tick at once. Writes and
// clicks go to the page in order; a value written is known at once, a value
// the page changes itself is known from its next report, so the two-tick
// hand-over of the timer keeps working: one tick reads what was reported,
// the next commits it.
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/services.h"

namespace lumiko::desktop {

class BrowserDocument : public PageDocument {
public:
    // `run` runs a script in the page, in the script world of the watcher.
    explicit BrowserDocument(std::function<void(const QString&)> run) : run_(std::move(run)) {}

    std::shared_ptr<PageElement> elementByName(const Text& name) override;
    std::shared_ptr<PageElement> elementById(const Text& id) override;
    std::vector<std::shared_ptr<PageElement>> links() override;

    // A document is there once the first page has loaded.
    bool reachable() const { return loaded_; }

    void loadStarted();
    void loadFinished(bool ok);
    // Runs once, when the page has first told what it holds.
    std::function<void()> onFirstReport;
    // Runs when the page reports a new value of a field asked for (not one
    // the program wrote itself).
    std::function<void()> onChanged;

    // An element asked for by name or id; what the page said about it.
    struct Watch {
        bool byId = false;
        Text key;
        bool known = false;  // the page has reported on it since it was asked for
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

    // Takes a report: "SEQUENCE JSON". Reports older than the last write or
    // click are dropped: the page has changed since it wrote them.
    void report(const QString& body);

private:
    std::shared_ptr<PageElement> element(bool byId, const Text& key);
    void installWatcher();
    void run(const QString& script);

    std::function<void(const QString&)> run_;
    std::vector<Watch> watches_;
    std::vector<Link> links_;
    bool loaded_ = false;
    unsigned long long lastWrite_ = 0;  // the number of the latest write or click
};

}  // namespace lumiko::desktop
