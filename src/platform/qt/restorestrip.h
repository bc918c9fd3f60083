// The minimised panel on Wayland sessions. There the panel is a window the
// window manager does not manage (the only kind that XWayland compositors
// never give the focus), so no window manager can minimise it: minimised,
// it becomes this small strip with the panel's title in its place, and a
// double click on the strip restores it.
#pragma once

#include <QWidget>
#include <functional>

namespace lumiko::desktop {

// The window flags of a window that never takes the focus on a Wayland
// session: an override-redirect utility window on XWayland.
Qt::WindowFlags unmanagedFlags();

// Whether the panel runs under a Wayland session (through XWayland).
bool waylandSession();

class RestoreStrip : public QWidget {
public:
    explicit RestoreStrip(std::function<void()> onRestore);

    // Shows the strip with `title` at the top left corner of the panel.
    void showAt(const QPoint& where, const QString& title);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;

private:
    std::function<void()> onRestore_;
    QString title_;
};

}  // namespace lumiko::desktop
