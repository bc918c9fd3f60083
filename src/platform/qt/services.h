// The services of the core on the Linux desktop: X11 for the focus and the
// keyboard, Qt for the clipboard, tray, menu, message boxes, browser view
// and shell, and the shared Linux pieces for files, conversion, pinyin,
// clock and network.
#pragma once

#include <QTimer>

#include "platform/qt/charcompose.h"
#include "platform/qt/typing/typist.h"
#include "platform/services.h"

namespace lumiko::desktop {

class Desktop;
class X11Input;

class DesktopServices : public Services {
public:
    DesktopServices(Desktop& desktop, X11Input& x11);

    bool focusedWindow(std::uint64_t& handle) override;
    void sendChars(std::uint64_t window, const Text& bytes) override;
    void sendKey(Key key) override;
    void setClipboard(const Text& text) override;
    Text toTraditional(const Text& text) override;
    void returnFreedMemory() override;
    std::vector<Text> pinyinReadings(const Text& text) override;
    int networkState() override;
    bool download(const std::string& url, std::string& body, const DownloadLimits& limits) override;
    Text tempFolder() override;
    Text exeFolder() override;
    bool readFile(const Text& path, std::string& bytes) override;
    bool writeFile(const Text& path, const std::string& bytes) override;
    bool replaceFile(const Text& path, const std::string& bytes) override;
    bool replacePrivateFile(const Text& path, const std::string& bytes) override;
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
    void setNoActivate() override;
    void setTopmost() override;
    void screenSize(int& width, int& height) override;
    void trayAdd(const Text& tip) override;
    void trayRemove() override;
    void popupMenu() override;
    void quit() override;
    void settingsOpened() override;
    void log(const Text& message) override;

    // --- Telling failures ---------------------------------------------------
    Text lastFileError() override;
    Text absolutePath(const Text& path) override;
    Text writePrivateFile(const Text& name, const std::string& bytes) override;
    void browserUnavailable(const Text& reason) override;

    // Whether the way of typing learns of focus changes by itself
    // (Typist::settled).
    bool typingSettled() { return typing_.typist->settled(); }

private:
    // Something was typed: the rest timer runs until typing gives back
    // what it borrowed.
    void typed();

    Desktop& desktop_;
    X11Input& x11_;
    TypingChoice typing_;
    QTimer restTimer_;  // runs only while typing holds something borrowed
};

}  // namespace lumiko::desktop
