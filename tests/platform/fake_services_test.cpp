// The recording desktop: the page it offers, its answers and its cleanup.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fake/fake_services.h"
#include "platform/posix/files.h"

namespace lumiko {
namespace {

TEST(FakeDocument, OffersTheHandwritingPageContract) {
    FakeDocument doc;
    const auto byName = doc.elementByName("kw");
    ASSERT_NE(byName, nullptr);
    EXPECT_EQ(byName, doc.elementByName("wd"));
    EXPECT_EQ(byName, doc.elementById("kw"));
    EXPECT_EQ(doc.elementById("wd"), nullptr);
    EXPECT_EQ(doc.elementByName("missing"), nullptr);
    EXPECT_EQ(doc.elementByName(""), nullptr);

    byName->setValue("手写");
    EXPECT_EQ(doc.field->value(), "手写");

    const auto links = doc.links();
    ASSERT_EQ(links.size(), 2u);
    EXPECT_EQ(links[0]->innerText(), "手写输入");
    EXPECT_EQ(links[0]->href(), "javascript:void(0)");
    EXPECT_EQ(links[1]->innerText(), "关于");
    EXPECT_EQ(links[1]->href().find("javascript:void(0)"), Text::npos);
    links[0]->click();
    EXPECT_EQ(doc.padLink->clicks, 1);
    EXPECT_EQ(doc.aboutLink->clicks, 0);
}

TEST(FakeServices, AnswersFromItsSettings) {
    FakeServices svc;
    std::uint64_t h = 0;
    EXPECT_TRUE(svc.focusedWindow(h));
    EXPECT_EQ(h, 1001u);
    svc.focusKnown = false;
    EXPECT_FALSE(svc.focusedWindow(h));

    EXPECT_EQ(svc.now().weekday, 5);  // 2026-01-01 is a Thursday
    svc.setClock(2026, 3, 8, 9, 7, 0);
    EXPECT_EQ(svc.now().weekday, 1);

    EXPECT_FALSE(svc.messageBox("t", "x", Buttons::YesNo));
    svc.answerYes = true;
    EXPECT_TRUE(svc.messageBox("t", "x", Buttons::YesNo));
    EXPECT_FALSE(svc.messageBox("t", "x", Buttons::Ok));
    EXPECT_EQ(svc.messages.size(), 3u);

    std::string body = "stale";
    EXPECT_FALSE(svc.download("http://a/", body, {}));
    EXPECT_EQ(body, "");
    svc.httpOk = true;
    svc.httpBody = "page";
    EXPECT_TRUE(svc.download("http://b/", body, {}));
    EXPECT_EQ(body, "page");
    EXPECT_EQ(svc.downloads, (std::vector<std::string>{"http://a/", "http://b/"}));

    EXPECT_NE(svc.browserDocument(), nullptr);
    svc.documentReachable = false;
    EXPECT_EQ(svc.browserDocument(), nullptr);

    svc.sendChars(7, "\xB9");
    svc.sendChars(8, "\xFA");
    EXPECT_EQ(svc.typedBytes(), "国");
}

TEST(FakeServices, TraditionalConversionIsReal) {
    FakeServices svc;
    EXPECT_EQ(svc.toTraditional("国"), "國");
}

TEST(FakeServices, TempFolderIsPrivateAndRemovedWithTheFake) {
    std::filesystem::path dir;
    {
        FakeServices svc;
        const Text folder = svc.tempFolder();
        ASSERT_EQ(folder.back(), '\\');
        EXPECT_EQ(svc.tempFolder(), folder);
        ASSERT_TRUE(svc.writeFile(folder + "s1.html", "<html>"));
        dir = posix::nativePath(folder);
        EXPECT_TRUE(std::filesystem::exists(dir / "s1.html"));
    }
    EXPECT_FALSE(std::filesystem::exists(dir));
}

}  // namespace
}  // namespace lumiko
