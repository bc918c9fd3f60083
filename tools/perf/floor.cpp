// lumiko-floor: the least a Qt 6 panel can cost, for `make perf-report` to
// measure beside Lumiko: a frameless window that stays on top and shows one
// CJK character, nothing else (no tables, no timer, no tray).
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    QLabel label(QString::fromUtf8("字"));
    label.setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus);
    label.setAlignment(Qt::AlignCenter);
    label.resize(431, 412);
    label.show();
    return QApplication::exec();
}
