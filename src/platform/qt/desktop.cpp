#include "platform/qt/desktop.h"

#include <QCursor>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <cstdlib>

#include "engine/builtin.h"
#include "platform/posix/encoding.h"
#include "platform/qt/gbkstring.h"
#include "platform/qt/zoomsetting.h"

namespace lumiko::desktop {

namespace {
// The timer's period. The core asks for ticks as often as the system allows;
// every tick asks the X server for the focus and reads the page's field, and
// every wake-up of the event loop costs as much again. At 15 ms the idle
// panel, its page shown or not, stays near half a percent of one core with
// the browser engine's processes counted; at 10 ms it came close to one.
constexpr int kTickMs = 15;
// The longest the timer waits for the handwriting page at start-up.
constexpr int kPageWaitMs = 3000;
// A spare keycode keeps a character's keysym this long after its last use,
// so that slow applications still read the key they were sent.
constexpr std::chrono::milliseconds kSpareKeyHold{2000};



}  // namespace

Desktop::Desktop(int zoom)
    : services_(*this, x11_), shell_(std::make_unique<PanelShell>(services_, kListLook)) {
    shell_->onSettled = [this] { sync(); };
    if (zoom == 0) {
        QString problem;
        zoom = loadZoom(problem);
        if (!problem.isEmpty()) services_.log(posix::utf8ToGbk(problem.toStdString()));
    }
    if (zoom != 0) shell_->setZoom(zoom);
    shell_->onZoomChosen = [this] { zoomChosen(); };
    panel_ = std::make_unique<PanelWindow>(*shell_);
    panel_->setWindowIcon(QIcon(loadPicture(builtin::icon("lumiko"))));
    panel_->beforeShow = [this](bool minimised) {
        if (!panel_->testAttribute(Qt::WA_WState_Created)) return;
        x11_.setInitialState(panel_->winId(), minimised);
    };

    browser_ = new BrowserView(panel_.get());
    browser_->hide();
    panel_->watchChild(browser_);
    browser_->browserPage().onNewWindow = [this] { dispatch([this] { shell_->newWindowRequested(); }); };
    // The page shown zooms with the panel; a new page starts at the view's
    // own factor, which is set again.
    connect(browser_, &QWebEngineView::loadFinished, this, [this] { browser_->setZoomFactor(shell_->zoom() / 100.0); });

    menu_ = std::make_unique<QMenu>();
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &Desktop::tick);
}

Desktop::~Desktop() {
    timer_.stop();
    if (settings_) delete settings_.data();
}

void Desktop::start() {
    panel_->winId();  // the native window exists before start-up marks it
    dispatch([this] {
        shell_->startUp();
        // The zoomed panel near the corner, as start-up places the form.
        int width = 0, height = 0;
        services_.screenSize(width, height);
        shell_->placeOnScreen(width, height);
    });
    // The pinyin table is read now rather than at the first pick, which
    // would otherwise wait for it.
    services_.pinyinReadings(Text());
    // Showing maps the window with the hints Qt keeps; mark it once more.
    x11_.refuseFocus(panel_->winId());
    // The first tick opens the handwriting pad, which needs the page: the
    // timer starts once the page has told what it holds, or after a while
    // without it.
    auto startTimer = [this] {
        if (!timer_.isActive()) timer_.start(kTickMs);
    };
    browser_->document().onFirstReport = startTimer;
    QTimer::singleShot(kPageWaitMs, this, startTimer);
}

void Desktop::tick() {
    shell_->tick();
    x11_.releaseSpareKeys(kSpareKeyHold);
}

