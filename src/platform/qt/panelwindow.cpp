#include "platform/qt/panelwindow.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>

#include "platform/posix/encoding.h"
#include "platform/posix/memory.h"

namespace lumiko::desktop {

PanelWindow::PanelWindow(PanelShell& shell)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      form_(shell.form()), shell_(shell) {
    if (unmanaged_) {
        // Clicks on a managed window take the focus on Wayland compositors,
        // whatever it asks for; an override-redirect one never does.
        setWindowFlags(unmanagedFlags());
        setAttribute(Qt::WA_X11NetWmWindowTypeUtility);
        strip_ = std::make_unique<RestoreStrip>([this] { shell_.dispatch([this] { shell_.windowMinimized(false); }); });
    }
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setFixedSize(shell.scaled(form_.width), shell.scaled(form_.height));
    roles_.highlight = &form_.定位透明标签;
    roles_.closeBox = &form_.按钮10;
    roles_.pageUp = &form_.超级上;
    roles_.palette = &form_.图片框3;
    roles_.song = {&form_.显字标签, &form_.输入标签, &form_.词语提示标签};
}

void PanelWindow::sync() {
    const QString title = QString::fromStdString(posix::gbkToUtf8(form_.title));
    if (windowTitle() != title) setWindowTitle(title);
    const QSize size(shell_.scaled(form_.width), shell_.scaled(form_.height));
    if (this->size() != size) setFixedSize(size);
    if (form_.left != placedLeft_ || form_.top != placedTop_) {
        placedLeft_ = form_.left;
        placedTop_ = form_.top;
        move(form_.left, form_.top);
    }
    if (unmanaged_) {
        syncUnmanaged();
    } else if (form_.visible && !isVisible()) {
        if (beforeShow) beforeShow(form_.minimized);
        if (form_.minimized) showMinimized();
        else showNormal();
    } else if (!form_.visible && isVisible()) {
        hide();
    }
    if (isVisible() && !unmanaged_) {
        if (form_.minimized && !isMinimized()) showMinimized();
        else if (!form_.minimized && isMinimized()) showNormal();
    }
    if (shell_.needsRepaint()) update();
}

void PanelWindow::syncUnmanaged() {
    const bool panel = form_.visible && !form_.minimized, strip = form_.visible && form_.minimized;
    if (panel && !isVisible()) show();
    else if (!panel && isVisible()) hide();
    if (strip && !strip_->isVisible()) strip_->showAt(pos(), windowTitle());
    else if (!strip && strip_->isVisible()) strip_->hide();
}

void PanelWindow::paintEvent(QPaintEvent*) {
    // The form is drawn in its own pixels, zoomed by the painter: captions
    // are laid out at the form's sizes and rendered at the zoomed ones, and
    // pictures are scaled smoothly. Qt multiplies this by the screen's own
    // scale.
    QPainter p(this);
    const double zoom = shell_.zoom() / 100.0;
    p.scale(zoom, zoom);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QRectF whole(0, 0, form_.width, form_.height);
    QLinearGradient back(0, 0, 0, form_.height);
    back.setColorAt(0, QColor(0xf4, 0xf7, 0xfb));
    back.setColorAt(1, QColor(0xe2, 0xe8, 0xf1));
    p.fillRect(whole, back);
    painter_.paintForm(p, form_, shell_.pointer(), roles_);
    p.setPen(QPen(QColor(0x7d, 0x8f, 0xab), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(whole.adjusted(0.5, 0.5, -0.5, -0.5));
}

void PanelWindow::updateCursor(int x, int y) {
    if (shell_.pointerAt(x, y) == Pointer::Hand) setCursor(Qt::PointingHandCursor);
    else unsetCursor();
}

namespace {
int xOf(const QMouseEvent* e) { return static_cast<int>(e->position().x()); }
int yOf(const QMouseEvent* e) { return static_cast<int>(e->position().y()); }
int screenXOf(const QMouseEvent* e) { return e->globalPosition().toPoint().x(); }
int screenYOf(const QMouseEvent* e) { return e->globalPosition().toPoint().y(); }
bool buttonOf(const QMouseEvent* e, MouseButton& button) {
    if (e->button() == Qt::LeftButton) button = MouseButton::Left;
    else if (e->button() == Qt::RightButton) button = MouseButton::Right;
    else return false;
    return true;
}
}  // namespace

void PanelWindow::mousePressEvent(QMouseEvent* e) {
    MouseButton button;
    if (buttonOf(e, button)) shell_.press(button, xOf(e), yOf(e), screenXOf(e), screenYOf(e));
}

void PanelWindow::mouseDoubleClickEvent(QMouseEvent* e) {
    // The second press of a double click is a press as well: a key clicked
    // twice quickly types twice.
    MouseButton button;
    if (!buttonOf(e, button)) return;
    if (button == MouseButton::Left) shell_.doubleClick(xOf(e), yOf(e), screenXOf(e), screenYOf(e));
    else shell_.press(button, xOf(e), yOf(e), screenXOf(e), screenYOf(e));
}

void PanelWindow::mouseMoveEvent(QMouseEvent* e) {
    shell_.move(xOf(e), yOf(e), screenXOf(e), screenYOf(e));
    if (!shell_.dragging()) updateCursor(xOf(e), yOf(e));
}

void PanelWindow::mouseReleaseEvent(QMouseEvent* e) {
    MouseButton button;
    if (!buttonOf(e, button)) return;
    shell_.release(button, xOf(e), yOf(e));
    updateCursor(xOf(e), yOf(e));
}

void PanelWindow::leaveEvent(QEvent*) { shell_.leave(); }

bool PanelWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) leaveEvent(event);
    return QWidget::eventFilter(watched, event);
}

void PanelWindow::closeEvent(QCloseEvent* e) {
    e->ignore();
    shell_.closeRequest();
}

void PanelWindow::changeEvent(QEvent* e) {
    // The window manager minimises and restores the panel too. A hidden
    // panel keeps the state it had: Qt reports a window withdrawn after an
    // earlier minimise as minimised again.
    if (e->type() == QEvent::WindowStateChange && isVisible() && !unmanaged_) shell_.windowMinimized(isMinimized());
    QWidget::changeEvent(e);
}

bool PanelWindow::event(QEvent* e) {
    if (e->type() == QEvent::WinIdChange && onNativeWindowChanged && testAttribute(Qt::WA_WState_Created))
        onNativeWindowChanged();
    // Hidden, or down to the task bar, the panel draws nothing: the pages of
    // the fonts that drawing mapped go back to the file cache, to be mapped
    // again by the next glyph drawn.
    if (e->type() == QEvent::Hide || (e->type() == QEvent::WindowStateChange && isMinimized()))
        posix::releaseFontPages();
    return QWidget::event(e);
}

void PanelWindow::moveEvent(QMoveEvent*) {
    if (!isVisible() || isMinimized()) return;
    placedLeft_ = x();
    placedTop_ = y();
    shell_.windowMoved(placedLeft_, placedTop_);
}

}  // namespace lumiko::desktop
