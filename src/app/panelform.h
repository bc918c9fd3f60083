// The input panel: every control at its place, in stacking order (bottom
// first), with its caption, visibility and parent.
#pragma once

#include <array>

#include "platform/controls.h"

namespace lumiko {

class PanelForm : public Form {
public:
    static constexpr int kWidth = 431, kHeight = 412;

    PanelForm();

    // The window itself.
    int left = 50, top = 50, width = kWidth, height = kHeight;
    bool visible = true;
    bool minimized = false;
    Text title = "\xcb\xab\xbb\xf7\xb7\xb5\xbb\xd8-\xca\xe4\xc8\xeb\xd7\xb4\xcc\xac";  // 双击返回-输入状态

    Control& 标签1;
    Control& 云手写输入;
    Control& 笔画输入;
    Control& 笔画附加;
    Control& 号码四角;
    Control& 按钮3;
    Control& 按钮4;
    Control& 按钮5;
    Control& 按钮9;
    Control& 按钮10;
    std::array<Control*, 16> 按k{};  // 按k[1] … 按k[15]
    Control& 图片框1;
    Control& 输入标签;
    Control& 编辑框2;
    Control& 清空;
    std::array<Control*, 11> 超级按钮{};  // 超级按钮[1] … 超级按钮[10]
    Control& 词语提示标签;
    Control& 图片框2;
    Control& 显字标签;
    Control& 定位透明标签;
    Control& 超级上;
    Control& 超级下;
    Control& 更多;
    Control& 图片框3;
    std::array<Control*, 13> paletteButtons{};  // 字母 … 日期, 超10
    Control& 表格1;
    Control& 列表框1;
    Control& WebBrowser1;
    Control& 编辑框1;
    Control& 编辑框;
    Control& 隐藏的超级链接框;
    Control& 底盘标签;
    Control& 时钟1;

    std::vector<MenuItem> 菜单;
    MenuItem* findMenuItem(std::string_view name);

    // Keeps 标签1 covering the whole panel.
    void resized();
};

}  // namespace lumiko
