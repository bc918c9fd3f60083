// The dictionary settings window as a real window of the desktop: a list, an
// editable field, two buttons and a link, laid out as the form says, kept in
// step with the form in both directions.
#pragma once

#include <QWidget>
#include <functional>

#include "web/settingsform.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace lumiko::desktop {

class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    // `owner` is the panel: the window stays with it and above it.
    SettingsWindow(SettingsForm& form, QWidget* owner, std::function<void(const std::function<void()>&)> dispatch);

    // Shows what the form holds.
    void sync();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    SettingsForm& form_;
    std::function<void(const std::function<void()>&)> dispatch_;
    QListWidget* list_;
    QLabel* current_;
    QLabel* chosenLabel_;
    QLineEdit* edit_;
    QPushButton* save_;
    QPushButton* folder_;
    QLabel* link_;
    bool syncing_ = false;
};

}  // namespace lumiko::desktop
