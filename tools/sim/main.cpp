// lumiko-sim: runs the panel headless over a recording fake of the desktop,
// driven by commands on standard input.
#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <string>

#include "platform/posix/files.h"
#include "simulator.h"

namespace {

constexpr const char* kUsage = "usage: lumiko-sim [--dir DIR] [--exe-dir DIR] [--user-dir DIR] [--screen WxH]";

int usage(const std::string& problem) {
    std::cerr << "lumiko-sim: " << problem << '\n' << kUsage << '\n';
    return 2;
}

std::string currentDir() {
    std::string dir;
    if (char* cwd = ::getcwd(nullptr, 0)) {
        dir = cwd;
        std::free(cwd);
    }
    return dir;
}

// The absolute form of `path` (relative to `base`), resolved when it exists.
std::string absolute(const std::string& path, const std::string& base) {
    const std::string joined = !path.empty() && path.front() == '/' ? path : base + "/" + path;
    if (char* real = ::realpath(joined.c_str(), nullptr)) {
        std::string resolved = real;
        std::free(real);
        return resolved;
    }
    return joined;
}

bool parseScreen(const std::string& s, int& w, int& h) {
    const size_t x = s.find('x');
    if (x == std::string::npos || x == 0 || x + 1 >= s.size() || s.size() > 15) return false;
    for (size_t i = 0; i < s.size(); ++i)
        if (i != x && (s[i] < '0' || s[i] > '9')) return false;
    const long lw = std::stol(s.substr(0, x)), lh = std::stol(s.substr(x + 1));
    if (lw < 1 || lh < 1 || lw > 100000 || lh > 100000) return false;
    w = static_cast<int>(lw);
    h = static_cast<int>(lh);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string dir, exeDir, userDir;
    int width = 1024, height = 768;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage << '\n';
            return 0;
        }
        if (arg != "--dir" && arg != "--exe-dir" && arg != "--user-dir" && arg != "--screen")
            return usage("unknown option " + arg);
        if (i + 1 >= argc) return usage(arg + " needs a value");
        const std::string value = argv[++i];
        if (arg == "--dir") dir = value;
        else if (arg == "--exe-dir") exeDir = value;
        else if (arg == "--user-dir") userDir = value;
        else if (!parseScreen(value, width, height)) return usage("malformed screen size " + value + " (WxH)");
    }

    const std::string start = currentDir();
    if (!dir.empty() && ::chdir(dir.c_str()) != 0) return usage("cannot enter " + dir);
    const std::string workDir = currentDir();
    std::string exeFolder = exeDir.empty() ? workDir : absolute(exeDir, start);
    while (exeFolder.size() > 1 && exeFolder.back() == '/') exeFolder.pop_back();

    lumiko::FakeServices desktop;
    desktop.screenWidth = width;
    desktop.screenHeight = height;
    desktop.exeDir = lumiko::posix::corePath(exeFolder);
    // The tables of the working folder; the user's choice beside them, or in
    // --user-dir (as when that folder is not writable), which keeps the
    // shipped data as it is.
    desktop.layout.workingFolder = lumiko::posix::corePath(workDir);
    if (!userDir.empty()) {
        const lumiko::Text user = lumiko::posix::corePath(absolute(userDir, start));
        desktop.layout.workingWritable = false;
        desktop.layout.userFolder = user;
        desktop.layout.userDictionaries = user + "\\字典";
    }

    lumiko::App app(desktop);
    app.startUp();
    lumiko::sim::Simulator sim(app, desktop);
    std::ios::sync_with_stdio(false);
    return sim.run(std::cin, std::cout, std::cerr);
}
