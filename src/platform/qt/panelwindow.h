// The panel's window: draws the panel form, hands every mouse event to the
// form's controls through the shared pointer routing, and keeps the window
// (place, visibility, minimised state, title) in step with the form.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "app/panelform.h"
#include "platform/pointer.h"
#include "platform/qt/panelpainter.h"
#include "platform/qt/restorestrip.h"

namespace lumiko::desktop {

class PanelWindow : public QWidget {
    Q_OBJECT
public:
    PanelWindow(PanelForm& form, std::function<void(const std::function<void()>&)> dispatch);

    // Brings the window in line with the form; repaints when anything drawn
    // changed since the last call.
    void sync();

    // What the close box of the window manager asks; answered by the core.
    std::function<bool()> onCloseRequest;
    // Runs before the hidden window is shown again, minimised or not.
    std::function<void(bool minimised)> beforeShow;

    // A child window over the form (the browser view): the pointer entering
    // it leaves the form's controls.
    void watchChild(QWidget* child) { child->installEventFilter(this); }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void leaveEvent(QEvent*) override;
    void closeEvent(QCloseEvent*) override;
    void changeEvent(QEvent*) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent*) override;

private:
    void press(QMouseEvent* e);
    void updatePointer(int x, int y);
    std::size_t visualState() const;
    void syncUnmanaged();

    PanelForm& form_;
    std::function<void(const std::function<void()>&)> dispatch_;
    PointerRouter router_;
    PanelPainter painter_;
    PointerState pointer_;
    Roles roles_;
    std::size_t drawn_ = 0;
    int placedLeft_ = -1000000, placedTop_ = -1000000;
    // On Wayland sessions no window manager handles the panel: it stands
    // for itself when minimised.
    const bool unmanaged_ = waylandSession();
    std::unique_ptr<RestoreStrip> strip_;

    // Dragging the panel by its background.
    bool dragArmed_ = false, dragging_ = false;
    QPoint dragStart_, windowStart_;
};

}  // namespace lumiko::desktop
