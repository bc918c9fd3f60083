// One panel per session: the lock in the user's private runtime folder, and
// a second start asking the first to show itself.
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/posix/onepanel.h"
#include "platform/posix/runtimefolder.h"

namespace lumiko::posix {
namespace {

namespace fs = std::filesystem;

class OnePanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "lumiko-run-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);  // 0700, as a session's runtime folder is
        dir_ = tmpl;
        ::setenv("XDG_RUNTIME_DIR", dir_.c_str(), 1);
    }
    void TearDown() override {
        ::unsetenv("XDG_RUNTIME_DIR");
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    fs::path dir_;
};

TEST_F(OnePanelTest, ASecondStartShowsTheFirstAndTheLockEndsWithIt) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t first = ::fork();
    ASSERT_GE(first, 0);
    if (first == 0) {  // the running panel: says when it holds the lock, then waits for a request
        OnePanel panel;
        std::string problem;
        if (panel.claim(problem) != OnePanel::Claim::Ours) ::_exit(2);
        const char byte = 1;
        if (::write(ready[1], &byte, 1) != 1) ::_exit(3);
        pollfd p{panel.requestFd(), POLLIN, 0};
        while (::poll(&p, 1, 10000) < 0) {
        }
        ::_exit(panel.takeRequests() ? 0 : 1);
    }
    ::close(ready[1]);
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    {
        OnePanel second;
        std::string problem;
        EXPECT_EQ(second.claim(problem), OnePanel::Claim::ShownOther);
        EXPECT_EQ(problem, "");
        EXPECT_EQ(second.requestFd(), -1);
    }
    int status = -1;
    ::waitpid(first, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the first panel heard no request";
    // Gone, it holds nothing: the next start is the panel.
    OnePanel next;
    std::string problem;
    EXPECT_EQ(next.claim(problem), OnePanel::Claim::Ours);
    EXPECT_FALSE(next.takeRequests());
    EXPECT_EQ(fs::status(dir_ / "lumiko").permissions(), fs::perms::owner_all);
}

// A folder others can reach is no place for the lock: the panel starts
// without the check and says why.
TEST_F(OnePanelTest, FoldersOthersCanReachAreRefused) {
    struct Case {
        const char* what;
        void (*prepare)(const fs::path& runtime);
        const char* reason;
    };
    const Case cases[] = {
        {"own folder open to others",
         [](const fs::path& r) {
             fs::create_directory(r / "lumiko");
             fs::permissions(r / "lumiko", fs::perms::all);
         },
         "open to other accounts"},
        {"own folder is a link", [](const fs::path& r) { fs::create_directory_symlink("/tmp", r / "lumiko"); },
         "not a folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        fs::remove_all(dir_ / "lumiko");
        fs::permissions(dir_, fs::perms::owner_all);
        c.prepare(dir_);
        std::string problem;
        EXPECT_EQ(privateRuntimeFolder(problem), "");
        EXPECT_NE(problem.find(c.reason), std::string::npos) << problem;
        OnePanel panel;
        EXPECT_EQ(panel.claim(problem), OnePanel::Claim::Unchecked);
    }
    fs::remove_all(dir_ / "lumiko");
    // Without a runtime folder, or with one open to others, the user's cache
    // folder holds it.
    ::setenv("XDG_CACHE_HOME", (dir_ / "cache").c_str(), 1);
    const std::string cache = (dir_ / "cache/lumiko").string();
    std::string problem;
    fs::permissions(dir_, fs::perms::all);
    EXPECT_EQ(privateRuntimeFolder(problem), cache);
    EXPECT_EQ(problem, "");
    fs::permissions(dir_, fs::perms::owner_all);
    ::unsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(privateRuntimeFolder(problem), cache);
    ::unsetenv("XDG_CACHE_HOME");
}

}  // namespace
}  // namespace lumiko::posix
