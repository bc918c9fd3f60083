// The handwriting page's private folder on Linux: where it goes, what it
// refuses to follow or reuse, and its removal when the program ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "platform/posix/files.h"

namespace lumiko::posix {
namespace {

namespace fs = std::filesystem;

// Another account of the machine: the test plants files as root and gives
// them to it.
constexpr uid_t kOther = 65534;

class PrivatePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "lumiko-page-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"})
            if (const char* v = std::getenv(name)) saved_.emplace_back(name, v);
        fs::create_directory(dir_ / "tmp");
        setenv("TMPDIR", (dir_ / "tmp").c_str(), 1);
    }
    void TearDown() override {
        removePrivateFiles();
        unsetenv("XDG_RUNTIME_DIR");
        unsetenv("TMPDIR");
        for (const auto& [name, value] : saved_) setenv(name.c_str(), value.c_str(), 1);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    static std::string get(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    static mode_t modeOf(const fs::path& p) {
        struct stat st {};
        return ::lstat(p.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
    }

    fs::path dir_;
    std::vector<std::pair<std::string, std::string>> saved_;
};

// Each case prepares the session's runtime folder (or none) and says where
// the page must land: in it, or in a fresh folder of the temporary-files
// folder. Whatever was planted stays as it was.
TEST_F(PrivatePageTest, GoesToAPrivateFolderOfItsOwnAndNowhereElse) {
    const bool root = ::geteuid() == 0;
    struct Case {
        const char* what;
        std::function<std::optional<std::string>(const fs::path& run)> prepare;  // XDG_RUNTIME_DIR, or none
        bool inRuntime;
        bool needsRoot = false;
    };
    const auto privateRun = [](const fs::path& run) {
        fs::create_directory(run);
        ::chmod(run.c_str(), 0700);
        return std::optional<std::string>(run.string());
    };
    const Case cases[] = {
        {"runtime folder", privateRun, true},
        {"runtime folder with our folder already there",
         [&](const fs::path& run) {
             privateRun(run);
             fs::create_directory(run / "lumiko");
             ::chmod((run / "lumiko").c_str(), 0700);
             return std::optional<std::string>(run.string() + "/");
         },
         true},
        {"no runtime folder", [](const fs::path&) { return std::optional<std::string>(); }, false},
        {"relative runtime folder", [](const fs::path&) { return std::optional<std::string>("run"); }, false},
        {"runtime folder open to others",
         [](const fs::path& run) {
             fs::create_directory(run);
             ::chmod(run.c_str(), 0755);
             return std::optional<std::string>(run.string());
         },
         false},
        {"our folder there open to others",
         [&](const fs::path& run) {
             privateRun(run);
             fs::create_directory(run / "lumiko");
             ::chmod((run / "lumiko").c_str(), 0777);
             return std::optional<std::string>(run.string());
         },
         false},
        {"our folder there a link to another folder",
         [&](const fs::path& run) {
             privateRun(run);
             fs::create_directory(dir_ / "elsewhere");
             ::chmod((dir_ / "elsewhere").c_str(), 0700);
             fs::create_directory_symlink(dir_ / "elsewhere", run / "lumiko");
             return std::optional<std::string>(run.string());
         },
         false},
        {"our folder there a named pipe",
         [&](const fs::path& run) {
             privateRun(run);
             ::mkfifo((run / "lumiko").c_str(), 0600);
             return std::optional<std::string>(run.string());
         },
         false},
        {"runtime folder of another account",
         [&](const fs::path& run) {
             privateRun(run);
             EXPECT_EQ(::chown(run.c_str(), kOther, kOther), 0);
             return std::optional<std::string>(run.string());
         },
         false, true},
        {"our folder there made by another account",
         [&](const fs::path& run) {
             privateRun(run);
             fs::create_directory(run / "lumiko");
             ::chmod((run / "lumiko").c_str(), 0700);
             EXPECT_EQ(::chown((run / "lumiko").c_str(), kOther, kOther), 0);
             return std::optional<std::string>(run.string());
         },
         false, true},
    };
    const std::string page = "<html>页</html>";
    bool pipeAtOldName = false;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsRoot && !root) continue;
        const fs::path run = dir_ / "run";
        std::error_code ec;
        fs::remove_all(run, ec);
        fs::remove_all(dir_ / "elsewhere", ec);
        if (const auto value = c.prepare(run)) setenv("XDG_RUNTIME_DIR", value->c_str(), 1);
        else unsetenv("XDG_RUNTIME_DIR");
        // The old place of the page holds a link to one of the user's files
        // or a named pipe, in turn: neither is touched, nor waited for.
        std::ofstream(dir_ / "victim") << "secret";
        fs::remove(dir_ / "tmp" / "s1.html", ec);
        if ((pipeAtOldName = !pipeAtOldName)) ASSERT_EQ(::mkfifo((dir_ / "tmp" / "s1.html").c_str(), 0644), 0);
        else fs::create_symlink(dir_ / "victim", dir_ / "tmp" / "s1.html");

        const Text written = writePrivateFile("s1.html", page);
        ASSERT_FALSE(written.empty()) << lastFileError();
        const fs::path file = nativePath(written);
        const fs::path folder = file.parent_path();
        EXPECT_EQ(file.filename(), "s1.html");
        EXPECT_EQ(folder.parent_path(), c.inRuntime ? run / "lumiko" : dir_ / "tmp");
        EXPECT_EQ(get(file), page);
        EXPECT_EQ(modeOf(file), 0600u);
        EXPECT_EQ(modeOf(folder), 0700u);
        if (c.inRuntime) {
            EXPECT_EQ(modeOf(run / "lumiko"), 0700u);
        }
        EXPECT_EQ(get(dir_ / "victim"), "secret");
        EXPECT_TRUE(pipeAtOldName ? fs::is_fifo(dir_ / "tmp" / "s1.html") : fs::is_symlink(dir_ / "tmp" / "s1.html"));
        EXPECT_FALSE(fs::exists(dir_ / "elsewhere" / "s1.html"));

        // A second write (a restart of the view) takes a new folder and
        // gives up the first one.
        const Text again = writePrivateFile("s1.html", page);
        EXPECT_NE(again, written);
        EXPECT_FALSE(fs::exists(folder));
        removePrivateFiles();
        EXPECT_FALSE(fs::exists(nativePath(again)));
        EXPECT_FALSE(fs::exists(fs::path(nativePath(again)).parent_path()));
    }
}

