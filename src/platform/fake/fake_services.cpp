#include "platform/fake/fake_services.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>

#include "platform/posix/clock.h"
#include "platform/posix/files.h"
#include "platform/posix/opencc.h"
#include "platform/posix/pinyin.h"

namespace lumiko {

FakeDocument::FakeDocument()
    : field(std::make_shared<FakeElement>("wd", "kw")),
      padLink(std::make_shared<FakeElement>("", "", "手写输入", "javascript:void(0)")),
      aboutLink(std::make_shared<FakeElement>("", "", "关于", "#about")) {
    add(field, false);
    add(padLink, true);
    add(aboutLink, true);
}

void FakeDocument::add(std::shared_ptr<FakeElement> e, bool isLink) {
    if (isLink) links_.push_back(e);
    elements_.push_back(std::move(e));
}

std::shared_ptr<PageElement> FakeDocument::elementByName(const Text& name) {
    if (name.empty()) return nullptr;
    for (const auto& e : elements_)
        if (e->name() == name || e->id() == name) return e;
    return nullptr;
}

std::shared_ptr<PageElement> FakeDocument::elementById(const Text& id) {
    if (id.empty()) return nullptr;
    for (const auto& e : elements_)
        if (e->id() == id) return e;
    return nullptr;
}

std::vector<std::shared_ptr<PageElement>> FakeDocument::links() {
    return {links_.begin(), links_.end()};
}

FakeServices::FakeServices() {
    setClock(2026, 1, 1, 0, 0, 0);
    if (char* cwd = ::getcwd(nullptr, 0)) {
        exeDir = posix::corePath(cwd);
        std::free(cwd);
    }
}

FakeServices::~FakeServices() {
    if (tempDir_.empty()) return;
    if (DIR* dir = ::opendir(tempDir_.c_str())) {
        while (const dirent* e = ::readdir(dir)) {
            const std::string name = e->d_name;
            if (name != "." && name != "..") ::unlink((tempDir_ + "/" + name).c_str());
        }
        ::closedir(dir);
    }
    ::rmdir(tempDir_.c_str());
}

void FakeServices::setClock(int year, int month, int day, int hour, int minute, int second) {
    clock = DateTime{year, month, day, posix::weekdayOf(year, month, day), hour, minute, second};
}

std::string FakeServices::typedBytes() const {
    std::string out;
    out.reserve(chars.size());
    for (const auto& c : chars) out.push_back(static_cast<char>(c.byte));
    return out;
}

bool FakeServices::focusedWindow(std::uint64_t& handle) {
    if (!focusKnown) return false;
    handle = focus;
    return true;
}

void FakeServices::sendChars(std::uint64_t window, const Text& bytes) {
    for (const char byte : bytes) chars.push_back({window, static_cast<unsigned char>(byte)});
}
void FakeServices::sendKey(Key key) { keys.push_back(key); }
void FakeServices::setClipboard(const Text& text) { clipboard = text; }
Text FakeServices::toTraditional(const Text& text) { return posix::toTraditional(text); }
std::vector<Text> FakeServices::pinyinReadings(const Text& text) { return posix::pinyinReadings(text); }
int FakeServices::networkState() { return network; }

bool FakeServices::download(const std::string& url, std::string& body, const DownloadLimits& limits) {
    downloads.push_back(url);
    downloadLimits.push_back(limits);
    if (!httpOk) {
        body.clear();
        return false;
    }
    body = httpBody;
    return true;
}

Text FakeServices::tempFolder() {
    if (tempDir_.empty()) {
        const Text base = posix::tempFolder();  // core form, ending with '\'
        std::string pattern = posix::nativePath(base) + "lumiko-XXXXXX";
        if (::mkdtemp(pattern.data())) tempDir_ = pattern;
        else return base;
    }
    return posix::corePath(tempDir_) + "\\";
}

Text FakeServices::exeFolder() { return exeDir; }

bool FakeServices::readFile(const Text& path, std::string& bytes) { return posix::readFile(path, bytes); }
bool FakeServices::writeFile(const Text& path, const std::string& bytes) {
    return posix::writeFile(path, bytes);
}
bool FakeServices::replaceFile(const Text& path, const std::string& bytes) {
    return posix::replaceFile(path, bytes);
}

bool FakeServices::replacePrivateFile(const Text& path, const std::string& bytes) {
    return posix::replaceFile(path, bytes, 0600);
}
bool FakeServices::fileExists(const Text& path) { return posix::fileExists(path); }
std::vector<Text> FakeServices::listFiles(const Text& folder, const Text& suffix) {
    return posix::listFiles(folder, suffix);
}

Text FakeServices::lastFileError() {
    return privateWriteError.empty() ? posix::lastFileError() : privateWriteError;
}
Text FakeServices::absolutePath(const Text& path) { return posix::absolutePath(path); }
Text FakeServices::writePrivateFile(const Text& name, const std::string& bytes) {
    if (!privateWriteError.empty()) return {};
    const Text path = tempFolder() + name;
    ::unlink(posix::nativePath(path).c_str());  // the page of an earlier start-up of this fake
    return posix::writeNewFile(path, bytes) ? path : Text();
}
LayoutFacts FakeServices::layoutFacts() { return layout; }

void FakeServices::shellOpen(const Text& target) { opened.push_back(target); }

bool FakeServices::messageBox(const Text& title, const Text& text, Buttons buttons) {
    messages.push_back({title, text, buttons});
    return buttons == Buttons::YesNo && answerYes;
}

DateTime FakeServices::now() { return clock; }
Text FakeServices::dateText(const DateTime& t) { return posix::dateText(t); }
Text FakeServices::timeText(const DateTime& t) { return posix::timeText(t); }

void FakeServices::browserNavigate(const Text& path) { navigations.push_back(path); }
void FakeServices::browserReload() { ++reloads; }
PageDocument* FakeServices::browserDocument() { return documentReachable ? &document : nullptr; }

void FakeServices::setNoActivate() { noActivate = true; }
void FakeServices::setTopmost() { topmost = true; }
void FakeServices::screenSize(int& width, int& height) {
    width = screenWidth;
    height = screenHeight;
}
void FakeServices::trayAdd(const Text& tip) {
    trayVisible = true;
    trayTip = tip;
}
void FakeServices::trayRemove() { trayVisible = false; }
void FakeServices::popupMenu() { ++popups; }
void FakeServices::quit() { quitCalled = true; }
void FakeServices::settingsOpened() { ++settingsShown; }

}  // namespace lumiko
