// Help, about and the update check: the menu commands that lead to the help
// file and to the maker's forum.
#include <algorithm>
#include <chrono>

#include "app/app.h"
#include "app/config.h"

namespace lumiko {

namespace {
constexpr const char* kVersionName = "Lumiko 1.0";
constexpr const char* kNoUpdate = "未检测到版本更新";
// The forum's home page announces the newest version between these two.
constexpr const char* kVersionOpen = "Ж";
constexpr const char* kVersionClose = "Й";

// A forum page is far smaller than this; a server that sends more, or takes
// longer, is not one to wait for while the panel is blocked.
constexpr std::size_t kMaxPageBytes = 1 << 20;
constexpr std::chrono::milliseconds kCheckTime{10000};
// The longest version name shown; a longer one is cut.
constexpr std::size_t kMaxVersionBytes = 64;

// The first bytes of `text`, at most `limit`, cut between two characters:
// a GBK pair (or a four-byte GB18030 sequence) is never split.
Text leftWhole(const Text& text, std::size_t limit) {
    std::size_t end = 0;
    while (end < text.size()) {
        const auto lead = static_cast<unsigned char>(text[end]);
        std::size_t width = 1;
        if (lead >= 0x81 && lead <= 0xFE && end + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[end + 1]);
            width = next >= 0x30 && next <= 0x39 ? 4 : 2;
        }
        width = std::min(width, text.size() - end);  // a sequence the text breaks off counts as what is there
        if (end + width > limit) break;
        end += width;
    }
    return text.substr(0, std::min(end, text.size()));
}
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
// empty version. Both downloads together may take kCheckTime and read at
// most kMaxPageBytes each; only the first kMaxVersionBytes of a version are
// used.
void App::updateCheck() {
    const Text forum = forumUrl();
    const auto deadline = std::chrono::steady_clock::now() + kCheckTime;
    auto fetch = [&](std::string& page) {
        using std::chrono::milliseconds;
        const auto left = std::chrono::duration_cast<milliseconds>(deadline - std::chrono::steady_clock::now());
        return left.count() > 0 && svc_.download(forum, page, {kMaxPageBytes, static_cast<long>(left.count())});
    };
    auto versionOf = [](const std::string& page) { return leftWhole(extractVersion(page), kMaxVersionBytes); };
    std::string page;
    if (svc_.networkState() != 1 || !fetch(page)) {
        svc_.messageBox(kVersionName, kNoUpdate, Buttons::Ok);
        return;
    }
    Text version = versionOf(page);
    if (version == kVersionName) {
        svc_.messageBox(kVersionName, kNoUpdate, Buttons::Ok);
        return;
    }
    // The version shown is read from a second download of the page.
    page.clear();
    if (fetch(page)) version = versionOf(page);
    const Text question = Text("你所使用的软件版本为:") + kVersionName +
                          "\r\n\r\n软件当前最新版本为:" + version + " 是否要下载?";
    if (svc_.messageBox(kVersionName, question, Buttons::YesNo)) openLink(forum + "/");
}

}  // namespace lumiko
