#include "web/settings.h"

#include <algorithm>
#include <string>

#include "web/dictionarynames.h"

namespace lumiko::dictionaries {

namespace {
constexpr int kExtensionBytes = 4;  // ".txt"
}  // namespace

void list(SettingsForm& w, Files& files, const std::vector<Text>& folders) {
    // The user's dictionaries and those beside the tables, in one list; a
    // name both hold is listed once.
    w.列表框1.items.clear();
    for (const Text& folder : folders)
        for (auto& name : files.listFiles(folder, ".txt")) {
            if (name.empty()) break;
            auto& items = w.列表框1.items;
            if (std::find(items.begin(), items.end(), name) == items.end()) items.push_back(std::move(name));
        }
}

void showCurrent(SettingsForm& w, const Text& choice) { w.标签3.setText("当前反查字典为: " + choice); }

void lineChosen(SettingsForm& w) {
    const int i = w.列表框1.selected;
    if (i < 0 || i >= static_cast<int>(w.列表框1.items.size())) return;
    w.编辑框1.setText(w.列表框1.items[static_cast<size_t>(i)]);
    w.加载.enabled = true;
}

void save(const SettingsForm& w, Files& files, DesktopWindow& desktop, const Text& choiceFile) {
    const Text& content = w.编辑框1.text();
    const Text name = leftText(content, static_cast<int>(content.size()) - kExtensionBytes);
    Text problem = dictionaryNameProblem(name);
    if (problem.empty() && choiceFile.empty()) problem = "没有用户自己的文件夹可以保存 (找不到主目录)";
    if (problem.empty() && files.replaceFile(choiceFile, name)) return;
    if (problem.empty()) problem = files.lastFileError();
    // Appended piece by piece: GCC's -Wrestrict misreads the chained
    // concatenation of a conditional piece (MinGW-w64, -O2).
    Text text = "字典选择未能保存到";
    if (!choiceFile.empty()) text.append(" ").append(files.absolutePath(choiceFile));
    text.append("\r\n原因: ").append(problem).append("\r\n原来的选择保持不变。");
    files.log(text);
    desktop.messageBox(w.title, text, Buttons::Ok);
}

Text downloadPage(const Text& forum) { return forum + "/thread-57-1-1.html"; }

}  // namespace lumiko::dictionaries
