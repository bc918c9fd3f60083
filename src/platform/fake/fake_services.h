// A recording stand-in for the desktop, for the tests and lumiko-sim. It
// keeps everything the core hands to the desktop, answers queries from
// settable state, and uses the real file system, OpenCC and pinyin table.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/services.h"

namespace lumiko {

// One element of the fake page.
class FakeElement : public PageElement {
public:
    FakeElement(Text name, Text id, Text innerText = {}, Text href = {})
        : name_(std::move(name)), id_(std::move(id)), innerText_(std::move(innerText)),
          href_(std::move(href)) {}

    Text value() const override { return value_; }
    void setValue(const Text& v) override { value_ = v; }
    Text innerText() const override { return innerText_; }
    Text href() const override { return href_; }
    void click() override { ++clicks; }

    const Text& name() const { return name_; }
    const Text& id() const { return id_; }

    int clicks = 0;

private:
    Text name_, id_, innerText_, href_;
    Text value_;
};

// The document of the browser view. It starts out as the handwriting page:
// the recognition field (name "wd", id "kw"), the link "手写输入" that opens
// the pad and the link "关于".
class FakeDocument : public PageDocument {
public:
    FakeDocument();

    // Like the desktop's browser engine, a lookup by name also finds an
    // element whose id is that name: the page's field is named "wd" with id
    // "kw", and the program reads it by the name "kw".
    std::shared_ptr<PageElement> elementByName(const Text& name) override;
    std::shared_ptr<PageElement> elementById(const Text& id) override;
    std::vector<std::shared_ptr<PageElement>> links() override;

    void add(std::shared_ptr<FakeElement> e, bool isLink);

    std::shared_ptr<FakeElement> field;    // the recognition field
    std::shared_ptr<FakeElement> padLink;  // "手写输入"
    std::shared_ptr<FakeElement> aboutLink;

private:
    std::vector<std::shared_ptr<FakeElement>> elements_;
    std::vector<std::shared_ptr<FakeElement>> links_;
};

class FakeServices : public Services {
public:
    FakeServices();
    ~FakeServices() override;

    // --- settable state ---------------------------------------------------
    bool focusKnown = true;
    std::uint64_t focus = 1001;
    int network = 0;
    bool httpOk = false;
    std::string httpBody;           // GBK (or any bytes)
    bool answerYes = false;         // what Yes/No message boxes get
    DateTime clock{};               // stands still; see setClock
    int screenWidth = 1024, screenHeight = 768;
    Text exeDir;                    // core form, no trailing separator
    LayoutFacts layout;             // started beside its tables unless a test says otherwise
    bool documentReachable = true;
    bool browserIsReady = true;     // the view is made and its page loaded
    Text privateWriteError;         // when set, writePrivateFile fails with it
    FakeDocument document;

    // Sets the clock, computing the weekday from the date.
    void setClock(int year, int month, int day, int hour, int minute, int second);

    // --- records ------------------------------------------------------------
    struct CharMessage {
        std::uint64_t window;
        unsigned char byte;
    };
    struct Message {
        Text title, text;
        Buttons buttons;
    };
    std::vector<CharMessage> chars;
    std::vector<Key> keys;
    Text clipboard;
    std::vector<Message> messages;
    std::vector<Text> opened;
    std::vector<std::string> downloads;  // the addresses asked for
    std::vector<DownloadLimits> downloadLimits;  // and the limits of each
    std::vector<Text> navigations;
    std::vector<Text> unavailable;       // the reasons the view was given instead of a page
    std::vector<Text> logged;
    int reloads = 0;
    bool noActivate = false, topmost = false;
    bool trayVisible = false;
    Text trayTip;
    int popups = 0;
    bool quitCalled = false;
    int settingsShown = 0;

    // Every byte delivered by character messages, in order.
    std::string typedBytes() const;

    // --- Services -------------------------------------------------------------
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
    bool replacePrivateFile(const Text& path, const std::string& bytes) override;
    bool fileExists(const Text& path) override;
    std::vector<Text> listFiles(const Text& folder, const Text& suffix) override;
    LayoutFacts layoutFacts() override;
    void log(const Text& message) override { logged.push_back(message); }
    void shellOpen(const Text& target) override;
    bool messageBox(const Text& title, const Text& text, Buttons buttons) override;
    DateTime now() override;
    Text dateText(const DateTime& t) override;
    Text timeText(const DateTime& t) override;
    void browserNavigate(const Text& path) override;
    void browserReload() override;
    PageDocument* browserDocument() override;
    bool browserReady() override { return browserIsReady; }
    void setNoActivate() override;
    void setTopmost() override;
    void screenSize(int& width, int& height) override;
    void trayAdd(const Text& tip) override;
    void trayRemove() override;
    void popupMenu() override;
    void quit() override;
    void settingsOpened() override;

    // --- Telling failures ---------------------------------------------------
    Text lastFileError() override;
    Text absolutePath(const Text& path) override;
    // In the fake's own temporary folder, as a new file there.
    Text writePrivateFile(const Text& name, const std::string& bytes) override;
    void browserUnavailable(const Text& reason) override { unavailable.push_back(reason); }

private:
    std::string tempDir_;  // native; created on first use, removed with the fake
};

}  // namespace lumiko
