// The Linux panel's layout facts: working-folder tables, the installed
// tables found from the executable's folder, and the user's XDG folders.
#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/posix/files.h"
#include "platform/posix/layout.h"

namespace lumiko::posix {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for the life of the object.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class LayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        std::string tmpl = (fs::temp_directory_path() / "lumiko-layout-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        // An installed tree: <prefix>/bin and <prefix>/share/lumiko/词库.
        fs::create_directories(dir_ / "usr/bin");
        fs::create_directories(dir_ / "usr/share/lumiko" / u8"词库");
        fs::create_directories(dir_ / "work");
        fs::current_path(dir_ / "work");
    }
    void TearDown() override {
        fs::current_path(previous_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    std::string bin() const { return (dir_ / "usr/bin").string(); }
    Text core(const fs::path& p) const { return corePath(p.lexically_normal().string()); }

    fs::path previous_, dir_;
};

TEST_F(LayoutTest, InstalledTablesAndTheUsersXdgFolders) {
    ScopedEnv config("XDG_CONFIG_HOME", (dir_ / "cfg").c_str());
    ScopedEnv data("XDG_DATA_HOME", (dir_ / "data").c_str());
    const LayoutFacts f = discoverLayout(bin());
    EXPECT_FALSE(f.workingTables);
    EXPECT_FALSE(f.installedWritable);
    EXPECT_EQ(core(nativePath(f.installedTables)), core(dir_ / "usr/share/lumiko" / u8"词库"));
    EXPECT_EQ(f.userFolder, core(dir_ / "cfg/lumiko"));
    EXPECT_EQ(f.userDictionaries, core(dir_ / "data/lumiko" / u8"词库" / u8"字典"));
    EXPECT_EQ(f.workingFolder, core(dir_ / "work"));
    // Made, so that the settings window can save and open them.
    EXPECT_TRUE(fs::is_directory(dir_ / "cfg/lumiko"));
    EXPECT_TRUE(fs::is_directory(dir_ / "data/lumiko" / u8"词库" / u8"字典"));
}

TEST_F(LayoutTest, XdgFoldersFallBackToHome) {
    struct Case {
        const char* config;  // XDG_CONFIG_HOME, null for unset
        const char* data;
    };
    // Unset, empty and relative values all mean the default under $HOME.
    const Case cases[] = {{nullptr, nullptr}, {"", ""}, {"relative/cfg", "relative/data"}};
    ScopedEnv home("HOME", (dir_ / "home").c_str());
    for (const auto& c : cases) {
        ScopedEnv config("XDG_CONFIG_HOME", c.config);
        ScopedEnv data("XDG_DATA_HOME", c.data);
        const LayoutFacts f = discoverLayout(bin());
        EXPECT_EQ(f.userFolder, core(dir_ / "home/.config/lumiko"));
        EXPECT_EQ(f.userDictionaries, core(dir_ / "home/.local/share/lumiko" / u8"词库" / u8"字典"));
    }
    EXPECT_FALSE(fs::exists("relative"));
}

// Without a usable HOME (unset, relative, or the root every user shares) the
// home folder is the password database's, never /tmp or /.
TEST_F(LayoutTest, WithoutHomeThePasswordDatabaseNamesIt) {
    const passwd* me = ::getpwuid(::getuid());
    ASSERT_NE(me, nullptr);
    const std::string own = me->pw_dir;
    ScopedEnv config("XDG_CONFIG_HOME", "relative/cfg");
    for (const char* value : {static_cast<const char*>(nullptr), "", "relative/home", "/"}) {
        SCOPED_TRACE(value ? value : "unset");
        ScopedEnv home("HOME", value);
        EXPECT_EQ(homeFolder(), own == "/" ? "" : own);
        EXPECT_EQ(configHome(), own == "/" ? "" : own + "/.config");
    }
    ScopedEnv home("HOME", (dir_ / "home").c_str());
    EXPECT_EQ(homeFolder(), (dir_ / "home").string());
}

TEST_F(LayoutTest, WorkingFolderTablesWinAndKeepTheirOwnChoice) {
    ScopedEnv config("XDG_CONFIG_HOME", (dir_ / "cfg").c_str());
    fs::create_directories(u8"词库");
    const LayoutFacts f = discoverLayout(bin());
    EXPECT_TRUE(f.workingTables);
    EXPECT_TRUE(f.workingWritable);
    // Nothing is made in the user's folders for a portable program.
    EXPECT_FALSE(fs::exists(dir_ / "cfg"));
}

TEST_F(LayoutTest, StartedInTheInstalledFolderItStillWritesToTheUsersFolder) {
    ScopedEnv config("XDG_CONFIG_HOME", (dir_ / "cfg").c_str());
    fs::current_path(dir_ / "usr/share/lumiko");
    const LayoutFacts f = discoverLayout(bin());
    EXPECT_TRUE(f.workingTables);
    EXPECT_FALSE(f.workingWritable);
    EXPECT_TRUE(fs::is_directory(dir_ / "cfg/lumiko"));
}

}  // namespace
}  // namespace lumiko::posix
