#include "platform/qt/desktop.h"

#include <QCursor>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <cstdlib>
#include <malloc.h>

#include "engine/builtin.h"
#include "platform/posix/encoding.h"
#include "platform/qt/gbkstring.h"
#include "platform/qt/zoomsetting.h"

namespace lumiko::desktop {

namespace {
// The timer's period. The core asks for ticks as often as the system allows;
// every tick reads the focus (kept between the X server's focus events, so
// asking costs no round trip) and the page's field, and every wake-up of the
// event loop costs as much again. At 15 ms a panel that ticks all the time
// stays near half a percent of one core (make perf-report); at 10 ms it
// came close to one.
constexpr int kTickMs = 15;
// The longest the pad's opening waits for the handwriting page once the
// browser view is made.
constexpr int kPageWaitMs = 3000;
// How long the browser view outlives the page's closing (a switch back to
// the keypad): coming back within it finds the pad as it was; after it the
// view and its page go, and with them the page's process and the engine.
constexpr int kPageKeepMs = 5000;

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
    shell_->sessionStart = &sessionStart_;
    panel_ = std::make_unique<PanelWindow>(*shell_);
    panel_->setWindowIcon(QIcon(loadPicture(builtin::icon("lumiko"))));
    panel_->beforeShow = [this](bool minimised) {
        if (!panel_->testAttribute(Qt::WA_WState_Created)) return;
        x11_.setInitialState(panel_->winId(), minimised);
    };
    panel_->onNativeWindowChanged = [this] { x11_.refuseFocus(panel_->winId()); };

