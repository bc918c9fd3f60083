// Starting with the session on Linux: the desktop entry in the user's
// autostart folder (a scratch $XDG_CONFIG_HOME), its Exec quoting, and what
// the XDG autostart rules say about entries of the same name.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <utility>
#include <vector>
#include <sstream>

#include "platform/posix/autostart.h"

namespace lumiko::posix {
namespace {

namespace fs = std::filesystem;

std::string utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "lumiko-autostart-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        remember("XDG_CONFIG_HOME");
        remember("XDG_CONFIG_DIRS");
        remember("HOME");
        setenv("XDG_CONFIG_HOME", (dir_ / "config").c_str(), 1);
        setenv("XDG_CONFIG_DIRS", (dir_ / "etc1").string().append(":").append((dir_ / "etc2").string()).c_str(), 1);
        setenv("HOME", (dir_ / "home").c_str(), 1);
    }
    void TearDown() override {
        for (const auto& [name, value] : saved_) {
            if (value) setenv(name.c_str(), value->c_str(), 1);
            else unsetenv(name.c_str());
        }
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    void remember(const char* name) {
        const char* v = std::getenv(name);
        saved_.emplace_back(name, v ? std::optional<std::string>(v) : std::nullopt);
    }
    static std::string read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static void put(const fs::path& p, const std::string& text) {
        fs::create_directories(p.parent_path());
        std::ofstream(p, std::ios::binary) << text;
    }
    fs::path userEntry() const { return dir_ / "config/autostart/lumiko.desktop"; }

    fs::path dir_;
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST_F(AutostartTest, ExecArgumentsAreQuotedAndEscapedAsTheDesktopEntryRulesSay) {
    struct Case {
        std::string argument, value;
        bool ok;
    } cases[] = {
        {"/usr/bin/lumiko", "/usr/bin/lumiko", true},
        {"/opt/my apps/lumiko", "\"/opt/my apps/lumiko\"", true},
        {"/home/a/100%/lumiko", "/home/a/100%%/lumiko", true},
        {"/home/a/$x`y\"z/lumiko", "\"/home/a/\\\\$x\\\\`y\\\\\"z/lumiko\"", true},
        {"/home/a\\b/lumiko", "\"/home/a\\\\\\\\b/lumiko\"", true},
        {"/home/a'b/(1)/lumiko", "\"/home/a'b/(1)/lumiko\"", true},
        {"/home/a\nb/lumiko", "\"/home/a\\nb/lumiko\"", true},
        {utf8(u8"/home/李/程序/lumiko"), utf8(u8"/home/李/程序/lumiko"), true},
        {"/home/\xff\xfe/lumiko", "", false},  // not UTF-8
        {"/home/a\x01/lumiko", "", false},
        {"", "", false},
    };
    for (const auto& c : cases) {
        std::string value;
        EXPECT_EQ(desktopExecArgument(c.argument, value), c.ok) << c.argument;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.argument;
        }
    }
}

TEST_F(AutostartTest, HiddenOrDisabledEntriesStartNothing) {
    struct Case {
        const char* entry;
        bool enabled;
    } cases[] = {
        {"[Desktop Entry]\nExec=lumiko\n", true},
        {"[Desktop Entry]\nExec=lumiko\nHidden=true\n", false},
        {"[Desktop Entry]\r\nHidden = true\r\n", false},
        {"[Desktop Entry]\nHidden=false\n", true},
        {"[Desktop Entry]\nX-GNOME-Autostart-enabled=false\n", false},
        {"[Desktop Entry]\nExec=lumiko\n[Desktop Action x]\nHidden=true\n", true},  // another group's key
        {"", true},
    };
    for (const auto& c : cases) EXPECT_EQ(autostartEntryEnabled(c.entry), c.enabled) << c.entry;
}

TEST_F(AutostartTest, TheEntryAppearsInTheUsersFolderAndGoesAway) {
    const std::string program = utf8(u8"/opt/Lumiko 输入法/bin/lumiko");
    XdgSessionStart start(program);
    EXPECT_EQ(XdgSessionStart::userEntryPath(), userEntry().string());
    EXPECT_FALSE(start.startsWithSession());  // off by default

    Text problem;
    ASSERT_TRUE(start.setStartsWithSession(true, problem)) << problem;
    EXPECT_TRUE(start.startsWithSession());
    const std::string entry = read(userEntry());
    EXPECT_NE(entry.find("[Desktop Entry]\nType=Application\n"), std::string::npos);
    EXPECT_NE(entry.find(utf8(u8"\nExec=\"/opt/Lumiko 输入法/bin/lumiko\"\n")), std::string::npos) << entry;
    EXPECT_NE(entry.find(utf8(u8"\nTryExec=/opt/Lumiko 输入法/bin/lumiko\n")), std::string::npos) << entry;
    EXPECT_EQ(entry, autostartEntry(program));
    // Turned on again: the same entry, no stray files beside it.
    ASSERT_TRUE(start.setStartsWithSession(true, problem)) << problem;
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "config/autostart"), fs::directory_iterator()), 1);

    ASSERT_TRUE(start.setStartsWithSession(false, problem)) << problem;
    EXPECT_FALSE(start.startsWithSession());
    EXPECT_FALSE(fs::exists(userEntry()));
    ASSERT_TRUE(start.setStartsWithSession(false, problem)) << problem;  // already off
    // Only the user's folders were written.
    EXPECT_FALSE(fs::exists(dir_ / "etc1"));
    EXPECT_FALSE(fs::exists(dir_ / "home"));

    // Without XDG_CONFIG_HOME (or with a relative one) the entry goes to ~/.config.
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    EXPECT_EQ(XdgSessionStart::userEntryPath(), (dir_ / "home/.config/autostart/lumiko.desktop").string());
    ASSERT_TRUE(start.setStartsWithSession(true, problem)) << problem;
    EXPECT_TRUE(fs::exists(dir_ / "home/.config/autostart/lumiko.desktop"));
}

