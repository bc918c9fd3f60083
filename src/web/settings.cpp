#include "app/app.h"

namespace lumiko {

void App::openSettings() {}
void App::settingsSelected() {}
void App::settingsSave() {}
void App::settingsOpenFolder() {}
void App::settingsDownloadLink() {}

}  // namespace lumiko
