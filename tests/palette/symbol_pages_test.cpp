// The symbol pages cell by cell, and the palette's opening and closing.
#include <sstream>

#include "panel_fixture.h"

namespace lumiko::testing {
namespace {

// Every page as the user sees it: for each filled row its twelve cells,
// separated by tabs (no symbol holds one). Rows not listed are empty.
struct ExpectedRow {
    int row;
    const char* cells;
};
struct ExpectedPage {
    const char* name;
    std::vector<ExpectedRow> rows;
};
const std::vector<ExpectedPage> kExpected = {
    {"字母",
     {
         {0, "q\tw\te\tr\tt\ty\tu\ti\to\tp\t[\t] "},
         {1, "a\ts\td\tf\tg\th\tj\tk\tl\t;\t'\t<"},
         {2, "z\tx\tc\tv\tb\tn\tm\t,\t.\t/\t?\t>"},
         {4, "Q\tW\tE\tR\tT\tY\tU\tI\tO\tP\t{\t} "},
         {5, "A\tS\tD\tF\tG\tH\tJ\tK\tL\t:\t〝\t〞"},
         {6, "Z\tX\tC\tV\tB\tN\tM\t,\t.\t/\t<\t>"},
     }},
    {"标点符号",
     {
         {0, ".\t。\t,\t、\t！\t？\t：\t；\t`\t﹑\t＂\t^"},
         {1, "‘\t’\t“\t”\t〝\t〞\t~\t\\\t∕\t|\t‖\t…"},
         {2, "(\t)\t﹛\t﹜\t〈\t〉\t﹝\t﹞\t「\t」\t〖\t〗"},
         {3, "[\t]\t{\t}\t《\t》\t〔\t〕\t『\t』\t【\t】"},
         {4, "﹐\t﹕\t﹔\t！\t？\t?\t﹏\t＇\tˊ\t-\t﹫\t︳"},
         {5, "︰\t;\t﹌\t﹋\t′\tˋ\t―\t@\tˉ\t￣\t_\t＿"},
         {6, "﹢\t﹦\t﹤\t-\t﹟\t﹩\t﹠\t﹪\t﹡\t﹨\t﹍\tˇ"},
         {7, "+\t=\t<\t‐\t#\t$\t&\t%\t*\t\\\t﹉\t~"},
         {8, "︵\t︷\t︿\t︹\t︽\t_\t﹁\t﹃\t︻\t\t\t"},
         {9, "︶\t︸\t﹀\t︺\t︾\tˉ\t﹂\t﹄\t︼\t\t\t"},
     }},
    {"数学符号",
     {
         {0, "≈\t≡\t≠\t=\t≤\t≥\t<\t>\t≮\t≯\t∷\t·"},
         {1, "±\t＋\t－\t×\t÷\t／\t∫\t∮\t∝\t∞\t∧\t∨"},
         {2, "∑\t∏\t∪\t∩\t∈\t∵\t∴\t⊥\t∥\t∠\t⌒\t⊙"},
         {3, "≌\t∽\t√\to\t⊿\t∟\t㏒\t㏑\t￠\t％\t‰\t℅"},
         {4, "℃\t℉\t′\t″\t〒\t¤\t○\tμ\t㎎\t㎏\t㎜\t㎝"},
         {5, "㏄\t㏎\t㏑\t㏒\tml\tmol\t＄\t￡\t￥\t㏕\t♂\t♀"},
     }},
    {"数字符号",
     {
         {0, "\t①\t②\t③\t④\t⑤\t⑥\t⑦\t⑧\t⑨\t⑩\t"},
         {2, "\t⑴\t⑵\t⑶\t⑷\t⑸\t⑹\t⑺\t⑻\t⑼\t⑽\t"},
         {3, "\t㈠\t㈡\t㈢\t㈣\t㈤\t㈥\t㈦\t㈧\t㈨\t㈩\t"},
         {5, "\t⒈\t⒉\t⒊\t⒋\t⒌\t⒍\t⒎\t⒏\t⒐\t⒑\t"},
         {6, "\tⅰ\tⅱ\tⅲ\tⅳ\tⅴ\tⅵ\tⅶ\tⅷ\tⅸ\tⅹ\t"},
         {7, "\tⅠ\tⅡ\tⅢ\tⅣ\tⅤ\tⅥ\tⅦ\tⅧ\tⅨ\tⅩ\t"},
         {8, "\tⅪ\tⅫ\t\t\t\t\t\t\t\t\t"},
     }},
    {"单位符号",
     {
         {1, "一\t二\t三\t四\t五\t六\t七\t八\t九\t十\t百\t千"},
         {2, "万\t亿\t兆\t吉\t太\t拍\t艾\t分\t厘\t毫\t微\t零"},
         {3, "壹\t贰\t叁\t肆\t伍\t陆\t柒\t捌\t玖\t拾\t佰\t仟"},
         {5, "％\t‰\t℅\t°\t℃\t℉\t′\t″\t〒\t¤\t○\tμ"},
         {6, "㎎\t㎏\t㎜\t㎝\t㎞\t㎡\t㏄\t㏎\t㏑\t㏒\tml\tmol"},
         {7, "＄\t￡\t￥\t㏕\t♂\t♀\to\t\t\t\t\t"},
     }},
    {"特殊符号",
     {
         {0, "§\t№\t☆\t★\t○\t●\t◎\t◇\t◆\t□\t■\t△"},
         {1, "※\t→\t←\t↑\t↓\t↖\t↗\t↙\t↘\t╱\t╲\t▲"},
         {2, "▏\t▕\t㊣\t╲\t╱\t▁\t▔\t卍\t♀\t♂\t∷\t……"},
         {3, "〓\t＃\t＆\t@\t\\\t^\t_\t￠\t㈱\tЮ\t\t"},
         {5, "夬\t丅\t乛\t丄\t丩\t乚\t夊\t亅\t亇\t厃\t々\t丂"},
         {6, "⺷\t〩\t兀\t⺁\t⺄\t⺈\t⺋\t⺌\t⺧\t⺪\t⺮\t⺳"},
         {7, "⺶\t⺻\t嘦\t巭\t深\t囧\t兲\t嫑\t跑\t氺\t〤\t⻊"},
         {8, "卍\t卐\t卄\t曱\t甴\t巜\t朤\t囍\t〥\t〆\tの\tぁ"},
         {9, "〦\t〧\t〨\t〡\t〢\t〣\t弍\t弎\t弐\t\t\t"},
     }},
    {"希腊字母",
     {
         {0, "Α\tΒ\tΓ\tΔ\tΕ\tΖ\tΗ\tΘ\tΙ\tΚ\tΛ\tΜ"},
         {1, "α\tβ\tγ\tδ\tε\tζ\tν\tξ\tο\tπ\tρ\tσ"},
         {2, "Ν\tΞ\tΟ\tΠ\tΡ\tΣ\tΤ\tΥ\tΦ\tΧ\tΨ\tΩ"},
         {3, "η\tθ\tι\tκ\tλ\tμ\tτ\tυ\tφ\tχ\tψ\tω"},
     }},
    {"拼音注音",
     {
         {0, "\t\tā\tō\tē\tī\tū\tǖ\tü\tê\t\t"},
         {1, "\t\tá\tó\té\tí\tú\tǘ\tń\tɑ\t\t"},
         {2, "\t\tǎ\tǒ\tě\tǐ\tǔ\tǚ\tň\tḿ\t\t"},
         {3, "\t\tà\tò\tè\tì\tù\tǜ\tǹ\tɡ\t\t"},
         {5, "\t\tㄅ\tㄆ\tㄇ\tㄈ\tㄉ\tㄊ\tㄋ\tㄌ\t\t"},
         {6, "\t\tㄍ\tㄎ\tㄏ\tㄐ\tㄑ\tㄒ\tㄓ\tㄔ\t\t"},
         {7, "\t\tㄕ\tㄖ\tㄗ\tㄘ\tㄙ\tㄚ\tㄛ\tㄜ\t\t"},
         {8, "\t\tㄝ\tㄞ\tㄟ\tㄠ\tㄡ\tㄢ\tㄣ\tㄤ\t\t"},
         {9, "\t\tㄥ\tㄦ\tㄧ\tㄨ\tㄩ\t\t\t\t\t"},
     }},
    {"平假名",
     {
         {0, "あ\tい\tう\tえ\tお\t\tが\tぎ\tぐ\tげ\tご\t"},
         {1, "か\tき\tく\tけ\tこ\t\tざ\tじ\tず\tぜ\tぞ\t"},
         {2, "さ\tし\tす\tせ\tそ\t\tだ\tぢ\tづ\tで\tど\t"},
         {3, "た\tち\tつ\tて\tと\t\tば\tび\tぶ\tべ\tぼ\t"},
         {4, "な\tに\tぬ\tね\tの\t\tぱ\tぴ\tぷ\tぺ\tぽ\t"},
         {5, "は\tひ\tふ\tへ\tほ\t\t\t\t\t\t\t"},
         {6, "ま\tみ\tむ\tめ\tも\t\tぁ\tぃ\tぅ\tぇ\tぉ\t"},
         {7, "や\tゆ\tよ\t\t\t\tゃ\tゅ\tょ\tっ\tー\t"},
         {8, "ら\tり\tる\tれ\tろ\t\tゐ\tゑ\tゎ\t\t\t"},
         {9, "わ\tを\tん\t゛\t゜\t\t「\t」\t■\t、\t。\t"},
     }},
    {"片假名",
     {
         {0, "ア\tイ\tウ\tエ\tオ\t\tガ\tギ\tグ\tゲ\tゴ\t"},
         {1, "カ\tキ\tク\tケ\tコ\t\tザ\tジ\tズ\tゼ\tゾ\t"},
         {2, "サ\tシ\tス\tセ\tソ\t\tダ\tヂ\tヅ\tデ\tド\t"},
         {3, "タ\tチ\tツ\tテ\tト\t\tバ\tビ\tブ\tベ\tボ\t"},
         {4, "ナ\tニ\tヌ\tネ\tノ\t\tパ\tピ\tプ\tペ\tポ\t"},
         {5, "ハ\tヒ\tフ\tヘ\tホ\t\t\t\t\t\t\t"},
         {6, "マ\tミ\tム\tメ\tモ\t\tァ\tィ\tゥ\tェ\tォ\t"},
         {7, "ヤ\tユ\tヨ\t\t\t\tャ\tュ\tョ\tッ\tー\t"},
         {8, "ラ\tリ\tル\tレ\tロ\t\tヰ\tヱ\tヮ\tヵ\tヶ\t"},
         {9, "ワ\tヲ\tン\t゛\t゜\t\t「\t」\t■\t、\t。\t"},
     }},
    {"俄文字母",
     {
         {0, "А\tБ\tВ\tГ\tД\tЕ\tЁ\tЖ\tЗ\tИ\tЙ\t"},
         {1, "а\tб\tв\tг\tд\tе\tё\tж\tз\tи\tй\t"},
         {3, "К\tЛ\tМ\tН\tО\tП\tР\tС\tТ\tУ\tФ\t"},
         {4, "к\tл\tм\tн\tо\tп\tр\tс\tт\tу\tф\t"},
         {6, "Х\tЦ\tЧ\tШ\tЩ\tЪ\tЫ\tЬ\tЭ\tЮ\tЯ\t"},
         {7, "х\tц\tч\tш\tщ\tъ\tы\tь\tэ\tю\tя\t"},
     }},
};

std::vector<std::string> splitTabs(const std::string& s) {
    std::vector<std::string> out;
    std::string cell;
    std::istringstream in(s);
    while (std::getline(in, cell, '\t')) out.push_back(cell);
    if (!s.empty() && s.back() == '\t') out.push_back("");
    return out;
}

class SymbolPageTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        start();
    }
    const Text& cell(int r, int c) {
        return app->form.表格1.cells[static_cast<size_t>(r)][static_cast<size_t>(c)];
    }
};