// The new file is made new: a link or a pipe standing at its name fails the
// write at once, and nothing is written where the link points.
TEST_F(PrivatePageTest, ANewFileNeverFollowsOrReusesWhatStandsThere) {
    std::ofstream(dir_ / "victim") << "secret";
    fs::create_symlink(dir_ / "victim", dir_ / "link");
    fs::create_symlink(dir_ / "nothing", dir_ / "dangling");
    ASSERT_EQ(::mkfifo((dir_ / "pipe").c_str(), 0600), 0);
    std::ofstream(dir_ / "file") << "old";
    for (const char* name : {"link", "dangling", "pipe", "file"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(writeNewFile(corePath((dir_ / name).string()), "page"));
        EXPECT_FALSE(lastFileError().empty());
    }
    EXPECT_EQ(get(dir_ / "victim"), "secret");
    EXPECT_FALSE(fs::exists(dir_ / "nothing"));
    EXPECT_EQ(get(dir_ / "file"), "old");
    // A folder that cannot be written to tells why.
    unsetenv("XDG_RUNTIME_DIR");
    setenv("TMPDIR", (dir_ / "missing").c_str(), 1);
    EXPECT_TRUE(writePrivateFile("s1.html", "page").empty());
    EXPECT_FALSE(lastFileError().empty());
}

// The folder goes with the program: at a normal exit and when a signal
// ends it (still ending it as that signal would).
TEST_F(PrivatePageTest, IsRemovedWhenTheProgramEnds) {
    unsetenv("XDG_RUNTIME_DIR");
    for (const int signal : {0, SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(fds[0]);
            removePrivateFilesOnSignals();
            const std::string path = nativePath(writePrivateFile("s1.html", "page")) + "\n";
            if (::write(fds[1], path.data(), path.size()) < 0) ::_exit(3);
            if (signal != 0) ::raise(signal);
            std::exit(0);
        }
        ::close(fds[1]);
        std::string path;
        char c;
        while (::read(fds[0], &c, 1) == 1 && c != '\n') path += c;
        ::close(fds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        if (signal == 0) EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        else EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal);
        ASSERT_EQ(fs::path(path).parent_path().parent_path(), dir_ / "tmp");
        EXPECT_FALSE(fs::exists(fs::path(path).parent_path())) << path;
    }
}

}  // namespace
}  // namespace lumiko::posix
