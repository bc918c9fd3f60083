// Everything the core asks of the platform: the front-ends implement it with
// the real system (X11/Qt, Win32), the tests and the simulator with a
// recording fake. All texts crossing this interface are GBK bytes; paths are
// GBK texts with '\' separators, as the core builds them, and each
// implementation maps them to its own file system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/gbktext.h"
#include "platform/filelayout.h"

namespace lumiko {

enum class Key { Backspace, Space, Enter, CtrlV };

enum class Buttons { Ok, YesNo };

struct DateTime {
    int year = 2026, month = 1, day = 1;
    int weekday = 5;  // 1 = Sunday … 7 = Saturday
    int hour = 0, minute = 0, second = 0;
};

// One element of the document shown in the browser view.
class PageElement {
public:
    virtual ~PageElement() = default;
    virtual Text value() const = 0;
    virtual void setValue(const Text& v) = 0;
    virtual Text innerText() const = 0;
    virtual Text href() const = 0;
    virtual void click() = 0;
};

// The document shown in the browser view.
class PageDocument {
public:
    virtual ~PageDocument() = default;
    // First element of getElementsByName(name), or null.
    virtual std::shared_ptr<PageElement> elementByName(const Text& name) = 0;
    virtual std::shared_ptr<PageElement> elementById(const Text& id) = 0;
    // getElementsByTagName("a"), in document order.
    virtual std::vector<std::shared_ptr<PageElement>> links() = 0;
};

// Typing into the application that has the keyboard focus, and the
// conversions of the text typed.
class Typing {
public:
    virtual ~Typing() = default;
    // Focus tracking: the handle of the focused window of the foreground
    // application; false when the query fails.
    virtual bool focusedWindow(std::uint64_t& handle) = 0;
    // Character messages to a window, one for each byte of the GBK text, in
    // order, handed over in one call (the receiving side puts the bytes of
    // a character together again: platform/delivery.h).
    virtual void sendChars(std::uint64_t window, const Text& bytes) = 0;
    // A synthesised press and release, reaching the focused window.
    virtual void sendKey(Key key) = 0;
    virtual void setClipboard(const Text& text) = 0;

    virtual Text toTraditional(const Text& text) = 0;
    // Every reading of the text, most common first.
    virtual std::vector<Text> pinyinReadings(const Text& text) = 0;
};

// Files and folders.
class Files {
public:
    virtual ~Files() = default;
    // The temporary-files folder, ending with '\'.
    virtual Text tempFolder() = 0;
    // The executable's folder, without a trailing separator.
    virtual Text exeFolder() = 0;
    // Files: a missing or unreadable file reads as false/empty.
    virtual bool readFile(const Text& path, std::string& bytes) = 0;
    virtual bool writeFile(const Text& path, const std::string& bytes) = 0;
    // Replaces the file's content so that a crash leaves either the old or the
    // new content (write beside, then rename over).
    virtual bool replaceFile(const Text& path, const std::string& bytes) = 0;
    // The same for a file only its user may read (mode 0600 where files have
    // modes); by default replaceFile.
    virtual bool replacePrivateFile(const Text& path, const std::string& bytes) { return replaceFile(path, bytes); }
    virtual bool fileExists(const Text& path) = 0;
    // Names (with extension, without folder) of the files in `folder` whose
    // names end with `suffix`, in the order the file system returns them.
    virtual std::vector<Text> listFiles(const Text& folder, const Text& suffix) = 0;
    // Where the tables and the user's files are, found once at start-up. May
    // create the user's folders that the layout needs.
    virtual LayoutFacts layoutFacts() = 0;
    // Hands a file, folder or address to the desktop's default handler.
    virtual void shellOpen(const Text& target) = 0;
    // Tells the developer, not the user, of a failure (a table that cannot
    // be read): one line on standard error or in the debugger's output.
    virtual void log(const Text& message) = 0;

    // --- Telling failures ------------------------------------------------
    // Added with the hardening of file handling; kept apart from the
    // services above so that each front-end's part of it reads as one piece.
    //
    // readFile reads regular files only, and none larger than kMaxFileBytes
    // (such a file reads as false, never cut short). After readFile,
    // writeFile or replaceFile returned false, the system's reason in words
    // (GBK; a short English text where the refusal is the program's own);
    // empty after a call that succeeded.
    virtual Text lastFileError() = 0;
    // The file or folder the system reaches through a core path, absolute
    // and spelled as the system spells paths (for messages).
    virtual Text absolutePath(const Text& path) = 0;

