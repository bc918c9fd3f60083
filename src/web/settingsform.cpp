// Narrow string literals of the core are compiled to GBK (see CMakeLists.txt).
#include "web/settingsform.h"

namespace lumiko {

namespace {
using K = ControlKind;
}  // namespace

SettingsForm::SettingsForm()
    : title("Lumiko 反查字典设置"),
      列表框1(add("列表框1", K::ListBox, nullptr, 8, 8, 288, 192)),
      标签3(add("标签3", K::Label, nullptr, 7, 202, 225, 16, true, "标签")),
      标签4(add("标签4", K::Label, nullptr, 3, 226, 80, 24, true, "当前选中字典:")),
      编辑框1(add("编辑框1", K::EditBox, nullptr, 90, 226, 142, 24)),
      加载(add("加载", K::Button, nullptr, 239, 226, 56, 24, true, ">> 保存")),
      加载1(add("加载1", K::Button, nullptr, 8, 264, 136, 24, true, "打开字典词库所在文件夹")),
      透明标签1(add("透明标签1", K::TransparentLabel, nullptr, 175, 274, 128, 16, true,
                      "点此下载更多字典词库")) {
    加载.enabled = false;
    透明标签1.pointer = Pointer::Hand;
}

}  // namespace lumiko
