// The panel's window: draws the panel form, hands every mouse event to the
// panel shell, and keeps the window (place, visibility, minimised state,
// title) in step with the form.
#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "app/panelform.h"
#include "platform/shell.h"
#include "platform/qt/panelpainter.h"
#include "platform/qt/restorestrip.h"

namespace lumiko::desktop {

class PanelWindow : public QWidget {
    Q_OBJECT
public:
    explicit PanelWindow(PanelShell& shell);

    // Brings the window in line with the form; repaints when anything drawn
    // changed since the last call.
    void sync();

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
    void updateCursor(int x, int y);
    void syncUnmanaged();

    const PanelForm& form_;
    PanelShell& shell_;
    PanelPainter painter_;
    Roles roles_;
    int placedLeft_ = -1000000, placedTop_ = -1000000;
    // On Wayland sessions no window manager handles the panel: it stands
    // for itself when minimised.
    const bool unmanaged_ = waylandSession();
    std::unique_ptr<RestoreStrip> strip_;
};

}  // namespace lumiko::desktop
