// Help, about and the update check: the menu commands that lead to the help
// file and to the maker's forum.
#include "app/app.h"
#include "app/config.h"

namespace lumiko {

namespace {
constexpr const char* kVersionName = "Lumiko 1.0";
constexpr const char* kNoUpdate = "未检测到版本更新";
// The forum's home page announces the newest version between these two.
constexpr const char* kVersionOpen = "Ж";
constexpr const char* kVersionClose = "Й";
}  // namespace

void App::openLink(const Text& target) {
    form.隐藏的超级链接框.setText(target);
    svc_.shellOpen(target);
}

void App::help() {
    const Text helpFile = svc_.exeFolder() + "\\帮助.chm";
    openLink(svc_.fileExists(helpFile) ? helpFile : forumUrl() + "/");
}

void App::about() { openLink(forumUrl() + "/"); }

Text App::extractVersion(std::string_view page) {
    const int open = findText(page, kVersionOpen);
    if (open == -1) return {};
    const int start = open + static_cast<int>(std::string_view(kVersionOpen).size());
    const int close = findText(page, kVersionClose, start);
    if (close == -1) return {};
    return midText(page, start, close - start);
}

// A failed download says nothing about the newest version: a failed first
// download ends the check like a missing connection does, and a failed
// second one keeps the version the first one read, instead of offering an
// empty version.
void App::updateCheck() {
    const Text forum = forumUrl();
    std::string page;
    if (svc_.networkState() != 1 || !svc_.download(forum, page)) {
        svc_.messageBox(kVersionName, kNoUpdate, Buttons::Ok);
        return;
    }
    Text version = extractVersion(page);
    if (version == kVersionName) {
        svc_.messageBox(kVersionName, kNoUpdate, Buttons::Ok);
        return;
    }
    // The version shown is read from a second download of the page.
    page.clear();
    if (svc_.download(forum, page)) version = extractVersion(page);
    const Text question = Text("你所使用的软件版本为:") + kVersionName +
                          "\r\n\r\n软件当前最新版本为:" + version + " 是否要下载?";
    if (svc_.messageBox(kVersionName, question, Buttons::YesNo)) openLink(forum + "/");
}

}  // namespace lumiko
