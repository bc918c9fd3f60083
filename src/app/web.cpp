// The handlers of the handwriting page and of the dictionary settings
// window: the parts of web/ over the panel's controls, files and services.
#include "app/app.h"
#include "app/config.h"
#include "web/handwriting.h"
#include "web/settings.h"

namespace lumiko {

void App::showHandwritingPage() { handwriting::showPage(form.WebBrowser1, form.图片框1); }

void App::openPad() { handwriting::openPad(svc_, svc_, webPage); }

void App::newWindowRequested() { handwriting::newWindowRequested(svc_, webPage); }

void App::openSettings() {
    settings = std::make_unique<SettingsForm>();
    SettingsForm& w = *settings;
    w.列表框1.onSelect = [this] { settingsSelected(); };
    w.加载.onClick = [this] { settingsSave(); };
    w.加载1.onClick = [this] { settingsOpenFolder(); };
    w.透明标签1.onLeftUp = [this](int, int) { settingsDownloadLink(); };
    dictionaries::list(w, svc_, files.dictionaryFolders);
    dictionaries::showCurrent(w, readDictionaryChoice());
    svc_.settingsOpened();
}

void App::settingsSelected() {
    if (settings) dictionaries::lineChosen(*settings);
}

void App::settingsSave() {
    if (settings) dictionaries::save(*settings, svc_, svc_, files.choiceFile);
}

void App::settingsOpenFolder() { svc_.shellOpen(files.folderToOpen); }

void App::settingsDownloadLink() { openLink(dictionaries::downloadPage(forumUrl())); }

}  // namespace lumiko
