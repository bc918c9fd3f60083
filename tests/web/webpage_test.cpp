// Page access: attaching, values by name and id, and the five link modes.
#include <gtest/gtest.h>

#include "platform/fake/fake_services.h"
#include "web/webpage.h"

namespace lumiko::testing {
namespace {

class WebPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        // The handwriting page's elements plus a few more.
        doc.add(byName, false);
        doc.add(byId, false);
        doc.add(news, true);
        doc.add(forum, true);
        ASSERT_TRUE(page.attach(nullptr, 0, 0, 1));
    }
    FakeServices svc;
    FakeDocument& doc = svc.document;
    std::shared_ptr<FakeElement> byName = std::make_shared<FakeElement>("user", "");
    std::shared_ptr<FakeElement> byId = std::make_shared<FakeElement>("", "go");
    std::shared_ptr<FakeElement> news =
        std::make_shared<FakeElement>("", "", "最新消息", "http://forum.example/news");
    std::shared_ptr<FakeElement> forum =
        std::make_shared<FakeElement>("", "", "消息", "http://forum.example/");
    WebPage page{svc};
};

TEST_F(WebPageTest, AttachAndAnUnreachableDocument) {
    FakeDocument other;
    EXPECT_TRUE(page.attach(&other, 1, 0, 0));
    EXPECT_EQ(page.document(), &other);
    EXPECT_FALSE(page.attach(nullptr, 0, 0, 0));
    svc.documentReachable = false;
    EXPECT_FALSE(page.attach(nullptr, 0, 0, 1));
    EXPECT_EQ(page.getValue("kw", 1), "");
    EXPECT_FALSE(page.clickLink("javascript:void(0)", 4, 0));
}

TEST_F(WebPageTest, ValuesByNameAndById) {
    doc.field->setValue("你好");
    EXPECT_EQ(page.getValue("kw", 1), "你好");
    page.setValue("kw", 1, "");
    EXPECT_EQ(doc.field->value(), "");
    page.setValue("go", 0, "b");
    EXPECT_EQ(byId->value(), "b");
    EXPECT_EQ(page.getValue("user", 0), "");  // a name, not an id
    EXPECT_EQ(page.getValue("missing", 1), "");
}

// A document whose lookup by name sees names only, as most engines do.
class StrictDocument : public FakeDocument {
public:
    std::shared_ptr<PageElement> elementByName(const Text& name) override {
        return name == field->name() ? field : nullptr;
    }
};

TEST_F(WebPageTest, FieldIsFoundByItsIdWhereNamesAreStrict) {
    StrictDocument strict;
    strict.field->setValue("字");
    ASSERT_TRUE(page.attach(&strict, 1, 0, 0));
    EXPECT_EQ(page.getValue("kw", 1), "字");
}

TEST_F(WebPageTest, ClickLinkModes) {
    struct Case {
        const char* key;
        int mode, exact;
        bool result;
        int padClicks, newsClicks, forumClicks, idClicks, nameClicks;
    };
    const Case cases[] = {
        {"go", 0, 0, true, 0, 0, 0, 1, 0},
        {"user", 0, 0, false, 0, 0, 0, 0, 0},
        {"user", 1, 0, true, 0, 0, 0, 0, 1},
        {"nobody", 1, 0, false, 0, 0, 0, 0, 0},
        {"1", 2, 0, true, 1, 0, 0, 0, 0},
        {"3", 2, 0, true, 0, 1, 0, 0, 0},
        {"4", 2, 0, true, 0, 0, 1, 0, 0},
        {"5", 2, 0, false, 0, 0, 0, 0, 0},
        {"0", 2, 0, false, 0, 0, 0, 0, 0},
        {"x", 2, 0, false, 0, 0, 0, 0, 0},
        {"消息", 3, 0, true, 0, 1, 0, 0, 0},  // contained in 最新消息, the first link holding it
        {"消息", 3, 1, true, 0, 0, 1, 0, 0},  // equal to the fourth link's text
        {"消", 3, 1, false, 0, 0, 0, 0, 0},
        {"javascript:void(0)", 4, 0, true, 1, 0, 0, 0, 0},
        {"javascript:void(0)", 4, 1, true, 1, 0, 0, 0, 0},
        {"forum.example/", 4, 0, true, 0, 1, 0, 0, 0},
        {"http://forum.example/", 4, 1, true, 0, 0, 1, 0, 0},
        {"", 4, 0, false, 0, 0, 0, 0, 0},
        {"go", 5, 0, false, 0, 0, 0, 0, 0},
        {"go", -1, 0, false, 0, 0, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " mode " + std::to_string(c.mode));
        for (auto* e : {doc.padLink.get(), news.get(), forum.get(), byId.get(), byName.get()})
            e->clicks = 0;
        EXPECT_EQ(page.clickLink(c.key, c.mode, c.exact), c.result);
        EXPECT_EQ(doc.padLink->clicks, c.padClicks);
        EXPECT_EQ(news->clicks, c.newsClicks);
        EXPECT_EQ(forum->clicks, c.forumClicks);
        EXPECT_EQ(byId->clicks, c.idClicks);
        EXPECT_EQ(byName->clicks, c.nameClicks);
    }
}

}  // namespace
}  // namespace lumiko::testing
