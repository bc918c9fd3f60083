#include "platform/qt/panelwindow.h"

#include <QCloseEvent>
#include <QMouseEvent>
#include <QPainter>
#include <string>

#include "platform/posix/encoding.h"

namespace lumiko::desktop {

namespace {

constexpr int kDragThreshold = 3;

void mix(std::size_t& h, std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2); }

}  // namespace

PanelWindow::PanelWindow(PanelForm& form, std::function<void(const std::function<void()>&)> dispatch)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus),
      form_(form), dispatch_(std::move(dispatch)), router_(form) {
    if (unmanaged_) {
        // Clicks on a managed window take the focus on Wayland compositors,
        // whatever it asks for; an override-redirect one never does.
        setWindowFlags(unmanagedFlags());
        setAttribute(Qt::WA_X11NetWmWindowTypeUtility);
        strip_ = std::make_unique<RestoreStrip>([this] { dispatch_([this] { form_.minimized = false; }); });
    }
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setFocusPolicy(Qt::NoFocus);
    setMouseTracking(true);
    setFixedSize(form.width, form.height);
    roles_.highlight = &form.定位透明标签;
    roles_.closeBox = &form.按钮10;
    roles_.pageUp = &form.超级上;
    roles_.palette = &form.图片框3;
    roles_.song = {&form.显字标签, &form.输入标签, &form.词语提示标签};
}

std::size_t PanelWindow::visualState() const {
    std::size_t h = 0;
    std::hash<std::string> text;
    for (const auto& c : form_.controls()) {
        if (!c->shown()) continue;
        mix(h, reinterpret_cast<std::uintptr_t>(c.get()));
        mix(h, static_cast<std::size_t>(c->left) * 131 + static_cast<std::size_t>(c->top));
        mix(h, static_cast<std::size_t>(c->width) * 131 + static_cast<std::size_t>(c->height));
        mix(h, (c->enabled ? 1u : 0u) + static_cast<std::size_t>(c->fontSize) * 2 + (static_cast<std::size_t>(c->color) << 8));
        mix(h, reinterpret_cast<std::uintptr_t>(c->picture));
        mix(h, text(c->text()));
        if (c->kind == ControlKind::ListBox) {
            for (const auto& item : c->items) mix(h, text(item));
            mix(h, static_cast<std::size_t>(c->selected + 1));
        }
        if (c->kind == ControlKind::Grid)
            for (const auto& row : c->cells)
                for (const auto& cell : row) mix(h, text(cell));
    }
    mix(h, reinterpret_cast<std::uintptr_t>(pointer_.hovered));
    mix(h, reinterpret_cast<std::uintptr_t>(pointer_.pressed));
    mix(h, static_cast<std::size_t>(pointer_.gridRow * 16 + pointer_.gridCol + 17));
    return h;
}

void PanelWindow::sync() {
    const QString title = QString::fromStdString(posix::gbkToUtf8(form_.title));
    if (windowTitle() != title) setWindowTitle(title);
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
    const std::size_t state = visualState();
    if (state != drawn_) {
        drawn_ = state;
        update();
    }
}

void PanelWindow::syncUnmanaged() {
    const bool panel = form_.visible && !form_.minimized, strip = form_.visible && form_.minimized;
    if (panel && !isVisible()) show();
    else if (!panel && isVisible()) hide();
    if (strip && !strip_->isVisible()) strip_->showAt(pos(), windowTitle());
    else if (!strip && strip_->isVisible()) strip_->hide();
}

void PanelWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF whole(0, 0, width(), height());
    QLinearGradient back(0, 0, 0, height());
    back.setColorAt(0, QColor(0xf4, 0xf7, 0xfb));
    back.setColorAt(1, QColor(0xe2, 0xe8, 0xf1));
    p.fillRect(whole, back);
    painter_.paintForm(p, form_, pointer_, roles_);
    p.setPen(QPen(QColor(0x7d, 0x8f, 0xab), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(whole.adjusted(0.5, 0.5, -0.5, -0.5));
}

void PanelWindow::updatePointer(int x, int y) {
    Control* c = controlAt(form_, x, y);
    pointer_.hovered = c;
    pointer_.gridRow = pointer_.gridCol = -1;
    if (c && c->kind == ControlKind::Grid) {
        const int col = (x - c->absLeft()) / kGridCell, row = (y - c->absTop()) / kGridCell;
        if (col < Control::kGridCols && row < Control::kGridRows) {
            pointer_.gridRow = row;
            pointer_.gridCol = col;
        }
    }
    if (router_.pointerAt(x, y) == Pointer::Hand) setCursor(Qt::PointingHandCursor);
    else unsetCursor();
}

void PanelWindow::press(QMouseEvent* e) {
    const int x = static_cast<int>(e->position().x()), y = static_cast<int>(e->position().y());
    const bool left = e->button() == Qt::LeftButton;
    if (!left && e->button() != Qt::RightButton) return;
    dispatch_([&] {
        Control* c = controlAt(form_, x, y);
        if (c && left && c->kind == ControlKind::Grid) {
            // The cell under the pointer becomes the grid's current cell.
            const int col = (x - c->absLeft()) / kGridCell, row = (y - c->absTop()) / kGridCell;
            if (col < Control::kGridCols && row < Control::kGridRows) {
                c->currentRow = row;
                c->currentCol = col;
            }
        }
        router_.press(left ? MouseButton::Left : MouseButton::Right, x, y);
        pointer_.pressed = c;
        if (c && left && c->kind == ControlKind::ListBox) {
            // A click on a line chooses it, the same line again included.
            const int index = (y - c->absTop() - 1) / kListItemHeight;
            if (index >= 0 && index < static_cast<int>(c->items.size())) {
                c->selected = index;
                if (c->onSelect) c->onSelect();
            }
        }
        if (c == &form_.标签1 && left) {
            dragArmed_ = true;
            dragStart_ = e->globalPosition().toPoint();
            windowStart_ = pos();
        }
    });
}

void PanelWindow::mousePressEvent(QMouseEvent* e) { press(e); }

void PanelWindow::mouseDoubleClickEvent(QMouseEvent* e) {
    // The second press of a double click is a press as well: a key clicked
    // twice quickly types twice.
    press(e);
    const int x = static_cast<int>(e->position().x()), y = static_cast<int>(e->position().y());
    if (e->button() == Qt::LeftButton) dispatch_([&] { router_.doubleClick(x, y); });
}

void PanelWindow::mouseMoveEvent(QMouseEvent* e) {
    const int x = static_cast<int>(e->position().x()), y = static_cast<int>(e->position().y());
    if (dragArmed_ && (e->buttons() & Qt::LeftButton)) {
        const QPoint delta = e->globalPosition().toPoint() - dragStart_;
        if (!dragging_ && delta.manhattanLength() > kDragThreshold) dragging_ = true;
        if (dragging_) {
            move(windowStart_ + delta);
            return;
        }
    }
    dispatch_([&] {
        router_.move(x, y);
        updatePointer(x, y);
    });
}

void PanelWindow::mouseReleaseEvent(QMouseEvent* e) {
    const int x = static_cast<int>(e->position().x()), y = static_cast<int>(e->position().y());
    const bool left = e->button() == Qt::LeftButton;
    if (!left && e->button() != Qt::RightButton) return;
    const bool dragged = dragging_ && left;
    if (left) dragArmed_ = dragging_ = false;
    dispatch_([&] {
        if (dragged) router_.release(MouseButton::Left, -1, -1);  // ends the capture only
        else router_.release(left ? MouseButton::Left : MouseButton::Right, x, y);
        pointer_.pressed = nullptr;
        updatePointer(x, y);
    });
}

void PanelWindow::leaveEvent(QEvent*) {
    pointer_.hovered = nullptr;
    pointer_.gridRow = pointer_.gridCol = -1;
    sync();
}

bool PanelWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Enter) leaveEvent(event);
    return QWidget::eventFilter(watched, event);
}

void PanelWindow::closeEvent(QCloseEvent* e) {
    e->ignore();
    if (onCloseRequest) dispatch_([this] { onCloseRequest(); });
}

void PanelWindow::changeEvent(QEvent* e) {
    // The window manager minimises and restores the panel too. A hidden
    // panel keeps the state it had: Qt reports a window withdrawn after an
    // earlier minimise as minimised again.
    if (e->type() == QEvent::WindowStateChange && isVisible() && !unmanaged_) form_.minimized = isMinimized();
    QWidget::changeEvent(e);
}

void PanelWindow::moveEvent(QMoveEvent*) {
    if (!isVisible() || isMinimized()) return;
    form_.left = placedLeft_ = x();
    form_.top = placedTop_ = y();
}

}  // namespace lumiko::desktop
