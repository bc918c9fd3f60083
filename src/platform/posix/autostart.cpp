#include "platform/posix/autostart.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/posix/encoding.h"
#include "platform/posix/files.h"

namespace lumiko::posix {

namespace {

constexpr const char* kEntryName = "lumiko.desktop";

// The characters that make an Exec argument need quotes.
constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#`()";

std::string configHome() {
    if (const char* v = std::getenv("XDG_CONFIG_HOME"); v && v[0] == '/') return v;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "/tmp") + "/.config";
}

// The system's autostart folders, most important first.
std::vector<std::string> systemAutostartFolders() {
    const char* v = std::getenv("XDG_CONFIG_DIRS");
    const std::string dirs = v && *v ? v : "/etc/xdg";
    std::vector<std::string> folders;
    for (size_t start = 0; start <= dirs.size();) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        const std::string dir = dirs.substr(start, end - start);
        if (!dir.empty() && dir[0] == '/') folders.push_back(dir + "/autostart/");
        start = end + 1;
    }
    return folders;
}

std::string runningProgram() {
    char buf[PATH_MAX];
    const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

bool readNative(const std::string& path, std::string& bytes) { return readFile(corePath(path), bytes); }

bool makeFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
        const std::string part = path.substr(0, slash);
        if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
        if (slash == std::string::npos) break;
    }
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

Text reason(const std::string& path, const Text& why) { return utf8ToGbk(path) + ": " + why; }

// The entry that decides now: the user's, else the first system one.
bool decidingEntry(std::string& text) {
    if (readNative(XdgSessionStart::userEntryPath(), text)) return true;
    for (const std::string& folder : systemAutostartFolders())
        if (readNative(folder + kEntryName, text)) return true;
    return false;
}

bool systemEntryEnabled() {
    std::string text;
    for (const std::string& folder : systemAutostartFolders())
        if (readNative(folder + kEntryName, text)) return autostartEntryEnabled(text);
    return false;
}

}  // namespace

bool desktopExecArgument(const std::string& argument, std::string& value) {
    if (argument.empty() || gbkToUtf8(utf8ToGbk(argument)) != argument) return false;
    bool quote = false;
    for (const char c : argument) {
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n') return false;
        if (c == 0x7f) return false;
        if (kReserved.find(c) != std::string_view::npos) quote = true;
    }
    // The Exec rules first: quotes, a backslash before " ` $ \ inside them,
    // "%%" for a percent sign.
    std::string exec = quote ? "\"" : "";
    for (const char c : argument) {
        if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) exec += '\\';
        exec += c;
        if (c == '%') exec += '%';
    }
    if (quote) exec += '"';
    // Then the value is a string: its backslashes and line breaks escaped.
    value.clear();
    for (const char c : exec) {
        if (c == '\\') value += "\\\\";
        else if (c == '\n') value += "\\n";
        else if (c == '\t') value += "\\t";
        else value += c;
    }
    return true;
}

std::string autostartEntry(const std::string& program) {
    std::string exec;
    if (program.empty() || program[0] != '/' || !desktopExecArgument(program, exec)) return {};
    // TryExec: a program removed since (the package uninstalled) starts
    // nothing, and the session says nothing about it.
    std::string tryExec;
    for (const char c : program) {
        if (c == '\\') tryExec += "\\\\";
        else if (c == '\n') tryExec += "\\n";
        else if (c == '\t') tryExec += "\\t";
        else tryExec += c;
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Lumiko输入法\n"
           "Comment=Mouse-driven Chinese character input panel\n"
           "Icon=lumiko\n"
           "TryExec=" + tryExec + "\n"
           "Exec=" + exec + "\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool autostartEntryEnabled(const std::string& entry) {
    bool inEntry = false;
    size_t start = 0;
    while (start < entry.size()) {
        size_t end = entry.find('\n', start);
        if (end == std::string::npos) end = entry.size();
        std::string_view line(entry.data() + start, end - start);
        start = end + 1;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.remove_suffix(1);
        if (!line.empty() && line.front() == '[') {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry) continue;
        const size_t eq = line.find('=');
        if (eq == std::string_view::npos) continue;
        std::string_view key = line.substr(0, eq), value = line.substr(eq + 1);
        while (!key.empty() && key.back() == ' ') key.remove_suffix(1);
        while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
        if (key == "Hidden" && value == "true") return false;
        if (key == "X-GNOME-Autostart-enabled" && value == "false") return false;
    }
    return true;
}

XdgSessionStart::XdgSessionStart(std::string program) : program_(std::move(program)) {}

std::string XdgSessionStart::userEntryPath() { return configHome() + "/autostart/" + kEntryName; }

bool XdgSessionStart::startsWithSession() {
    std::string text;
    return decidingEntry(text) && autostartEntryEnabled(text);
}

bool XdgSessionStart::setStartsWithSession(bool on, Text& problem) {
    const std::string path = userEntryPath();
    const std::string folder = path.substr(0, path.rfind('/'));
    if (!on && !systemEntryEnabled()) {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
            problem = reason(path, utf8ToGbk(std::strerror(errno)));
            return false;
        }
        return true;
    }
    std::string entry;
    if (on) {
        const std::string program = program_.empty() ? runningProgram() : program_;
        entry = autostartEntry(program);
        if (entry.empty()) {
            problem = reason(program, utf8ToGbk("the program's path cannot be written in a desktop entry"));
            return false;
        }
    } else {
        // A system entry of the same name starts the panel: the user's entry
        // hides it.
        entry = "[Desktop Entry]\nType=Application\nName=Lumiko输入法\nHidden=true\n";
    }
    if (!makeFolders(folder)) {
        problem = reason(folder, utf8ToGbk(std::strerror(errno)));
        return false;
    }
    if (!replaceFile(corePath(path), entry)) {
        problem = reason(path, lastFileError());
        return false;
    }
    if (startsWithSession() != on) {
        problem = reason(path, utf8ToGbk("the session's autostart entries still say otherwise"));
        return false;
    }
    return true;
}

}  // namespace lumiko::posix
