// Learning: with 记忆常用字 on, every list puts the texts its user picked
// first; off, the lists keep the shipped order and nothing is recorded; the
// memory file survives a restart, damage and its size bound.
#include <sys/stat.h>

#include <algorithm>
#include <functional>

#include "engine/pickmemory.h"
#include "panel_fixture.h"

namespace lumiko::testing {
namespace {

// 35 characters, so that the list of the code 1 takes two grid pages.
const Text kChars = "甲乙丙丁戊己庚辛壬癸子丑寅卯辰巳午未申酉戌亥金木水火土日月星天地人山川";

Text nth(int i) { return kChars.substr(static_cast<size_t>(2 * i), 2); }

Text table(const char* key) {
    Text t = "\r\n";
    for (int i = 0; i < 35; ++i) t += Text(key) + std::to_string(i % 3) + " " + nth(i) + "\r\n";
    return t;
}

class LearningTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        writeTable(u8"笔画.txt", table("1"));
        writeTable(u8"附加笔画.txt", table("1"));
        writeTable(u8"四角号码.txt", table("1"));
        Text words = "\r\n";
        for (int i = 0; i < 10; ++i) words += "甲 " + nth(10 + i) + "\r\n";
        words += "乙 甲\r\n";
        writeTable(u8"联想词.txt", words);
        data_ = fs::current_path() / "data";
        fs::create_directories(data_);
        svc.layout.userData = data_.string();
        svc.answerYes = true;
    }
    void on() {
        if (!app->learning().on()) app->chooseMenu("记忆常用字");
    }
    std::vector<Text> page() const {
        std::vector<Text> texts;
        for (const Candidate& c : app->g.gridPage.items) texts.push_back(c.text);
        return texts;
    }
    // Picks `text` from the grid, paging forward to it, through the highlight.
    void pick(const Text& text) {
        const auto& items = app->g.gridPage.items;
        auto find = [&] {
            return std::find_if(items.begin(), items.end(), [&](const Candidate& c) { return c.text == text; });
        };
        for (int guard = 0; guard < 50 && find() == items.end() && app->g.gridPage.hasNext; ++guard)
            click(app->form.超级下);
        const auto it = find();
        ASSERT_NE(it, items.end()) << text;
        const int i = static_cast<int>(it - items.begin());
        static constexpr int kRowY[4] = {20, 90, 150, 200};
        app->gridHover(48 * (i % 8) + 10, kRowY[i / 8]);
        click(app->form.定位透明标签);
    }
    // Every item of the list shown, paging forward to its end.
    std::vector<Text> wholeList() {
        std::vector<Text> all = page();
        for (int guard = 0; guard < 50 && app->g.gridPage.hasNext; ++guard) {
            click(app->form.超级下);
            const auto more = page();
            all.insert(all.end(), more.begin(), more.end());
        }
        return all;
    }
    fs::path data_;
};