    releaseTimer_.setSingleShot(true);
    releaseTimer_.setInterval(kPageKeepMs);
    connect(&releaseTimer_, &QTimer::timeout, this, [this] { releaseBrowser(); });
    menu_ = std::make_unique<QMenu>();
    timer_.setTimerType(Qt::CoarseTimer);
    connect(&timer_, &QTimer::timeout, this, &Desktop::tick);
    if (const int fd = x11_.connectionNumber(); fd >= 0) {
        xEvents_ = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
        connect(xEvents_.get(), &QSocketNotifier::activated, this, [this] { scheduleTicks(); });
    }
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
    scheduleTicks();
}

void Desktop::browserNavigate(const QUrl& url) {
    pageUrl_ = url;
    if (browser_) browser_->setUrl(url);
}

// The page's process, and with it the browser engine, starts only here, when
// the handwriting page is shown. The pad is opened once the page has told
// what it holds, or after a while without it. A program that is not there,
// or a page that could not be written, leaves the reason where the page
// would be.
void Desktop::makeBrowser() {
    QString problem = pageProblem_;
    if (problem.isEmpty()) browser_ = loadBrowser(panel_.get(), problem);
    if (browser_) {
        pageWidget_ = browser_->widget();
        browser_->onNewWindow = [this] { dispatch([this] { shell_->newWindowRequested(); }); };
        // A tick runs at once: it opens the pad (in a view made again, where
        // the tick opened it once already, the pad opens as at the page's
        // request for a new window) and asks the new page for its field,
        // which the page watches from then on.
        const bool again = browserMade_;
        browserMade_ = true;
        auto ready = [this, again, view = browser_] {
            if (browser_ != view || browserReady_) return;
            browserReady_ = true;
            if (again) dispatch([this] { shell_->newWindowRequested(); });
            shell_->pageChanged();
            tick();
        };
        // The pad put text into the page: a tick reads it at once, and the
        // timer runs on until the text is typed.
        browser_->onPageChanged = [this] {
            shell_->pageChanged();
            tick();
        };
        browser_->onFirstReport = ready;
        // The page's process could not start or ended: the reason stays where
        // the page was until the page is closed, and the next showing tries
        // again.
        browser_->onEnded = [this, view = browser_](const QString& reason) {
            QTimer::singleShot(0, this, [this, view, reason] {
                if (browser_ != view) return;
                releaseBrowser(true);
                showPageProblem(reason);
                pageEnded_ = true;
                sync();
            });
        };
        QTimer::singleShot(kPageWaitMs, this, ready);
        if (!pageUrl_.isEmpty()) browser_->setUrl(pageUrl_);
    } else {
        showPageProblem(problem);
    }
}

// Where the page would be: why it is not. A page that could not be written
// was told by the core already.
void Desktop::showPageProblem(const QString& problem) {
    if (pageProblem_.isEmpty())
        services_.log(posix::utf8ToGbk(("the handwriting page cannot be shown: " + problem).toStdString()));
    auto* label = new QLabel(QString::fromUtf8("手写输入无法显示：") + problem, panel_.get());
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    pageWidget_ = label;
    pageWidget_->hide();
    panel_->watchChild(pageWidget_);
}

// The page closed a while ago: the view goes, once every text the pad put
// into the page is typed; the next showing makes it again.
void Desktop::releaseBrowser(bool ended) {
    if (!browser_ || (!ended && shell_->form().WebBrowser1.shown())) return;
    if (!ended && !shell_->pageSettled()) {
        releaseTimer_.start();
        return;
    }
    delete pageWidget_;
    pageWidget_ = nullptr;
    browser_ = nullptr;
    browserReady_ = false;
    // What the engine freed goes back to the system.
    ::malloc_trim(0);
    scheduleTicks();
}

// As the shell says; typing through XTest learns of focus changes from the
// X server's events, and the page tells when the pad fills its field, so the
// shown, idle panel's timer rests until one of them comes.
void Desktop::scheduleTicks() {
    const int interval = shell_->tickPeriod(kTickMs, browser_ != nullptr, services_.typingSettled(), true);
    if (interval == 0) timer_.stop();
    else if (!timer_.isActive() || timer_.interval() != interval) timer_.start(interval);
}

void Desktop::tick() {
    shell_->tick();
    scheduleTicks();
}

void Desktop::sync() {
    // Hidden, the panel comes back through its tray icon. A Wayland session
    // may have no tray (GNOME shows none without an extension): there the
    // panel turns into its strip instead, which a double click restores.
    if (!shell_->form().visible && panel_->isVisible() && !shell_->exited() && std::getenv("WAYLAND_DISPLAY") &&
        !QSystemTrayIcon::isSystemTrayAvailable())
        shell_->hiddenWithNoWayBack();
    const Control& web = shell_->form().WebBrowser1;
    if (pageEnded_ && !web.shown()) {
        delete pageWidget_;
        pageWidget_ = nullptr;
        pageEnded_ = false;
    }
    if (!pageWidget_ && web.shown()) makeBrowser();
    if (pageWidget_) {
        const PanelShell& s = *shell_;
        const QRect webRect(s.scaled(web.absLeft()), s.scaled(web.absTop()), s.scaled(web.width),
                            s.scaled(web.height));
        if (pageWidget_->geometry() != webRect) pageWidget_->setGeometry(webRect);
        if (browser_) browser_->setZoom(s.zoom() / 100.0);
        if (pageWidget_->isVisibleTo(panel_.get()) != web.shown()) pageWidget_->setVisible(web.shown());
        if (web.shown()) releaseTimer_.stop();
        else if (browser_ && !releaseTimer_.isActive()) releaseTimer_.start();
    }
    panel_->sync();
    if (settings_ && shell_->settingsForm() == settingsForm_) settings_->sync();
    scheduleTicks();
}

void Desktop::zoomChosen() {
    const QScreen* screen = panel_->screen();
    const QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
    shell_->keepOnScreen(area.x(), area.y(), area.width(), area.height());
    QString problem;
    if (saveZoom(shell_->zoom(), problem)) return;
    services_.log(posix::utf8ToGbk(problem.toStdString()));
    messageBox(QString::fromUtf8("Lumiko输入法"),
               QString::fromUtf8("缩放已改变，但未能保存：\n") + problem +
                   QString::fromUtf8("\n原来保存的缩放保持不变，下次启动时仍用它。"),
               false);
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

void Desktop::notice(const QString& title, const QString& text) {
    auto* box = new QMessageBox(QMessageBox::Information, title, text, QMessageBox::Ok, panel_.get());
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    box->setStyleSheet("QLabel { min-width: 180px; }");
    box->setWindowModality(Qt::NonModal);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->show();
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
