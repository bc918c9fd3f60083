// Core paths on the Linux file system: mapping, reading, atomic replace,
// listing.
#include <gtest/gtest.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/posix/files.h"
#include "platform/posix/zoomfile.h"
#include "platform/services.h"
#include "small_disk.h"

namespace lumiko::posix {
namespace {

namespace fs = std::filesystem;

std::string utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        std::string tmpl = (fs::temp_directory_path() / "lumiko-files-XXXXXX").string();
        ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
        dir_ = tmpl;
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    static void put(const fs::path& p, const std::string& bytes) {
        std::ofstream(p, std::ios::binary) << bytes;
    }
    static std::string get(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path previous_, dir_;
};

TEST(PathMapping, TurnsBackslashesIntoSlashesAndGbkIntoUtf8) {
    struct Case {
        Text core;
        std::string native;
    };
    const Case cases[] = {
        {"词库\\笔画.txt", utf8(u8"词库/笔画.txt")},
        {"词库\\字典\\新华.txt", utf8(u8"词库/字典/新华.txt")},
        {"/tmp\\s1.html", "/tmp/s1.html"},
        {"/opt/lumiko\\词库\\字典", utf8(u8"/opt/lumiko/词库/字典")},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(nativePath(c.core), c.native) << c.native;
    EXPECT_EQ(corePath(utf8(u8"/home/用户")), "/home/用户");
}

TEST(PathMapping, TempFolderEndsWithOneBackslash) {
    const char* saved = std::getenv("TMPDIR");
    const std::string keep = saved ? saved : "";
    setenv("TMPDIR", "/var/tmp/x//", 1);
    EXPECT_EQ(tempFolder(), "/var/tmp/x\\");
    EXPECT_EQ(nativePath(tempFolder() + "s1.html"), "/var/tmp/x/s1.html");
    unsetenv("TMPDIR");
    EXPECT_EQ(tempFolder(), "/tmp\\");
    if (saved) setenv("TMPDIR", keep.c_str(), 1);
}

TEST_F(FilesTest, ReadsWholeFilesByteForByte) {
    fs::create_directory(u8"词库");
    const std::string bytes("\r\n1 \xD2\xBB\0\xFF\r\n", 8);
    put(fs::path(u8"词库") / u8"笔画.txt", bytes);
    std::string got = "old";
    EXPECT_TRUE(readFile("词库\\笔画.txt", got));
    EXPECT_EQ(got, bytes);
}

TEST_F(FilesTest, MissingFilesAndFoldersReadAsEmpty) {
    fs::create_directory("folder");
    for (const Text path : {"missing.txt", "nowhere\\missing.txt", "folder", ""}) {
        std::string got = "old";
        EXPECT_FALSE(readFile(path, got)) << path;
        EXPECT_EQ(got, "") << path;
    }
}

TEST_F(FilesTest, ReplaceFileSwapsContentAndLeavesNothingBeside) {
    fs::create_directories(fs::path(u8"词库"));
    const Text path = "词库\\字典.txt";
    put(fs::path(u8"词库") / u8"字典.txt", "old name\r\n");
    ASSERT_TRUE(replaceFile(path, "\xD0\xC2\xBB\xAA"));
    EXPECT_EQ(get(fs::path(u8"词库") / u8"字典.txt"), "\xD0\xC2\xBB\xAA");
    ASSERT_TRUE(replaceFile(path, ""));
    EXPECT_EQ(get(fs::path(u8"词库") / u8"字典.txt"), "");
    EXPECT_EQ(std::distance(fs::directory_iterator(u8"词库"), fs::directory_iterator()), 1);
}

TEST_F(FilesTest, WritesFailInMissingFolders) {
    EXPECT_FALSE(replaceFile("nowhere\\x.txt", "x"));
    EXPECT_FALSE(writeFile("nowhere\\x.txt", "x"));
    EXPECT_FALSE(fs::exists("nowhere"));
}

TEST_F(FilesTest, WriteFileReplacesEarlierContent) {
    ASSERT_TRUE(writeFile("s1.html", "a longer first content"));
    ASSERT_TRUE(writeFile("s1.html", "short"));
    EXPECT_EQ(get("s1.html"), "short");
    EXPECT_TRUE(fileExists("s1.html"));
    EXPECT_FALSE(fileExists("s2.html"));
}

TEST_F(FilesTest, ListsRegularFilesBySuffixInGbk) {
    const fs::path dict = fs::path(u8"词库") / u8"字典";
    fs::create_directories(dict);
    for (const char8_t* name : {u8"新华字典.txt", u8"五笔.TXT", u8"notes.doc", u8"txt", u8"a.txt.bak"})
        put(dict / name, "x");
    fs::create_directory(dict / u8"folder.txt");
    std::vector<Text> names = listFiles("词库\\字典", ".txt");
    std::sort(names.begin(), names.end());
    std::vector<Text> expected = {"新华字典.txt", "五笔.TXT"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(names, expected);
    EXPECT_TRUE(listFiles("词库\\missing", ".txt").empty());
}


// What is not a regular file, or is larger than the cap, is refused at once
// with a reason: a named pipe in place of a table once stalled start-up.
TEST_F(FilesTest, ReadsOnlyRegularFilesUpToTheCap) {
    ASSERT_EQ(::mkfifo("pipe.txt", 0644), 0);
    fs::create_directory("folder.txt");
    {
        std::ofstream big("big.txt", std::ios::binary);
    }
    fs::resize_file("big.txt", kMaxFileBytes + 1);  // sparse: costs no disk
    put("edge.txt", "");
    fs::resize_file("edge.txt", kMaxFileBytes);
    struct Case {
        Text path;
        const char* reason;
    } cases[] = {{"pipe.txt", "not a regular file"},
                 {"folder.txt", "Is a directory"},
                 {"big.txt", "larger than 64 MiB"},
                 {"missing.txt", "No such file or directory"}};
    for (const auto& c : cases) {
        std::string got = "old";
        EXPECT_FALSE(readFile(c.path, got)) << c.path;
        EXPECT_EQ(got, "") << c.path;
        EXPECT_EQ(lastFileError(), c.reason) << c.path;
        EXPECT_EQ(fileExists(c.path), c.path == "big.txt") << c.path;  // a file, only too large
    }
    std::string got;
    EXPECT_TRUE(readFile("edge.txt", got));  // exactly the cap still reads
    EXPECT_EQ(got.size(), kMaxFileBytes);
    EXPECT_EQ(lastFileError(), "");
}

TEST_F(FilesTest, AbsolutePathsAreSpelledTheSystemsWay) {
    EXPECT_EQ(absolutePath("词库\\字典.txt"), corePath((fs::current_path() / u8"词库" / u8"字典.txt").string()));
    EXPECT_EQ(absolutePath("/tmp\\s1.html"), "/tmp/s1.html");
}

TEST_F(FilesTest, FailedReplacementsSayWhyAndKeepTheTarget) {
    fs::create_directories(fs::path("taken") / "x.txt" / "inside");  // the target is a folder
    EXPECT_FALSE(replaceFile("taken\\x.txt", "name"));
    EXPECT_EQ(lastFileError(), "Is a directory");
    EXPECT_TRUE(fs::is_directory(fs::path("taken") / "x.txt" / "inside"));
    EXPECT_EQ(std::distance(fs::directory_iterator("taken"), fs::directory_iterator()), 1);
    EXPECT_FALSE(replaceFile("nowhere\\x.txt", "x"));
    EXPECT_EQ(lastFileError(), "No such file or directory");
    EXPECT_FALSE(writeFile("nowhere\\x.txt", "x"));
    EXPECT_EQ(lastFileError(), "No such file or directory");
    EXPECT_TRUE(replaceFile("x.txt", "x"));
    EXPECT_EQ(lastFileError(), "");
}

// A replacement killed half-way leaves its temporary file; the next one
// removes every such file of its target, and only those.
TEST_F(FilesTest, ReplacementRemovesWhatKilledOnesLeft) {
    put("c.txt", "old");
    for (int round = 0; round < 20; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (;;) replaceFile("c.txt", std::string(4096, 'n'));
        }
        ::usleep(static_cast<useconds_t>(500 + 300 * round));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
    }
    for (const char* other : {"c.txt.bak", "c.txt.ABCDEFG", "c.txt.ab-def", "d.txt.Ab12Cd"}) put(other, "keep");
    put("c.txt.Zz9aB0", "stale");
    ASSERT_TRUE(replaceFile("c.txt", "new"));
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(".")) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"c.txt", "c.txt.ABCDEFG", "c.txt.ab-def", "c.txt.bak", "d.txt.Ab12Cd"}));
    EXPECT_EQ(get("c.txt"), "new");
}

