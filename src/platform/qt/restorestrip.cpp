#include "platform/qt/restorestrip.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace lumiko::desktop {

Qt::WindowFlags unmanagedFlags() {
    return Qt::Tool | Qt::X11BypassWindowManagerHint | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
           Qt::WindowDoesNotAcceptFocus;
}

bool waylandSession() { return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"); }

RestoreStrip::RestoreStrip(std::function<void()> onRestore)
    : QWidget(nullptr, unmanagedFlags()), onRestore_(std::move(onRestore)) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_X11DoNotAcceptFocus);
    setAttribute(Qt::WA_X11NetWmWindowTypeUtility);
    setFocusPolicy(Qt::NoFocus);
}

void RestoreStrip::showAt(const QPoint& where, const QString& title) {
    title_ = title;
    const QFontMetrics metrics(font());
    setFixedSize(metrics.horizontalAdvance(title_) + 16, metrics.height() + 8);
    move(where);
    show();
    update();
}

void RestoreStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), QColor(0xe2, 0xe8, 0xf1));
    p.setPen(QColor(0x7d, 0x8f, 0xab));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(Qt::black);
    p.drawText(rect(), Qt::AlignCenter, title_);
}

void RestoreStrip::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && onRestore_) onRestore_();
}

}  // namespace lumiko::desktop
