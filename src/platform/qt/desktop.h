// The desktop program: the panel shell over the desktop services, the panel
// window, the browser view, the tray icon and menu, the settings window and
// the timer. Every event reaches the core through the panel shell, which
// keeps handlers from overlapping and brings the windows in line afterwards.
#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/qt/browser.h"
#include "platform/qt/panelwindow.h"
#include "platform/qt/services.h"
#include "platform/qt/settingswindow.h"
#include "platform/qt/x11input.h"
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

    // For the services.
    PanelWindow& panel() { return *panel_; }
    BrowserView& browser() { return *browser_; }
    void trayAdd(const QString& tip);
    void trayRemove();
    void popupMenu();
    bool messageBox(const QString& title, const QString& text, bool yesNo);
    void settingsOpened();

private:
    void tick();
    void sync();
    // Resizes the panel for a zoom chosen from the menu, keeps it on its
    // screen and stores the choice.
    void zoomChosen();

    X11Input x11_;
    DesktopServices services_;
    std::unique_ptr<PanelShell> shell_;
    std::unique_ptr<PanelWindow> panel_;
    BrowserView* browser_ = nullptr;  // a child of the panel
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::unique_ptr<QMenu> menu_;
    QPointer<SettingsWindow> settings_;
    const SettingsForm* settingsForm_ = nullptr;
    QTimer timer_;
};

}  // namespace lumiko::desktop
