// The dictionary settings window: lists the files of 词库\字典\ (and, once
// installed, the user's own dictionaries), stores the chosen name in 字典.txt
// for the next start, and links to the folder and to the download page.
#include <algorithm>
#include <string>

#include "app/app.h"
#include "app/config.h"

namespace lumiko {

namespace {
constexpr int kExtensionBytes = 4;  // ".txt"
}  // namespace

void App::openSettings() {
    settings = std::make_unique<SettingsForm>();
    SettingsForm& w = *settings;
    w.列表框1.onSelect = [this] { settingsSelected(); };
    w.加载.onClick = [this] { settingsSave(); };
    w.加载1.onClick = [this] { settingsOpenFolder(); };
    w.透明标签1.onLeftUp = [this](int, int) { settingsDownloadLink(); };

    // The user's dictionaries and those beside the tables, in one list; a
    // name both hold is listed once.
    w.列表框1.items.clear();
    for (const Text& folder : files.dictionaryFolders)
        for (auto& name : svc_.listFiles(folder, ".txt")) {
            if (name.empty()) break;
            auto& items = w.列表框1.items;
            if (std::find(items.begin(), items.end(), name) == items.end()) items.push_back(std::move(name));
        }

    w.标签3.setText("当前反查字典为: " + readDictionaryChoice());

    svc_.settingsOpened();
}

void App::settingsSelected() {
    if (!settings) return;
    SettingsForm& w = *settings;
    const int i = w.列表框1.selected;
    if (i < 0 || i >= static_cast<int>(w.列表框1.items.size())) return;
    w.编辑框1.setText(w.列表框1.items[static_cast<size_t>(i)]);
    w.加载.enabled = true;
}

// Stores the name without its extension where start-up reads it. The file is
// replaced as a whole, so an interruption leaves the earlier choice intact.
// A name that start-up could not load as it stands (one leading out of the
// dictionary folder, or one with blanks around it) is not stored; that and
// a failed write are told in a message box naming the file, and the earlier
// choice stays.
void App::settingsSave() {
    if (!settings) return;
    const Text& content = settings->编辑框1.text();
    const Text name = leftText(content, static_cast<int>(content.size()) - kExtensionBytes);
    const Text& path = files.choiceFile;
    Text problem = dictionaryNameProblem(name);
    if (problem.empty() && svc_.replaceFile(path, name)) return;
    if (problem.empty()) problem = svc_.lastFileError();
    const Text text =
        "字典选择未能保存到 " + svc_.absolutePath(path) + "\r\n原因: " + problem + "\r\n原来的选择保持不变。";
    svc_.log(text);
    svc_.messageBox(settings->title, text, Buttons::Ok);
}

void App::settingsOpenFolder() { svc_.shellOpen(files.folderToOpen); }

void App::settingsDownloadLink() { openLink(forumUrl() + "/thread-57-1-1.html"); }

}  // namespace lumiko
