// Narrow string literals of the core are compiled to GBK (see CMakeLists.txt).
#include "app/panelform.h"

#include <string>

namespace lumiko {

namespace {
using K = ControlKind;

// The punctuation keys from left to right along the top row, with the
// full-width labels they show.
struct PunctuationKey {
    int number;
    const char* label;
};
constexpr PunctuationKey kPunctuationRow[15] = {
    {1, "，"}, {2, "。"}, {3, "、"},  {4, "："},  {5, "；"},  {10, "？"}, {9, "！"}, {8, "“"},
    {7, "”"}, {6, "（"}, {15, "）"}, {14, "＠"}, {13, "\\"}, {12, "/"},  {11, "．"},
};

constexpr const char* kPaletteButtons[13] = {"字母",     "标点符号", "数学符号", "数字符号", "单位符号",
                                             "特殊符号", "希腊字母", "拼音注音", "平假名",   "片假名",
                                             "俄文字母", "日期",     "超10"};
constexpr int kPaletteButtonTops[13] = {2, 21, 40, 59, 78, 96, 114, 133, 152, 171, 190, 209, 240};
constexpr int kKeyLefts[5] = {264, 296, 328, 360, 392};

MenuItem item(std::string name) {
    MenuItem m;
    m.name = std::move(name);
    return m;
}
MenuItem separator() {
    MenuItem m;
    m.separator = true;
    return m;
}
}  // namespace

PanelForm::PanelForm()
    : 标签1(add("标签1", K::Label, nullptr, 0, 0, 96, 8, true, std::string(13, ' '))),
      云手写输入(add("云手写输入", K::PictureButton, nullptr, 40, 1, 72, 16, true, "云手写输入")),
      笔画输入(add("笔画输入", K::PictureButton, nullptr, 116, 1, 32, 16, true, "笔画")),
      笔画附加(add("笔画附加", K::PictureButton, nullptr, 152, 1, 64, 16, true, "附加笔画")),
      号码四角(add("号码四角", K::PictureButton, nullptr, 224, 1, 60, 16, true, "四角号码")),
      按钮3(add("按钮3", K::PictureButton, nullptr, 288, 1, 25, 22)),
      按钮4(add("按钮4", K::PictureButton, nullptr, 313, 1, 25, 22)),
      按钮5(add("按钮5", K::PictureButton, nullptr, 338, 1, 25, 22)),
      按钮9(add("按钮9", K::PictureButton, nullptr, 380, 1, 25, 22, true, "—")),
      按钮10(add("按钮10", K::PictureButton, nullptr, 405, 1, 25, 22, true, "×")),
      图片框1((
          [this] {
              for (int i = 0; i < 15; ++i) {
                  const auto& k = kPunctuationRow[i];
                  按k[static_cast<size_t>(k.number)] =
                      &add("按k" + std::to_string(k.number), K::PictureButton, nullptr, 40 + 16 * i,
                           17, 16, 16, true, k.label);
              }
          }(),
          add("图片框1", K::PictureBox, nullptr, 0, 33, 431, 345))),
      输入标签(add("输入标签", K::TransparentLabel, &图片框1, 8, 8, 247, 30)),
      编辑框2(add("编辑框2", K::EditBox, &图片框1, -555, 8, 72, 24, false)),
      清空(add("清空", K::PictureButton, &图片框1, 175, 0, 40, 16, true, "清空")),
      词语提示标签((
          [this] {
              for (int k = 1; k <= 10; ++k)
                  超级按钮[static_cast<size_t>(k)] =
                      &add("超级按钮" + std::to_string(k), K::PictureButton, &图片框1,
                           kKeyLefts[(k - 1) % 5], k <= 5 ? 2 : 40, 32, 32);
          }(),
          add("词语提示标签", K::TransparentLabel, &图片框1, 8, 40, 415, 30))),
      图片框2(add("图片框2", K::PictureBox, &图片框1, -1, 72, 432, 272)),
      显字标签(add("显字标签", K::Label, &图片框2, 8, 8, 416, 250)),
      定位透明标签(add("定位透明标签", K::TransparentLabel, &图片框2, 8, 8, 44, 44, true,
                        "____________")),
      超级上(add("超级上", K::PictureButton, &图片框2, 352, 224, 32, 32, false)),
      超级下(add("超级下", K::PictureButton, &图片框2, 392, 224, 32, 32, false)),
      更多(add("更多", K::PictureButton, nullptr, 218, 35, 40, 16, true, "更多")),
      图片框3(add("图片框3", K::PictureBox, nullptr, 8, 108, 416, 260, false)),
      表格1((
          [this] {
              for (size_t i = 0; i < 13; ++i)
                  paletteButtons[i] = &add(kPaletteButtons[i], K::PictureButton, &图片框3, 4,
                                           kPaletteButtonTops[i], 80, 16, true,
                                           i == 12 ? "返回" : kPaletteButtons[i]);
          }(),
          add("表格1", K::Grid, &图片框3, 104, 0, 303, 254))),
      列表框1(add("列表框1", K::ListBox, &图片框3, 104, 0, 280, 248, false)),
      WebBrowser1(add("WebBrowser1", K::WebBrowser, nullptr, -1, 3300, 431, 345)),
      编辑框1(add("编辑框1", K::EditBox, nullptr, 1, 378, 429, 30)),
      编辑框(add("编辑框", K::EditBox, nullptr, 0, 378, 40, 33)),
      隐藏的超级链接框(add("隐藏的超级链接框", K::Hyperlink, nullptr, 8, 344, 48, 16, false)),
      底盘标签(add("底盘标签", K::Label, nullptr, 672, 280, 24, 16, false)),
      时钟1(add("时钟1", K::Timer, nullptr, 0, 0, 0, 0)) {
    显字标签.fontSize = 26;  // "宋体", characters 35 pixels high

    MenuItem help = item("帮助/其它");
    help.submenu = {item("字典设置"), item("备用输入接口"), separator(), item("使用说明"),
                    separator(),      item("检查更新"),     separator(), item("关于"),
                    separator(),      item("记忆常用字"),   item("清除记忆")};
    菜单 = {item("关闭菜单"), separator(),    item("繁体"), item("打开/关闭输入"),
            separator(),      std::move(help), item("退出")};
    resized();
}

void PanelForm::resized() {
    标签1.width = width;
    标签1.height = height;
}

MenuItem* PanelForm::findMenuItem(std::string_view name) {
    for (auto& m : 菜单) {
        if (!m.separator && m.name == name) return &m;
        for (auto& s : m.submenu)
            if (!s.separator && s.name == name) return &s;
    }
    return nullptr;
}

}  // namespace lumiko
