// The dictionary settings window: its controls at their places.
#pragma once

#include "platform/controls.h"

namespace lumiko {

class SettingsForm : public Form {
public:
    SettingsForm();
    int left = 50, top = 50, width = 311, height = 333;
    Text title;

    Control& 列表框1;
    Control& 标签3;
    Control& 标签4;
    Control& 编辑框1;
    Control& 加载;
    Control& 加载1;
    Control& 透明标签1;
};

}  // namespace lumiko