TEST_F(AutostartTest, TheRunningProgramIsWhatStarts) {
    XdgSessionStart start;
    Text problem;
    ASSERT_TRUE(start.setStartsWithSession(true, problem)) << problem;
    const std::string self = fs::read_symlink("/proc/self/exe").string();
    std::string exec;
    ASSERT_TRUE(desktopExecArgument(self, exec));
    EXPECT_NE(read(userEntry()).find("\nExec=" + exec + "\n"), std::string::npos);
}

TEST_F(AutostartTest, ASystemEntryIsHiddenByTheUsersAndCountsUntilThen) {
    put(dir_ / "etc2/autostart/lumiko.desktop", "[Desktop Entry]\nExec=/usr/bin/lumiko\n");
    XdgSessionStart start("/usr/bin/lumiko");
    EXPECT_TRUE(start.startsWithSession());
    Text problem;
    ASSERT_TRUE(start.setStartsWithSession(false, problem)) << problem;
    EXPECT_FALSE(start.startsWithSession());
    EXPECT_NE(read(userEntry()).find("\nHidden=true\n"), std::string::npos);
    ASSERT_TRUE(start.setStartsWithSession(true, problem)) << problem;
    EXPECT_TRUE(start.startsWithSession());
    EXPECT_EQ(read(userEntry()).find("Hidden"), std::string::npos);
    // A system entry that is itself hidden leaves the user's removal plain.
    put(dir_ / "etc1/autostart/lumiko.desktop", "[Desktop Entry]\nHidden=true\n");
    ASSERT_TRUE(start.setStartsWithSession(false, problem)) << problem;
    EXPECT_FALSE(fs::exists(userEntry()));
    EXPECT_FALSE(start.startsWithSession());
}

TEST_F(AutostartTest, FailuresSayWhereAndWhy) {
    // A file where the autostart folder should be (root writes into any folder).
    put(dir_ / "config/autostart", "not a folder");
    XdgSessionStart start("/usr/bin/lumiko");
    Text problem;
    EXPECT_FALSE(start.setStartsWithSession(true, problem));
    EXPECT_NE(problem.find((dir_ / "config/autostart").string()), std::string::npos) << problem;
    EXPECT_FALSE(start.startsWithSession());
    // The entry's place taken by a folder: it cannot be removed.
    fs::remove(dir_ / "config/autostart");
    fs::create_directories(userEntry() / "inside");
    problem.clear();
    EXPECT_FALSE(start.setStartsWithSession(false, problem));
    EXPECT_NE(problem.find(userEntry().string()), std::string::npos) << problem;
    // A program path no entry can hold.
    XdgSessionStart bad("relative/lumiko");
    problem.clear();
    EXPECT_FALSE(bad.setStartsWithSession(true, problem));
    EXPECT_NE(problem.find("relative/lumiko"), std::string::npos) << problem;
}

}  // namespace
}  // namespace lumiko::posix