// Two programs saving the same file at once: every save of both succeeds
// (neither takes the other's temporary file for a left one), and a reader
// finds one whole version or the other at every moment.
TEST_F(FilesTest, SavesRacingEachOtherAllSucceed) {
    constexpr int kRounds = 300;
    const std::string a(6000, 'a'), b(9000, 'b');
    put("c.txt", a);
    pid_t children[2];
    for (int i = 0; i < 2; ++i) {
        children[i] = ::fork();
        ASSERT_GE(children[i], 0);
        if (children[i] == 0) {
            int failed = 0;
            for (int round = 0; round < kRounds; ++round) failed += !replaceFile("c.txt", i == 0 ? a : b);
            ::_exit(failed == 0 ? 0 : 1);
        }
    }
    int torn = 0;
    for (int round = 0; round < 200; ++round) {
        const std::string now = get("c.txt");
        torn += now != a && now != b;
    }
    for (const pid_t child : children) {
        int status = -1;
        ::waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a save failed";
    }
    EXPECT_EQ(torn, 0);
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(".")) left.push_back(e.path().filename().string());
    EXPECT_EQ(left, std::vector<std::string>{"c.txt"});
}

// A temporary file another save holds is no left one, whatever its age.
TEST_F(FilesTest, TemporariesOfRunningSavesStay) {
    put("c.txt.Ab12Cd", "held");
    const int held = ::open("c.txt.Ab12Cd", O_RDONLY);
    ASSERT_GE(held, 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {  // another process holds it, as a running save does
        ::flock(held, LOCK_EX);
        ::pause();
        ::_exit(0);
    }
    ::close(held);
    ::usleep(100000);
    EXPECT_TRUE(replaceFile("c.txt", "new"));
    EXPECT_TRUE(fs::exists("c.txt.Ab12Cd"));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    EXPECT_TRUE(replaceFile("c.txt", "newer"));
    EXPECT_FALSE(fs::exists("c.txt.Ab12Cd"));
    EXPECT_FALSE(replaceFile("", "x"));
}

// On a full disk neither the zoom nor the dictionary choice is replaced by a
// short file, and each failure names the file and the reason.
TEST_F(FilesTest, AFullDiskKeepsTheOldZoomAndChoice) {
    const testing::SmallDisk disk(dir_ / "cfg", 64);
    if (!disk.mounted()) GTEST_SKIP() << "mounting a small tmpfs needs root";
    ::setenv("XDG_CONFIG_HOME", (dir_ / "cfg").c_str(), 1);
    Text problem;
    ASSERT_TRUE(writeZoomFile(150, problem)) << problem;
    const Text choice = corePath((dir_ / "cfg/lumiko").string()) + "\\字典.txt";
    ASSERT_TRUE(replaceFile(choice, "新华字典"));
    disk.fill();

    EXPECT_FALSE(writeZoomFile(200, problem));
    EXPECT_EQ(problem, corePath((dir_ / "cfg/lumiko/zoom").string()) + ": No space left on device");
    EXPECT_FALSE(replaceFile(choice, "五笔"));
    EXPECT_EQ(lastFileError(), "No space left on device");

    std::string zoom;
    EXPECT_TRUE(readZoomFile(zoom, problem));
    EXPECT_EQ(zoom, "150\n");
    std::string kept;
    EXPECT_TRUE(readFile(choice, kept));
    EXPECT_EQ(kept, "新华字典");
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir_ / "cfg/lumiko")) left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"zoom", utf8(u8"字典.txt")}));
    ::unsetenv("XDG_CONFIG_HOME");
}

// The zoom file is read as the tables are: a pipe in its place is refused
// without waiting, and a missing one is no problem.
TEST_F(FilesTest, TheZoomFileIsReadLikeTheTables) {
    ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    std::string zoom;
    Text problem;
    EXPECT_FALSE(readZoomFile(zoom, problem));
    EXPECT_EQ(problem, "");
    fs::create_directory("lumiko");
    ASSERT_EQ(::mkfifo("lumiko/zoom", 0600), 0);
    EXPECT_FALSE(readZoomFile(zoom, problem));
    EXPECT_EQ(problem, corePath((dir_ / "lumiko/zoom").string()) + ": not a regular file");
    ::unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace lumiko::posix