    // --- The handwriting page's place ----------------------------------------
    // Writes `bytes` as the new file `name` in a folder of this user's that
    // no other account can reach, made for this run and removed when the
    // program ends; nothing that stood there before (a file, a link, a pipe)
    // is followed, opened or reused. The file's path, or an empty text with
    // the reason in lastFileError().
    virtual Text writePrivateFile(const Text& name, const std::string& bytes) = 0;

    // Gives the memory freed since start-up back to the system where the
    // allocator keeps it otherwise (called once the tables' indexes are
    // made, whose making frees as much again as they keep); by default nothing.
    virtual void returnFreedMemory() {}
};

// The largest file readFile reads: well above the largest shipped table
// (under 1 MiB), small enough that a wrong file chosen by mistake cannot
// exhaust memory.
constexpr std::uint64_t kMaxFileBytes = 64u << 20;

// The desktop: the panel window, the tray and its menu, message boxes, the
// local clock.
class DesktopWindow {
public:
    virtual ~DesktopWindow() = default;
    virtual void setNoActivate() = 0;
    virtual void setTopmost() = 0;
    virtual void screenSize(int& width, int& height) = 0;
    // Tray icon and popup menu.
    virtual void trayAdd(const Text& tip) = 0;
    virtual void trayRemove() = 0;
    virtual void popupMenu() = 0;
    // Ends the program after the current handler.
    virtual void quit() = 0;
    // The dictionary settings window was created or needs redrawing.
    virtual void settingsOpened() = 0;
    // A message box with the information icon; true when answered Yes.
    virtual bool messageBox(const Text& title, const Text& text, Buttons buttons) = 0;

    virtual DateTime now() = 0;
    // The platform's text forms of a date-only value, of the date part and of
    // the time part of a date-time.
    virtual Text dateText(const DateTime& t) = 0;
    virtual Text timeText(const DateTime& t) = 0;
};

// What one download may cost: at most `maxBytes` of the body are read (a
// longer body gives its first maxBytes; the rest is never fetched), and the
// request, redirects included, is given up after `timeoutMs`.
struct DownloadLimits {
    std::size_t maxBytes = 1 << 20;
    long timeoutMs = 10000;
};

class Network {
public:
    virtual ~Network() = default;
    // 1 when the computer is connected to a network.
    virtual int networkState() = 0;
    // The body of an HTTP GET, within the limits; false (and an empty body)
    // on failure, a timeout included.
    virtual bool download(const std::string& url, std::string& body, const DownloadLimits& limits) = 0;
};

// The browser view: navigation, reload, and its document (null when no
// document can be reached). A front-end may make the view only when the page
// is first shown: until then it keeps the address it was sent to, a reload
// does nothing and there is no document.
class Browser {
public:
    virtual ~Browser() = default;
    virtual void browserNavigate(const Text& path) = 0;
    virtual void browserReload() = 0;
    virtual PageDocument* browserDocument() = 0;
    // True once the view has been made and its first page has loaded (or had
    // the time to): the pad is opened no earlier. A front-end that makes the
    // view at start-up and needs no wait keeps the default.
    virtual bool browserReady() { return true; }
    // The page cannot be shown (it could not be written): the view is sent
    // nowhere and shows `reason` (GBK) where the page would be.
    virtual void browserUnavailable(const Text& reason) = 0;
};

// Starting the panel with the user's session: the panel's entry in the
// list of programs the session starts at login (the XDG autostart folder on
// Linux, the user's Run key on Windows). Kept apart from Services: only a
// desktop panel offers it, through the shell's menu.
class SessionStart {
public:
    virtual ~SessionStart() = default;
    // True when the session will start the panel at the next login, as the
    // system's own list says now.
    virtual bool startsWithSession() = 0;
    // Adds or removes the panel's entry; false, with the reason in words
    // (GBK) in `problem`, when that failed.
    virtual bool setStartsWithSession(bool on, Text& problem) = 0;
};

// Everything the core asks of the platform, in one object: a front-end
// implements all of it; parts of the core that need one service take that
// interface alone.
class Services : public Typing, public Files, public DesktopWindow, public Network, public Browser {};

}  // namespace lumiko
