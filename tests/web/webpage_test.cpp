// Page access: attaching, field values by name and by id, links by address.
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
        ASSERT_TRUE(page.attach());
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

TEST_F(WebPageTest, AnUnreachableDocumentLeavesNothingStale) {
    EXPECT_EQ(page.document(), &doc);
    svc.documentReachable = false;
    EXPECT_FALSE(page.attach());
    EXPECT_EQ(page.document(), nullptr);
    EXPECT_EQ(page.value("kw"), "");
    page.setValue("kw", "x");
    EXPECT_FALSE(page.clickLinkTo("javascript:void(0)"));
    EXPECT_EQ(doc.padLink->clicks, 0);
}

TEST_F(WebPageTest, FieldsByNameThenById) {
    doc.field->setValue("你好");
    EXPECT_EQ(page.value("kw"), "你好");
    page.setValue("kw", "");
    EXPECT_EQ(doc.field->value(), "");
    page.setValue("go", "b");  // found by its id
    EXPECT_EQ(byId->value(), "b");
    page.setValue("user", "c");
    EXPECT_EQ(byName->value(), "c");
    EXPECT_EQ(page.value("missing"), "");
}

// A document whose lookup by name sees names only, as most engines do.
class StrictDocument : public FakeDocument {
public:
    std::shared_ptr<PageElement> elementByName(const Text& name) override {
        return name == field->name() ? field : nullptr;
    }
};

// A browser view showing such a document.
class StrictBrowser : public Browser {
public:
    void browserNavigate(const Text&) override {}
    void browserReload() override {}
    PageDocument* browserDocument() override { return &document; }
    void browserUnavailable(const Text&) override {}
    StrictDocument document;
};

TEST(WebPageStrict, FieldIsFoundByItsIdWhereNamesAreStrict) {
    StrictBrowser browser;
    browser.document.field->setValue("字");
    WebPage page{browser};
    ASSERT_TRUE(page.attach());
    EXPECT_EQ(page.value("kw"), "字");
}

TEST_F(WebPageTest, TheFirstLinkWhoseAddressHoldsThePartIsClicked) {
    struct Case {
        const char* part;
        bool result;
        int padClicks, newsClicks, forumClicks;
    };
    const Case cases[] = {
        {"javascript:void(0)", true, 1, 0, 0},
        {"forum.example/", true, 0, 1, 0},
        {"example/news", true, 0, 1, 0},
        {"nowhere", false, 0, 0, 0},
        {"", false, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.part);
        for (auto* e : {doc.padLink.get(), news.get(), forum.get()}) e->clicks = 0;
        EXPECT_EQ(page.clickLinkTo(c.part), c.result);
        EXPECT_EQ(doc.padLink->clicks, c.padClicks);
        EXPECT_EQ(news->clicks, c.newsClicks);
        EXPECT_EQ(forum->clicks, c.forumClicks);
    }
}

}  // namespace
}  // namespace lumiko::testing
