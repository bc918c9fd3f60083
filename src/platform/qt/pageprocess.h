// The browser view as the panel sees it. The view, the browser engine, the
// handwriting pad's service and its recogniser's model live in a process of
// their own (lumiko-page, beside the program or where the package installs
// it), started when the handwriting page is shown and ended when the view
// goes: until then, and after, neither the engine's libraries nor its
// processes are in memory. Its window is drawn inside the panel's page area;
// the panel reaches the page over the process's standard input and output
// (pagewire.h).
#pragma once

#include <QUrl>
#include <QWidget>
#include <functional>

#include "platform/services.h"

namespace lumiko::desktop {

class PanelBrowser {
public:
    virtual ~PanelBrowser() = default;
    // The page area, a child of the panel that made it (and deletes it).
    virtual QWidget* widget() = 0;
    virtual void setUrl(const QUrl& url) = 0;
    virtual void reload() = 0;
    // The page's document, or null while none can be reached.
    virtual PageDocument* document() = 0;
    // The page is drawn at `factor` (1 = 100 %), this page and the next.
    virtual void setZoom(double factor) = 0;

    // Set by the panel: the page asked for a new window; the page first told
    // what it holds; a field of the page the panel reads has a new value
    // (the pad put text into it), which the timer's next tick takes; the
    // page's process could not start or ended on its own, for the reason
    // given.
    std::function<void()> onNewWindow;
    std::function<void()> onFirstReport;
    std::function<void()> onPageChanged;
    std::function<void(const QString& reason)> onEnded;
};

// Starts the page's process for a view inside `parent`; null, with the reason
// in `problem`, when the program is not there.
PanelBrowser* loadBrowser(QWidget* parent, QString& problem);

}  // namespace lumiko::desktop
