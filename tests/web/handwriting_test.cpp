// The handwriting page the panel carries, and showing it and opening its pad.
#include <string_view>

#include "engine/builtin.h"
#include "panel_fixture.h"
#include "web/handwriting.h"

namespace lumiko::testing {
namespace {

std::string_view utf8(const char8_t* s) { return reinterpret_cast<const char*>(s); }

// The opening tags of one element name, in document order.
std::vector<std::string_view> tags(std::string_view page, std::string_view name) {
    std::vector<std::string_view> out;
    const std::string open = "<" + std::string(name) + " ";
    for (size_t at = page.find(open); at != std::string_view::npos; at = page.find(open, at + 1))
        out.push_back(page.substr(at, page.find('>', at) - at + 1));
    return out;
}

bool has(std::string_view text, std::string_view part) {
    return text.find(part) != std::string_view::npos;
}

TEST(HandwritingPageText, HoldsTheElementsThePanelReliesOn) {
    const std::string_view page = builtin::handwritingPage();
    EXPECT_EQ(page.substr(0, 3), "\xEF\xBB\xBF");

    const auto forms = tags(page, "form");
    ASSERT_EQ(forms.size(), 1u);
    EXPECT_TRUE(has(forms[0], "name=\"f\""));

    const auto inputs = tags(page, "input");
    ASSERT_EQ(inputs.size(), 2u);
    EXPECT_TRUE(has(inputs[0], "name=\"wd\""));
    EXPECT_TRUE(has(inputs[0], "id=\"kw\""));
    EXPECT_TRUE(has(inputs[1], "type=\"hidden\""));
    EXPECT_TRUE(has(inputs[1], "name=\"ie\""));
    EXPECT_TRUE(has(inputs[1], "value=\"utf-8\""));
    // Nothing else may answer to the name "kw".
    EXPECT_FALSE(has(page, "name=\"kw\""));

    // The panel clicks the first link whose address holds javascript:void(0).
    const auto links = tags(page, "a");
    const std::string_view* pad = nullptr;
    for (const auto& a : links)
        if (has(a, "javascript:void(0)")) {
            pad = &a;
            break;
        }
    ASSERT_NE(pad, nullptr);
    EXPECT_TRUE(has(*pad, "href=\"javascript:void(0)\""));
    EXPECT_TRUE(has(*pad, "openPen(event)"));
    const size_t caption = page.find(*pad) + pad->size();
    EXPECT_EQ(page.substr(caption, page.find("</a>", caption) - caption), utf8(u8"手写输入"));

    EXPECT_TRUE(has(page, "id=\"hwr_div\" class=\"hwr_hidden\""));
    EXPECT_TRUE(has(page, ".hwr_hidden { position: absolute; left: -1000px; top: 0; }"));
    EXPECT_TRUE(has(page, ".hwr_visible { position: absolute; left: 0; top: 38px; }"));
    const size_t control = page.find("id=\"penControl\"");
    ASSERT_NE(control, std::string_view::npos);
    const std::string_view cell = page.substr(control, page.find("</td>", control) - control);
    EXPECT_TRUE(has(cell, utf8(u8">关于</a>")));

    EXPECT_TRUE(has(page, utf8(u8"Lumiko云手写输入 1.0")));
    // The pad is the panel's own: it works without a network, and only a
    // picked candidate is typed.
    EXPECT_TRUE(has(page, utf8(u8"不需连接网络")));
    EXPECT_TRUE(has(page, utf8(u8"只有点选的字才会送出")));
    EXPECT_TRUE(has(page, "window.onerror = function () { return true; };"));
    EXPECT_TRUE(has(page, "function openPen(e)"));
    EXPECT_TRUE(has(page, "function stopClosePen(e)"));
    EXPECT_TRUE(has(page, "<body scroll=\"no\">"));
    EXPECT_TRUE(has(page, "content=\"IE=7\""));
    EXPECT_TRUE(has(page, "var padService = \"lumiko-pad:/\";"));
}

// What the page's field may hand over to be typed: one line of printable
// GBK text. Everything a terminal would act on is refused whole.
TEST(HandwritingText, OnlyPrintableGbkOnOneLineIsTyped) {
    struct Case {
        std::string text;
        bool typable;
    };
    const Case cases[] = {
        {"", true},
        {"你好", true},
        {"王 a-Z~!", true},
        {"\x81\x40\xFE\xFE\xA1\x80", true},  // the corners of the two-byte range
        {"ls\n", false},
        {"rm -rf ~\r", false},
        {"a\tb", false},
        {"\x1b[31m", false},
        {std::string("a\0b", 3), false},
        {"x\x7f", false},
        {"\x80", false},
        {"\xff\xa1", false},
        {"你\xC4", false},                 // a lead byte with nothing after it
        {"\xC4\x0A", false},              // a line break where the second byte would be
        {"\xC4\x7F", false},
        {"\xC4\xFF", false},
        {"\x81\x30\x81\x30", false},    // four bytes: beyond GBK
        {"你好\n你好", false},
    };
    for (const Case& c : cases) EXPECT_EQ(handwriting::typable(c.text), c.typable) << handwriting::refusalNote(c.text);

    const Text note = handwriting::refusalNote("echo hi\n\x1b]0;\x7f\\" + std::string(200, 'x'));
    for (const char ch : note) EXPECT_TRUE(ch >= 0x20 && ch < 0x7F) << note;
    EXPECT_NE(note.find("echo hi\\x0A\\x1B]0;\\x7F\\x5Cxxx"), Text::npos) << note;
    EXPECT_NE(note.find("214 bytes"), Text::npos) << note;
    EXPECT_LT(note.size(), 200u);
}

// The view goes to the page and the pad only; new windows go out for web
// addresses only. Pages as each front-end writes them: a Linux path (and
// its address) and a Windows path with a GBK character.
TEST(HandwritingView, GoesOnlyToThePageAndThePad) {
    const Text linux = "/run/user/1000/lumiko/page-Ab12Cd\\s1.html";
    const Text windows = "C:\\Users\\王\\AppData\\Local\\Temp\\lumiko-1f\\s1.html";
    struct Case {
        Text address;
        const Text& page;
        bool mayGo;
    };
    const Case cases[] = {
        {"file:///run/user/1000/lumiko/page-Ab12Cd/s1.html", linux, true},
        {"file:///run/user/1000/lumiko/page-Ab12Cd/s1.html#about", linux, true},
        {"file:///run/user/1000/lumiko/page-Ab12Cd/s1%2Ehtml", linux, true},
        {"/run/user/1000/lumiko/page-Ab12Cd/s1.html", linux, true},
        {"lumiko-pad:/pad.js", linux, true},
        {"LUMIKO-PAD:/recognise?n=1", linux, true},
        {"javascript:void(0)", linux, true},
        {"about:blank", linux, true},
        {"file:///tmp/s1.html", linux, false},
        {"file:///home/user/.ssh/id_rsa", linux, false},
        {"file:///run/user/1000/lumiko/page-Ab12Cd/s1.html/../../../../../etc/passwd", linux, false},
        {"file:///run/user/1000/lumiko/page-Ab12Cd/s1.htmlx", linux, false},
        {"file:///run/user/1000/lumiko/page-Ab12Cd/", linux, false},
        {"http://example.com/", linux, false},
        {"https://example.com/s1.html", linux, false},
        {"data:text/html,<script>", linux, false},
        {"about:srcdoc", linux, false},
        {"", linux, false},
        {"file:///C:/Users/王/AppData/Local/Temp/lumiko-1f/s1.html", windows, true},
        {"file:///c:/users/王/appdata/local/temp/LUMIKO-1F/S1.HTML#x", windows, true},
        {"C:\\Users\\王\\AppData\\Local\\Temp\\lumiko-1f\\s1.html", windows, true},
        {"file://C:/Users/王/AppData/Local/Temp/lumiko-1f/s1.html", windows, true},
        {"file:///C:/Users/王/AppData/Local/Temp/s1.html", windows, false},
        {"file:///C:/Windows/win.ini", windows, false},
        {"\\\\server\\share\\s1.html", windows, false},
        {"file:///C:/Users/王/AppData/Local/Temp/lumiko-1f/s1.html", Text(), false},
    };
    for (const Case& c : cases) EXPECT_EQ(handwriting::viewMayGo(c.address, c.page), c.mayGo) << c.address;

    for (const char* out : {"http://example.com/", "HTTPS://example.com/a?b#c"})
        EXPECT_TRUE(handwriting::opensOutside(out)) << out;
    for (const char* kept : {"file:///etc/passwd", "javascript:alert(1)", "mailto:a@b", "smb://server/share",
                             "ftp://example.com/", "lumiko-pad:/pad.js", "httpx://a", "http:/a", "C:\\x.exe", ""})
        EXPECT_FALSE(handwriting::opensOutside(kept)) << kept;
}

class HandwritingTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        start();
    }
};

TEST_F(HandwritingTest, OpeningThePadNeedsTheNetwork) {
    svc.network = 0;
    app->openPad();
    EXPECT_EQ(svc.document.padLink->clicks, 0);
    EXPECT_EQ(svc.reloads, 1);
    app->newWindowRequested();
    EXPECT_EQ(svc.document.padLink->clicks, 0);
    EXPECT_EQ(svc.reloads, 1);

    svc.network = 1;
    app->openPad();
    EXPECT_EQ(svc.document.padLink->clicks, 1);
    app->newWindowRequested();
    EXPECT_EQ(svc.document.padLink->clicks, 2);
    EXPECT_EQ(svc.reloads, 1);
}

}  // namespace
}  // namespace lumiko::testing