TEST_F(LearningTest, EachListPutsWhatWasPickedFirstAndLosesNothing) {
    struct Case {
        const char* list;
        std::function<void()> show;  // brings the grid to the list
        Text picked[3];                           // picked in this order
        Text expectedFront[2];                    // most picked first, then by the shipped order
    } cases[] = {
        {"stroke", [this] { app->enterStrokeMode(); key(1); }, {nth(33), nth(4), nth(33)}, {nth(33), nth(4)}},
        {"extra-stroke", [this] { app->enterExtraStrokeMode(); key(1); }, {nth(5), nth(31), nth(31)}, {nth(31), nth(5)}},
        {"four-corner", [this] { app->enterFourCornerMode(); key(1); }, {nth(34), nth(34), nth(2)}, {nth(34), nth(2)}},
        // A component from the start list, then the characters of its code.
        {"component", [this] { app->enterStrokeMode(); pick("土"); }, {"坏", "城", "坏"}, {"坏", "城"}},
        // The associations after 甲.
        {"association", [this] { app->enterFourCornerMode(); key(1); pick(nth(0)); },
         {nth(19), nth(12), nth(19)}, {nth(19), nth(12)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.list);
        start();
        c.show();
        const std::vector<Text> shipped = wholeList();
        // Off: picks change nothing and are not counted.
        for (const Text& p : c.picked) {
            c.show();
            pick(p);
        }
        c.show();
        EXPECT_EQ(wholeList(), shipped);
        EXPECT_TRUE(app->learning().memory().empty());

        on();
        for (const Text& p : c.picked) {
            c.show();
            pick(p);
        }
        c.show();
        const std::vector<Text> first = page();
        ASSERT_GE(first.size(), 2u);
        EXPECT_EQ(first[0], c.expectedFront[0]);
        EXPECT_EQ(first[1], c.expectedFront[1]);
        // The same items, each once, the rest in the shipped order.
        std::vector<Text> learned = wholeList();
        std::vector<Text> rest = shipped;
        for (const Text& front : c.expectedFront) rest.erase(std::find(rest.begin(), rest.end(), front));
        EXPECT_EQ(std::vector<Text>(learned.begin() + 2, learned.end()), rest);
        // Back and forth gives the same pages.
        if (app->g.gridList.pageIndex > 0) {
            const std::vector<Text> last = page();
            click(app->form.超级上);
            click(app->form.超级下);
            EXPECT_EQ(page(), last);
            for (int guard = 0; guard < 50 && app->g.gridPage.hasPrevious; ++guard) click(app->form.超级上);
            EXPECT_EQ(page(), first);
        }

        // 清除记忆, confirmed: the shipped order again; refused: kept.
        svc.answerYes = false;
        app->chooseMenu("清除记忆");
        EXPECT_FALSE(app->learning().memory().empty());
        svc.answerYes = true;
        app->chooseMenu("清除记忆");
        c.show();
        EXPECT_EQ(wholeList(), shipped);
        app->chooseMenu("记忆常用字");  // off for the next case
        app.reset();
        fs::remove(data_ / "memory.txt");
    }
}

TEST_F(LearningTest, AWordPickedFromTheStripLeadsItsHintsNextTime) {
    start();
    on();
    auto show = [this] {
        app->enterFourCornerMode();
        key(1);  // 甲 first: its word hints in the strip
    };
    show();
    const Text shipped = app->form.词语提示标签.text();
    EXPECT_EQ(shipped.substr(0, 5), "甲" + nth(10) + " ");
    app->stripRelease(100);  // slot 3
    EXPECT_EQ(typed(), "甲" + nth(13));
    show();
    const Text learned = app->form.词语提示标签.text();
    EXPECT_EQ(learned.substr(0, 5), "甲" + nth(13) + " ");
    EXPECT_EQ(learned.size(), shipped.size());  // still eight words, none twice
    // The word keeps its place as a word the strip can pick.
    app->stripRelease(10);
    EXPECT_EQ(typed(), "甲" + nth(13) + "甲" + nth(13));
}

TEST_F(LearningTest, TheMemoryFileSurvivesARestartPrivatelyAndDamageIsToldOnce) {
    start();
    on();
    app->enterStrokeMode();
    key(1);
    pick(nth(33));
    app.reset();  // ending the program writes what is due
    const fs::path file = data_ / "memory.txt";
    ASSERT_TRUE(fs::exists(file));
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    start();
    EXPECT_TRUE(app->form.findMenuItem("记忆常用字")->checked);
    app->enterStrokeMode();
    key(1);
    EXPECT_EQ(page().front(), nth(33));
    app.reset();

    // Damaged lines are skipped and told once; the rest is read.
    std::string bytes;
    {
        std::ifstream in(file, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    std::ofstream(file, std::ios::binary) << bytes << "s\t1\t\xff\xff\t3\nbroken line\ns\t10\t" << nth(20) << "\t-4\n";
    svc.messages.clear();
    start();
    ASSERT_EQ(svc.messages.size(), 1u);
    EXPECT_NE(svc.messages[0].text.find("3"), Text::npos);
    app->enterStrokeMode();
    key(1);
    EXPECT_EQ(page().front(), nth(33));
}

TEST(PickMemory, RoundTripDamageAndSizeBound) {
    PickMemory m;
    m.setLearning(true);
    m.record(picklist::kStroke, "12", "十");
    m.record(picklist::kStroke, "12", "十");
    m.record(picklist::kWordHint, "的", "的确");
    m.record(picklist::kStroke, "1\t2", "x");       // a tab in the key: not counted
    m.record('z', "1", "x");                        // no such list
    PickMemory back;
    EXPECT_EQ(back.parse(m.serialize()), 0);
    EXPECT_TRUE(back.learning());
    EXPECT_EQ(back.count(picklist::kStroke, "12", "十"), 2);
    EXPECT_EQ(back.count(picklist::kWordHint, "的", "的确"), 1);
    EXPECT_EQ(back.size(), 2u);
    EXPECT_EQ(back.serialize(), m.serialize());
    EXPECT_TRUE(back.knowsPrefix(picklist::kStroke, "1"));
    EXPECT_FALSE(back.knowsPrefix(picklist::kStroke, "2"));

    struct Case {
        std::string file;
        int damaged;
        size_t kept;
    } cases[] = {
        {"", 0, 0},
        {"not a memory file\ns\t1\tx\t1\n", 2, 0},
        {"# lumiko pick memory 1\r\nlearning on\r\ns\t1\tx\t2\r\n", 0, 1},
        {"# lumiko pick memory 1\ns\t1\tx\n", 1, 0},                 // no count
        {"# lumiko pick memory 1\ns\t1\tx\t0\n", 1, 0},              // not a pick
        {"# lumiko pick memory 1\ns\t1\tx\t99999999999999\n", 1, 0},  // out of range
        {"# lumiko pick memory 1\ns\t1\tx\t2\tmore\n", 1, 0},
        {"# lumiko pick memory 1\nq\t1\tx\t2\n", 1, 0},
        {"# lumiko pick memory 1\ns\t1\t\x80\t2\ns\t1\ty\t2\n", 1, 1},
        {"# lumiko pick memory 1\ns\t1\tx\t2\ns\t1\tx\t3\n", 0, 1},  // the same entry twice adds up
    };
    for (const auto& c : cases) {
        PickMemory p;
        EXPECT_EQ(p.parse(c.file), c.damaged) << c.file;
        EXPECT_EQ(p.size(), c.kept) << c.file;
    }

    // Whatever a file holds, what is read writes back as a file read whole.
    unsigned seed = 99;
    auto next = [&seed] { return seed = seed * 1103515245u + 12345u, (seed >> 16) & 0x7fff; };
    const char* const pieces[] = {"s", "a", "w", "\t", "\n", "\r\n", "1", "0", "-", "\xd2\xbb", "\xff", " ", "learning on"};
    for (int round = 0; round < 300; ++round) {
        std::string file = "# lumiko pick memory 1\n";
        for (int i = 0, n = static_cast<int>(next() % 40); i < n; ++i) file += pieces[next() % 13];
        PickMemory p;
        p.parse(file);
        PickMemory again;
        EXPECT_EQ(again.parse(p.serialize()), 0) << file;
        EXPECT_EQ(again.serialize(), p.serialize()) << file;
    }

    // Full, the memory halves every count: the entries picked often stay.
    PickMemory full;
    for (int i = 0; i < 5; ++i) full.record(picklist::kStroke, "1", "often");
    for (size_t i = 0; i <= PickMemory::kMaxEntries; ++i) full.record(picklist::kStroke, std::to_string(i), "x");
    EXPECT_LE(full.size(), PickMemory::kMaxEntries);
    EXPECT_GT(full.count(picklist::kStroke, "1", "often"), 0);
    EXPECT_LT(full.serialize().size(), 64u * PickMemory::kMaxEntries);
}

}  // namespace
}  // namespace lumiko::testing
