// The dictionary settings window: lists the files of 词库\字典\, stores the
// chosen name in 词库\字典.txt for the next start, and links to the folder and
// to the download page.
#include <string>

#include "app/app.h"
#include "app/config.h"

namespace lumiko {

namespace {
constexpr const char* kDictionaryFolder = "词库\\字典";
constexpr const char* kChoiceFile = "词库\\字典.txt";
constexpr int kExtensionBytes = 4;  // ".txt"
}  // namespace

void App::openSettings() {
    settings = std::make_unique<SettingsForm>();
    SettingsForm& w = *settings;
    w.列表框1.onSelect = [this] { settingsSelected(); };
    w.加载.onClick = [this] { settingsSave(); };
    w.加载1.onClick = [this] { settingsOpenFolder(); };
    w.透明标签1.onLeftUp = [this](int, int) { settingsDownloadLink(); };

    // The list is read relative to the working directory, as the tables are.
    w.列表框1.items.clear();
    for (auto& name : svc_.listFiles(kDictionaryFolder, ".txt")) {
        if (name.empty()) break;
        w.列表框1.items.push_back(std::move(name));
    }

    std::string stored;
    svc_.readFile(kChoiceFile, stored);
    w.标签3.setText("当前反查字典为: " + stored);

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

// Stores the name without its extension beside the executable. The file is
// replaced as a whole, so an interruption leaves the earlier choice intact.
// A name that start-up could not load as it stands (one leading out of the
// dictionary folder, or one with blanks around it) is not stored; that and
// a failed write are told in a message box naming the file, and the earlier
// choice stays.
void App::settingsSave() {
    if (!settings) return;
    const Text& content = settings->编辑框1.text();
    const Text name = leftText(content, static_cast<int>(content.size()) - kExtensionBytes);
    const Text path = svc_.exeFolder() + "\\" + kChoiceFile;
    Text problem = dictionaryNameProblem(name);
    if (problem.empty() && svc_.replaceFile(path, name)) return;
    if (problem.empty()) problem = svc_.lastFileError();
    const Text text =
        "字典选择未能保存到 " + svc_.absolutePath(path) + "\r\n原因: " + problem + "\r\n原来的选择保持不变。";
    svc_.log(text);
    svc_.messageBox(settings->title, text, Buttons::Ok);
}

void App::settingsOpenFolder() { svc_.shellOpen(svc_.exeFolder() + "\\" + kDictionaryFolder); }

void App::settingsDownloadLink() { openLink(forumUrl() + "/thread-57-1-1.html"); }

}  // namespace lumiko
