#include "platform/qt/zoomsetting.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "platform/shell.h"

namespace lumiko::desktop {

QString zoomSettingPath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/lumiko/zoom";
}

int loadZoom(QString& problem) {
    problem.clear();
    QFile file(zoomSettingPath());
    if (!file.exists()) return 0;
    if (!file.open(QIODevice::ReadOnly)) {
        problem = file.fileName() + ": " + file.errorString();
        return 0;
    }
    const QByteArray text = file.read(64);
    const int zoom = PanelShell::parseZoom(std::string_view(text.constData(), static_cast<size_t>(text.size())));
    if (zoom == 0) problem = file.fileName() + ": not a zoom between 50 and 400 percent";
    return zoom;
}

bool saveZoom(int percent, QString& problem) {
    problem.clear();
    const QString path = zoomSettingPath();
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        problem = QFileInfo(path).absolutePath() + ": the folder cannot be created";
        return false;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) && file.write(QByteArray::number(percent) + "\n") >= 0 && file.commit())
        return true;
    problem = path + ": " + file.errorString();
    return false;
}

}  // namespace lumiko::desktop
