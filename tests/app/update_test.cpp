// Help, about and the update check, the last through the real download
// against a web server on 127.0.0.1 that each test starts.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/app.h"
#include "app/config.h"
#include "loopback_server.h"
#include "mapped.h"
#include "platform/fake/fake_services.h"
#include "platform/posix/download.h"
#include "platform/posix/files.h"

namespace lumiko::testing {
namespace {

namespace fs = std::filesystem;
using Reply = LoopbackServer::Reply;
constexpr auto page = &LoopbackServer::page;
constexpr auto redirect = &LoopbackServer::redirect;
constexpr auto silence = &LoopbackServer::silence;
constexpr auto slow = &LoopbackServer::slow;

const Text kNoUpdate = "未检测到版本更新";
Text question(const Text& version) {
    return "你所使用的软件版本为:Lumiko 1.0\r\n\r\n软件当前最新版本为:" + version + " 是否要下载?";
}

// The recording fake, with the desktop's real download. The check's limits
// are kept as asked; the time given to curl is cut to two seconds so that a
// silent or slow server costs the tests little.
class CurlServices : public FakeServices {
public:
    bool download(const std::string& url, std::string& body, const DownloadLimits& limits) override {
        downloads.push_back(url);
        downloadLimits.push_back(limits);
        return posix::download(url, body, {1000, std::min(limits.timeoutMs, 2000L), limits.maxBytes});
    }
};

class UpdateTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("no_proxy", "*", 1);
        svc.network = 1;
    }
    void TearDown() override { unsetenv("LUMIKO_FORUM_URL"); }

    void serve(std::vector<Reply> replies) {
        server = std::make_unique<LoopbackServer>(std::move(replies));
        setenv("LUMIKO_FORUM_URL", server->url().c_str(), 1);
    }
    void check() { app.form.findMenuItem("检查更新")->onChoose(); }
    const FakeServices::Message& onlyMessage() {
        EXPECT_EQ(svc.messages.size(), 1u);
        if (svc.messages.empty()) svc.messages.push_back({});
        return svc.messages.front();
    }

    CurlServices svc;
    App app{svc};
    std::unique_ptr<LoopbackServer> server;
};

