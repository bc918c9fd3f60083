// The browser view as the panel sees it. The view, the browser engine, the
// handwriting pad's service and its recogniser's model live in a module of
// their own (liblumiko-browser.so beside the program, or where the package
// installs it), loaded the first time the handwriting page is shown: until
// then neither the engine's libraries nor its processes are in memory.
#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

#include "platform/services.h"

namespace lumiko::desktop {

class PanelBrowser {
public:
    virtual ~PanelBrowser() = default;
    // The view, a child of the panel that made it (and deletes it).
    virtual QWidget* widget() = 0;
    virtual void setUrl(const QUrl& url) = 0;
    virtual void reload() = 0;
    // The page's document, or null while none can be reached.
    virtual PageDocument* document() = 0;
    // The page is drawn at `factor` (1 = 100 %), this page and the next.
    virtual void setZoom(double factor) = 0;

    // Set by the panel: the page asked for a new window; the page first told
    // what it holds; a field of the page the panel reads has a new value
    // (the pad put text into it), which the timer's next tick takes.
    std::function<void()> onNewWindow;
    std::function<void()> onFirstReport;
    std::function<void()> onPageChanged;
    // Set by the panel before the view is sent anywhere: whether the view
    // may go to an address (anything unasked is refused), and whether an
    // address the page wants opened elsewhere goes to the desktop's web
    // browser.
    std::function<bool(const QUrl& address)> mayGo;
    std::function<bool(const QUrl& address)> opensOutside;
};

// Loads the module and makes the view inside `parent`; null, with the reason
// in `problem`, when the module cannot be loaded.
PanelBrowser* loadBrowser(QWidget* parent, QString& problem);

}  // namespace lumiko::desktop

// The module's one entry point.
extern "C" lumiko::desktop::PanelBrowser* lumikoMakeBrowser(QWidget* parent);
