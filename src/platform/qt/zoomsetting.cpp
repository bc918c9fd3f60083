#include "platform/qt/zoomsetting.h"

#include "platform/posix/encoding.h"
#include "platform/posix/zoomfile.h"
#include "platform/shell.h"

namespace lumiko::desktop {

namespace {
QString fromGbk(const Text& text) { return QString::fromStdString(posix::gbkToUtf8(text)); }
}  // namespace

QString zoomSettingPath() { return QString::fromStdString(posix::zoomFilePath()); }

int loadZoom(QString& problem) {
    problem.clear();
    std::string text;
    Text why;
    if (!posix::readZoomFile(text, why)) {
        problem = fromGbk(why);
        return 0;
    }
    const int zoom = PanelShell::parseZoom(text);
    if (zoom == 0) problem = zoomSettingPath() + ": not a zoom between 50 and 400 percent";
    return zoom;
}

bool saveZoom(int percent, QString& problem) {
    Text why;
    const bool saved = posix::writeZoomFile(percent, why);
    problem = fromGbk(why);
    return saved;
}

}  // namespace lumiko::desktop