void Desktop::sync() {
    // Hidden, the panel comes back through its tray icon. A Wayland session
    // may have no tray (GNOME shows none without an extension): there the
    // panel turns into its strip instead, which a double click restores.
    if (!shell_->form().visible && panel_->isVisible() && !shell_->exited() && std::getenv("WAYLAND_DISPLAY") &&
        !QSystemTrayIcon::isSystemTrayAvailable())
        shell_->hiddenWithNoWayBack();
    const Control& web = shell_->form().WebBrowser1;
    const PanelShell& s = *shell_;
    const QRect webRect(s.scaled(web.absLeft()), s.scaled(web.absTop()), s.scaled(web.width), s.scaled(web.height));
    if (browser_->geometry() != webRect) browser_->setGeometry(webRect);
    const double factor = s.zoom() / 100.0;
    if (!qFuzzyCompare(browser_->zoomFactor(), factor)) browser_->setZoomFactor(factor);
    if (browser_->isVisibleTo(panel_.get()) != web.shown()) browser_->setVisible(web.shown());
    panel_->sync();
    if (settings_ && shell_->settingsForm() == settingsForm_) settings_->sync();
}

void Desktop::zoomChosen() {
    const QScreen* screen = panel_->screen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    shell_->keepOnScreen(area.x(), area.y(), area.width(), area.height());
    QString problem;
    if (saveZoom(shell_->zoom(), problem)) return;
    services_.log(posix::utf8ToGbk(problem.toStdString()));
    messageBox(QString::fromUtf8("Lumiko输入法"),
               QString::fromUtf8("缩放已改变，但无法保存，下次启动时不会保留：\n") + problem, false);
}

void Desktop::trayAdd(const QString& tip) {
    if (!tray_) {
        tray_ = std::make_unique<QSystemTrayIcon>(QIcon(loadPicture(builtin::icon("lumiko"))));
        connect(tray_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason why) {
            if (why == QSystemTrayIcon::Trigger) shell_->trayClick(TrayClick::Left);
            else if (why == QSystemTrayIcon::Context) shell_->trayClick(TrayClick::Right);
        });
    }
    tray_->setToolTip(tip);
    tray_->show();
}

void Desktop::trayRemove() {
    if (tray_) tray_->hide();
}

namespace {
// Builds the Qt menu from the shell's walk; each action chooses its item
// through the shell.
class QtMenuBuilder : public MenuVisitor {
public:
    QtMenuBuilder(QMenu& menu, PanelShell& shell) : shell_(shell) { menus_.push_back(&menu); }
    void item(const Text& caption, bool checked, int id) override {
        QAction* action = menus_.back()->addAction(fromGbk(caption));
        action->setCheckable(checked);
        action->setChecked(checked);
        PanelShell* shell = &shell_;
        QObject::connect(action, &QAction::triggered, action, [shell, id] { shell->chooseMenu(id); });
    }
    void separator() override { menus_.back()->addSeparator(); }
    void beginSubmenu(const Text& caption) override { menus_.push_back(menus_.back()->addMenu(fromGbk(caption))); }
    void endSubmenu() override { menus_.pop_back(); }

private:
    PanelShell& shell_;
    std::vector<QMenu*> menus_;
};

}  // namespace

void Desktop::popupMenu() {
    // Built afresh at every popup, with the check marks of the moment.
    menu_->clear();
    for (QMenu* sub : menu_->findChildren<QMenu*>(Qt::FindDirectChildrenOnly)) sub->deleteLater();
    QtMenuBuilder builder(*menu_, *shell_);
    shell_->walkMenu(builder);
    menu_->popup(QCursor::pos());
}

bool Desktop::messageBox(const QString& title, const QString& text, bool yesNo) {
    QMessageBox box(QMessageBox::Information, title, text,
                    yesNo ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, panel_.get());
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setStyleSheet("QLabel { min-width: 180px; }");  // room for the title
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}

void Desktop::settingsOpened() {
    SettingsForm* form = shell_->settingsForm();
    if (!form) return;
    if (settings_ && settingsForm_ == form) {
        settings_->sync();
        return;
    }
    if (settings_) settings_->close();
    settingsForm_ = form;
    settings_ = new SettingsWindow(*form, panel_.get(), [this](const std::function<void()>& f) { dispatch(f); });
    settings_->show();
}

}  // namespace lumiko::desktop