TEST_F(UpdateTest, AnnouncedVersionDecidesTheAnswer) {
    struct Case {
        const char* what;
        std::string page;
        bool asks;
        Text version;  // shown in the question
    };
    const Case cases[] = {
        {"newer version", "<p>最新版本：ЖLumiko 1.1Й</p>", true, "Lumiko 1.1"},
        {"same version", "<p>ЖLumiko 1.0Й</p>", false, ""},
        {"closing marker before the first opening one", "Й旧版ЖLumiko 1.2Й新版Й", true, "Lumiko 1.2"},
        {"markers next to each other", "ЖЙLumiko 1.0Й", true, ""},
        {"trailing blank inside the markers", "ЖLumiko 1.0 Й", true, "Lumiko 1.0 "},
        {"no closing marker", "ЖLumiko 1.0", true, ""},
        {"second opening marker inside", "ЖaЖbЙ", true, "aЖb"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        serve({page(200, c.page)});
        svc.messages.clear();
        svc.downloads.clear();
        check();
        const auto& m = onlyMessage();
        EXPECT_EQ(m.title, "Lumiko 1.0");
        EXPECT_EQ(m.text, c.asks ? question(c.version) : kNoUpdate);
        EXPECT_EQ(m.buttons, c.asks ? Buttons::YesNo : Buttons::Ok);
        // The page is read twice when it announces another version.
        EXPECT_EQ(server->requests().size(), c.asks ? 2u : 1u);
        EXPECT_EQ(svc.downloads.front(), server->url());
        EXPECT_TRUE(svc.opened.empty());
    }
}

TEST_F(UpdateTest, FailedDownloadsOfferNoEmptyVersion) {
    struct Case {
        const char* what;
        std::vector<Reply> replies;
        Text message;
    };
    const Case cases[] = {
        {"not found", {page(404, "ЖLumiko 1.1Й")}, kNoUpdate},
        {"server error", {page(500, "")}, kNoUpdate},
        {"silent server", {silence()}, kNoUpdate},
        {"second reading fails", {page(200, "ЖLumiko 1.1Й"), page(503, "")}, question("Lumiko 1.1")},
        {"second reading is shown", {page(200, "ЖLumiko 1.1Й"), page(200, "ЖLumiko 1.2Й")},
         question("Lumiko 1.2")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        serve(c.replies);
        svc.messages.clear();
        const auto start = std::chrono::steady_clock::now();
        check();
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(6));
        EXPECT_EQ(onlyMessage().text, c.message);
        server.reset();
    }
}

// A server that sends far more than a page, or sends it slowly, costs at most
// a mebibyte and ten seconds for the whole check, and a long version is cut
// to 64 bytes between two characters.
TEST_F(UpdateTest, HostileServersAreBounded) {
    const std::string mebibyte(1 << 20, 'x');
    std::string pairs;
    for (int i = 0; i < 100; ++i) pairs += "版";
    struct Case {
        const char* what;
        std::vector<Reply> replies;
        Text message;
    };
    const Case cases[] = {
        {"version before 32 MiB of filler", {page(200, "ЖLumiko 1.1Й" + std::string(32 << 20, 'x'))},
         question("Lumiko 1.1")},
        {"version past the first mebibyte", {page(200, mebibyte + "ЖLumiko 1.1Й")}, question("")},
        {"closing marker past the first mebibyte", {page(200, "Ж" + mebibyte + "Й")}, question("")},
        {"long version cut to 64 bytes", {page(200, "Ж" + pairs + "Й")}, question(pairs.substr(0, 64))},
        {"cut before a pair that does not fit", {page(200, "Жa" + pairs + "Й")}, question("a" + pairs.substr(0, 62))},
        {"slow first page", {slow("ЖLumiko 1.1Й" + std::string(100, 'x'), 50)}, kNoUpdate},
        {"slow second page", {page(200, "ЖLumiko 1.1Й"), slow("ЖLumiko 1.2Й" + std::string(100, 'x'), 50)},
         question("Lumiko 1.1")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        serve(c.replies);
        svc.messages.clear();
        svc.downloadLimits.clear();
        check();
        EXPECT_EQ(onlyMessage().text, c.message);
        ASSERT_FALSE(svc.downloadLimits.empty());
        // Each download is bounded by what is left of the check's ten seconds.
        long previous = 10000;
        for (const DownloadLimits& l : svc.downloadLimits) {
            EXPECT_EQ(l.maxBytes, 1u << 20);
            EXPECT_GT(l.timeoutMs, 0);
            EXPECT_LE(l.timeoutMs, previous);
            previous = l.timeoutMs;
        }
        server.reset();
    }
}

TEST(Download, ReadsNoMoreThanItsLimitAndNoLongerThanItsTime) {
    setenv("no_proxy", "*", 1);
    LoopbackServer big({LoopbackServer::page(200, std::string(8 << 20, 'x'))});
    std::string body;
    EXPECT_TRUE(posix::download(big.url(), body, {1000, 5000, 4096}));
    EXPECT_EQ(body.size(), 4096u);
    EXPECT_TRUE(posix::download(big.url(), body, {1000, 5000, 8 << 20}));
    EXPECT_EQ(body.size(), size_t{8} << 20);

    LoopbackServer trickle({LoopbackServer::slow(std::string(1000, 'x'), 20)});
    body = "old";
    EXPECT_FALSE(posix::download(trickle.url(), body, {1000, 300, 1 << 20}));
    EXPECT_TRUE(body.empty());
    EXPECT_FALSE(posix::download(trickle.url(), body, {1000, 0, 1 << 20}));
    // Only http and https are fetched.
    EXPECT_FALSE(posix::download("file:///etc/passwd", body, {}));
    EXPECT_TRUE(body.empty());
}

// In a process of its own (the test program run again for this test alone):
// libcurl comes with the first download, not with the program.
TEST(Download, LibcurlIsLoadedAtTheFirstDownload) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            const bool before = mapped("libcurl");
            std::string body;
            posix::download("http://127.0.0.1:1/", body, {200, 200, 16});  // nobody listens there
            std::exit(!before && mapped("libcurl") ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(UpdateTest, NoNetworkOrAClosedPortMeansNoUpdate) {
    serve({page(200, "ЖLumiko 1.1Й")});
    svc.network = 0;
    check();
    EXPECT_TRUE(svc.downloads.empty());
    EXPECT_TRUE(server->requests().empty());
    svc.network = 1;
    server->stop();
    check();
    ASSERT_EQ(svc.messages.size(), 2u);
    EXPECT_EQ(svc.messages[0].text, kNoUpdate);
    EXPECT_EQ(svc.messages[1].text, kNoUpdate);
}

TEST_F(UpdateTest, RedirectsAreFollowed) {
    serve({redirect("/home"), page(200, "ЖLumiko 2.0Й")});
    check();
    EXPECT_EQ(onlyMessage().text, question("Lumiko 2.0"));
    const auto requests = server->requests();
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ(requests[0], "GET / HTTP/1.1");
    EXPECT_EQ(requests[1], "GET /home HTTP/1.1");
}

TEST_F(UpdateTest, YesOpensTheForumWithItsSlash) {
    serve({page(200, "ЖLumiko 1.1Й")});
    setenv("LUMIKO_FORUM_URL", (server->url() + "//").c_str(), 1);
    svc.answerYes = true;
    check();
    EXPECT_EQ(svc.downloads.front(), server->url());
    ASSERT_EQ(svc.opened.size(), 1u);
    EXPECT_EQ(svc.opened[0], server->url() + "/");
    EXPECT_EQ(app.form.隐藏的超级链接框.text(), server->url() + "/");
}

TEST(ForumAddress, EnvironmentOverridesTheBuildSetting) {
    unsetenv("LUMIKO_FORUM_URL");
    const Text built = forumUrl();
    EXPECT_FALSE(built.empty());
    EXPECT_NE(built.back(), '/');
    setenv("LUMIKO_FORUM_URL", "", 1);
    EXPECT_EQ(forumUrl(), built);
    setenv("LUMIKO_FORUM_URL", "http://bbs.example:8080/", 1);
    EXPECT_EQ(forumUrl(), "http://bbs.example:8080");
    unsetenv("LUMIKO_FORUM_URL");
}

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string tmpl = (fs::temp_directory_path() / "lumiko-help-XXXXXX").string();
        dir_ = mkdtemp(tmpl.data());
        svc.exeDir = posix::corePath(dir_.string());
        setenv("LUMIKO_FORUM_URL", "http://bbs.example", 1);
    }
    void TearDown() override {
        unsetenv("LUMIKO_FORUM_URL");
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }
    FakeServices svc;
    App app{svc};
    fs::path dir_;
};

TEST_F(HelpTest, HelpFileBesideTheProgramOrTheForum) {
    fs::create_directory(dir_ / u8"帮助.chm");  // a folder of that name is no help file
    app.form.findMenuItem("使用说明")->onChoose();
    fs::remove(dir_ / u8"帮助.chm");
    std::ofstream(dir_ / u8"帮助.chm") << "chm";
    app.form.findMenuItem("使用说明")->onChoose();
    app.form.findMenuItem("关于")->onChoose();
    const std::vector<Text> want = {"http://bbs.example/", svc.exeDir + "\\帮助.chm",
                                    "http://bbs.example/"};
    EXPECT_EQ(svc.opened, want);
    EXPECT_EQ(app.form.隐藏的超级链接框.text(), "http://bbs.example/");
    EXPECT_TRUE(svc.messages.empty());
}

TEST(NetworkState, DefaultRoutesOutsideTheLoopback) {
    const char* v4Header = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
    EXPECT_TRUE(posix::hasDefaultRouteV4(std::string(v4Header) +
                                         "eth0\t00000000\t010200C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"));
    EXPECT_FALSE(posix::hasDefaultRouteV4(std::string(v4Header) +
                                          "eth0\t000200C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"));
    EXPECT_FALSE(posix::hasDefaultRouteV4(std::string(v4Header) +
                                          "lo\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n"));
    EXPECT_FALSE(posix::hasDefaultRouteV4(std::string(v4Header)));
    EXPECT_FALSE(posix::hasDefaultRouteV4(""));

    const std::string zero(32, '0');
    const std::string v6Default = zero + " 00 " + zero + " 00 fd000000000000000000000000000001 00000400 00000002 00000000 00000003     eth0\n";
    const std::string v6Unreachable = zero + " 00 " + zero + " 00 " + zero + " ffffffff 00000001 00000000 00200200       lo\n";
    const std::string v6Local = "fe800000000000000000000000000000 40 " + zero + " 00 " + zero + " 00000100 00000002 00000000 00000001     eth0\n";
    EXPECT_TRUE(posix::hasDefaultRouteV6(v6Local + v6Default));
    EXPECT_FALSE(posix::hasDefaultRouteV6(v6Local + v6Unreachable));
}

}  // namespace
}  // namespace lumiko::testing