TEST_F(SymbolPageTest, EveryCellOfEveryPage) {
    ASSERT_EQ(kExpected.size(), 11u);
    for (size_t p = 0; p < kExpected.size(); ++p) {
        SCOPED_TRACE(kExpected[p].name);
        EXPECT_EQ(app->form.paletteButtons[p]->text(), kExpected[p].name);
        // Start from a full page, so that leftovers would show.
        app->showSymbolPage(1);
        app->showSymbolPage(static_cast<int>(p));
        std::vector<std::string> want(10, std::string(11, '\t'));
        for (const auto& r : kExpected[p].rows) want[static_cast<size_t>(r.row)] = r.cells;
        for (int r = 0; r < 10; ++r) {
            const auto cells = splitTabs(want[static_cast<size_t>(r)]);
            ASSERT_EQ(cells.size(), 12u) << "row " << r;
            for (int c = 0; c < 12; ++c)
                EXPECT_EQ(cell(r, c), cells[static_cast<size_t>(c)]) << "row " << r << ", column " << c;
        }
    }
}

// The literals must come out as GBK, including the letters outside GB2312.
TEST_F(SymbolPageTest, SymbolsAreGbk) {
    app->showSymbolPage(7);  // 拼音注音
    EXPECT_EQ(cell(2, 9), "\xA8\xBC");  // ḿ
    app->showSymbolPage(5);  // 特殊符号
    EXPECT_EQ(cell(6, 0), "\xFE\x75");  // ⺷
}

TEST_F(SymbolPageTest, MoreOpensOnPunctuationAndCloses) {
    auto& f = app->form;
    EXPECT_FALSE(f.图片框3.visible);
    app->showSymbolPage(6);
    click(f.更多);
    EXPECT_TRUE(f.图片框3.visible);
    EXPECT_EQ(cell(0, 1), "。");
    EXPECT_EQ(cell(9, 0), "︶");
    click(f.更多);
    EXPECT_FALSE(f.图片框3.visible);
    click(f.更多);
    click(*f.paletteButtons[12]);  // 返回
    EXPECT_FALSE(f.图片框3.visible);
}

}  // namespace
}  // namespace lumiko::testing
