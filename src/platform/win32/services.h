// The core's services on the Windows desktop.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/pinyintable.h"
#include "platform/services.h"
#include "platform/win32/delivery.h"

namespace lumiko::win32 {

class BrowserView;

class WindowsServices : public Services {
public:
    WindowsServices();
    ~WindowsServices() override;

    // Set by the panel once its window exists.
    HWND panel = nullptr;
    // The browser view, which the panel makes the first time the handwriting
    // page is shown (see browserMade); null before.
    BrowserView* browser = nullptr;
    HICON trayIcon = nullptr;
    UINT trayMessage = 0;
    std::function<void()> onPopupMenu;
    std::function<void()> onSettingsOpened;

    bool focusedWindow(std::uint64_t& handle) override;
    void sendChars(std::uint64_t window, const Text& bytes) override;
    void sendKey(Key key) override;
    void setClipboard(const Text& text) override;

    Text toTraditional(const Text& text) override;
    std::vector<Text> pinyinReadings(const Text& text) override;

    int networkState() override;
    bool download(const std::string& url, std::string& body, const DownloadLimits& limits) override;

    Text tempFolder() override;
    Text exeFolder() override;
    bool readFile(const Text& path, std::string& bytes) override;
    bool writeFile(const Text& path, const std::string& bytes) override;
    bool replaceFile(const Text& path, const std::string& bytes) override;
    bool fileExists(const Text& path) override;
    std::vector<Text> listFiles(const Text& folder, const Text& suffix) override;
    LayoutFacts layoutFacts() override;
    void shellOpen(const Text& target) override;
    bool messageBox(const Text& title, const Text& text, Buttons buttons) override;

    DateTime now() override;
    Text dateText(const DateTime& t) override;
    Text timeText(const DateTime& t) override;

    void browserNavigate(const Text& path) override;
    void browserReload() override;
    PageDocument* browserDocument() override;
    bool browserReady() override;
    // The panel has made the view: it goes to the page it was sent to.
    void browserMade(BrowserView* view);

    void setNoActivate() override;
    void setTopmost() override;
    void screenSize(int& width, int& height) override;
    void trayAdd(const Text& tip) override;
    void trayRemove() override;
    // Puts the icon back with its last tip (after Explorer started again).
    void trayRestore();
    void popupMenu() override;
    void quit() override;
    void settingsOpened() override;
    void log(const Text& message) override;

    // --- Telling failures -------------------------------------------------
    Text lastFileError() override;
    Text absolutePath(const Text& path) override;
    Text writePrivateFile(const Text& name, const std::string& bytes) override;
    void browserUnavailable(const Text& reason) override { pageProblem_ = reason; }
    // Why the page cannot be shown; empty when it can.
    const Text& pageProblem() const { return pageProblem_; }
    // What the view was sent to, in the core's form.
    const Text& pagePath() const { return pageCorePath_; }

private:
    std::unique_ptr<PageDocument> document_;
    std::optional<PinyinTable> pinyin_;
    bool trayShown_ = false;
    Text trayTip_;
    std::wstring pagePath_;  // where the view goes once it is made
    Text pageCorePath_;
    Text pageProblem_;
    ULONGLONG browserMadeAt_ = 0;
};

// Simplified to traditional characters by the system's own mapping; GBK in
// and out.
Text traditionalOf(const Text& gbk);

// The system's text forms of a date (short date) and of a time of day.
Text systemDateText(const DateTime& t);
Text systemTimeText(const DateTime& t);

// Readings from pinyin.txt beside the executable (or in the working folder).
PinyinTable loadPinyinTable();
std::vector<Text> readingsOf(const PinyinTable& table, const Text& gbk);

}  // namespace lumiko::win32
