// The desktop program: the core's App over the desktop services, the panel
// window, the browser view, the tray icon and menu, the settings window and
// the timer. Every event reaches the core through dispatch(), which keeps
// handlers from overlapping and brings the windows in line afterwards.
#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/app.h"
#include "platform/qt/browser.h"
#include "platform/qt/panelwindow.h"
#include "platform/qt/services.h"
#include "platform/qt/settingswindow.h"
#include "platform/qt/x11input.h"

namespace lumiko::desktop {

class Desktop : public QObject {
    Q_OBJECT
public:
    Desktop();
    ~Desktop() override;

    // Runs the core's start-up, shows the panel and starts the timer.
    void start();

    void dispatch(const std::function<void()>& handler);

    // For the services.
    App& app() { return *app_; }
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
    void fillMenu(QMenu& menu, const std::vector<MenuItem>& items);

    X11Input x11_;
    DesktopServices services_;
    std::unique_ptr<App> app_;
    std::unique_ptr<PanelWindow> panel_;
    BrowserView* browser_ = nullptr;  // a child of the panel
    std::unique_ptr<QSystemTrayIcon> tray_;
    std::unique_ptr<QMenu> menu_;
    QPointer<SettingsWindow> settings_;
    const SettingsForm* settingsForm_ = nullptr;
    QTimer timer_;
    int depth_ = 0;  // handlers running (a message box runs an event loop inside one)
};

}  // namespace lumiko::desktop
