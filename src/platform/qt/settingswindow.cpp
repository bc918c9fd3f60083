#include "platform/qt/settingswindow.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>

#include "platform/look.h"
#include "platform/posix/encoding.h"
#include "platform/qt/gbkstring.h"
#include "platform/qt/panelpainter.h"
#include "platform/qt/textlayout.h"

namespace lumiko::desktop {

namespace {
Text toGbk(const QString& s) { return posix::utf8ToGbk(s.toStdString()); }

void place(QWidget* w, const Control& c) { w->setGeometry(c.left, c.top, c.width, c.height); }
}  // namespace

SettingsWindow::SettingsWindow(SettingsForm& form, QWidget* owner,
                               std::function<void(const std::function<void()>&)> dispatch)
    : QWidget(owner, Qt::Window | Qt::WindowStaysOnTopHint | Qt::WindowCloseButtonHint | Qt::WindowTitleHint),
      form_(form), dispatch_(std::move(dispatch)), list_(new QListWidget(this)), current_(new QLabel(this)),
      chosenLabel_(new QLabel(this)), edit_(new QLineEdit(this)), save_(new QPushButton(this)),
      folder_(new QPushButton(this)), link_(new QLabel(this)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setFont(panelFont(kSansFamily, look::pixelsOfPoints(9)));
    setWindowTitle(fromGbk(form.title));
    setFixedSize(form.width, form.height);
    move(form.left, form.top);

    place(list_, form.列表框1);
    place(current_, form.标签3);
    place(chosenLabel_, form.标签4);
    place(edit_, form.编辑框1);
    place(save_, form.加载);
    place(folder_, form.加载1);
    folder_->setStyleSheet("padding: 0 2px");
    place(link_, form.透明标签1);
    chosenLabel_->setText(fromGbk(form.标签4.text()));
    save_->setText(fromGbk(form.加载.text()));
    folder_->setText(fromGbk(form.加载1.text()));
    link_->setText("<a href=\"#\" style=\"color:#2f6cd4\">" + fromGbk(form.透明标签1.text()).toHtmlEscaped() + "</a>");
    link_->setCursor(Qt::PointingHandCursor);
    link_->setTextInteractionFlags(Qt::NoTextInteraction);
    link_->installEventFilter(this);

    // A line the user selects; the list making its first line current when
    // it gets the keyboard focus selects nothing.
    connect(list_, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = list_->selectedItems();
        if (syncing_ || chosen.isEmpty()) return;
        const int row = list_->row(chosen.front());
        dispatch_([&] {
            form_.列表框1.selected = row;
            if (form_.列表框1.onSelect) form_.列表框1.onSelect();
        });
    });
    connect(edit_, &QLineEdit::textEdited, this,
            [this](const QString& text) { dispatch_([&] { form_.编辑框1.setText(toGbk(text)); }); });
    connect(save_, &QPushButton::clicked, this, [this] {
        dispatch_([&] {
            if (form_.加载.onClick) form_.加载.onClick();
        });
    });
    connect(folder_, &QPushButton::clicked, this, [this] {
        dispatch_([&] {
            if (form_.加载1.onClick) form_.加载1.onClick();
        });
    });
    sync();
}

bool SettingsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == link_ && event->type() == QEvent::MouseButtonRelease) {
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->button() == Qt::LeftButton) {
            const int x = static_cast<int>(e->position().x()), y = static_cast<int>(e->position().y());
            dispatch_([&] {
                if (form_.透明标签1.onLeftUp) form_.透明标签1.onLeftUp(x, y);
            });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void SettingsWindow::sync() {
    syncing_ = true;
    const auto& items = form_.列表框1.items;
    bool same = list_->count() == static_cast<int>(items.size());
    for (int i = 0; same && i < list_->count(); ++i)
        same = list_->item(i)->text() == fromGbk(items[static_cast<size_t>(i)]);
    if (!same) {
        list_->clear();
        for (const auto& item : items) list_->addItem(fromGbk(item));
    }
    const int selected = form_.列表框1.selected;
    const QList<QListWidgetItem*> shown = list_->selectedItems();
    if (selected < 0 || selected >= list_->count()) list_->clearSelection();
    else if (shown.isEmpty() || list_->row(shown.front()) != selected) list_->setCurrentRow(selected);
    const QString current = fromGbk(form_.标签3.text());
    if (current_->text() != current) current_->setText(current);
    const QString chosen = fromGbk(form_.编辑框1.text());
    if (edit_->text() != chosen) edit_->setText(chosen);
    save_->setEnabled(form_.加载.enabled);
    syncing_ = false;
}

}  // namespace lumiko::desktop
