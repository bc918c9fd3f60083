// The desktop program: the panel shell over the desktop services, the panel
// window, the browser view, the tray icon and menu, the settings window and
// the timer. Every event reaches the core through the panel shell, which
// keeps handlers from overlapping and brings the windows in line afterwards.
#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QSocketNotifier>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/qt/pageprocess.h"
#include "platform/qt/panelwindow.h"
#include "platform/qt/services.h"
#include "platform/qt/settingswindow.h"
#include "platform/qt/x11input.h"
#include "platform/posix/autostart.h"
#include "platform/shell.h"

namespace lumiko::desktop {

class Desktop : public QObject {
    Q_OBJECT
public:
    // `zoom` is the panel's zoom in percent from the command line, or 0 for
    // the one the user last chose from the menu (100 when none was).
    explicit Desktop(int zoom = 0);
    ~Desktop() override;

    // Runs the core's start-up, shows the panel and starts the timer.
    void start();

    void dispatch(const std::function<void()>& handler) { shell_->dispatch(handler); }
    // A second start asked the panel to show itself.
    void showRequested() { shell_->showRequest(); }

    // For the services.
    PanelWindow& panel() { return *panel_; }
    // The browser view, made the first time the page is shown: null before
    // (and when its module cannot be loaded).
    PanelBrowser* browser() { return browser_; }
    void browserNavigate(const QUrl& url);
    // The page cannot be shown: the view is never made, `reason` stands in
    // its place.
    void browserUnavailable(const QString& reason) { pageProblem_ = reason; }
    bool browserReady() const { return browserReady_; }
    void trayAdd(const QString& tip);
    void trayRemove();
    void popupMenu();
    bool messageBox(const QString& title, const QString& text, bool yesNo);
    // A message that does not wait for its answer: the panel works on while
    // it is shown.
    void notice(const QString& title, const QString& text);
    void settingsOpened();

private:
    void tick();
    void sync();
    void makeBrowser();
    // The view goes (at once when its process has ended).
    void releaseBrowser(bool ended = false);
    void showPageProblem(const QString& problem);
    // Starts, slows or stops the timer as the shell says.
    void scheduleTicks();
    // Resizes the panel for a zoom chosen from the menu, keeps it on its
    // screen and stores the choice.
    void zoomChosen();

    X11Input x11_;
    DesktopServices services_;
    // The menu's 登录时启动: the running program in the user's autostart folder.
    posix::XdgSessionStart sessionStart_;
    std::unique_ptr<PanelShell> shell_;
    std::unique_ptr<PanelWindow> panel_;
    PanelBrowser* browser_ = nullptr;  // its view is a child of the panel, once made
    QWidget* pageWidget_ = nullptr;    // the view, or the reason it is missing; made on first show
    QUrl pageUrl_;                     // where the view goes when it is made
    QString pageProblem_;              // why there is no page to show, if there is none
    bool pageEnded_ = false;           // the page area tells that the page's process ended
    bool browserReady_ = false;        // made, and its page has loaded or had the time to
    bool browserMade_ = false;         // a view was made before (the pad was opened in it)
    QTimer releaseTimer_;              // runs from the page's closing until the view goes
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::unique_ptr<QMenu> menu_;
    QPointer<SettingsWindow> settings_;
    const SettingsForm* settingsForm_ = nullptr;
    QTimer timer_;
    // The X display has something to say (a focus change, say): the timer
    // may have to run again.
    std::unique_ptr<QSocketNotifier> xEvents_;
};

}  // namespace lumiko::desktop
