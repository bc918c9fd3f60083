#include "platform/pointer.h"

#include <gtest/gtest.h>

#include "app/panelform.h"

namespace lumiko {
namespace {

TEST(PointerRouting, TopmostShownControlTakesTheEvent) {
    PanelForm f;
    struct Case {
        int x, y;
        const char* expected;
    } cases[] = {
        {2, 2, "标签1"},            // the background
        {300, 5, "按钮3"},
        {45, 20, "按k1"},
        {230, 40, "更多"},         // lies over 图片框1
        {280, 40, "超级按钮1"},     // inside 图片框1 at (264, 2)
        {20, 20 + 33 + 72 + 8, "定位透明标签"},  // over the grid
        {100, 160, "显字标签"},
        {10, 390, "编辑框"},        // over the left end of 编辑框1
        {100, 390, "编辑框1"},
    };
    for (const auto& c : cases) {
        const Control* hit = controlAt(f, c.x, c.y);
        ASSERT_NE(hit, nullptr) << c.expected;
        EXPECT_EQ(hit->name, c.expected) << c.x << "," << c.y;
    }
    f.图片框3.visible = true;
    EXPECT_EQ(controlAt(f, 20 + 8, 2 + 108)->name, "字母");
}

TEST(PointerRouting, ClickNeedsPressAndReleaseOverTheSameControl) {
    PanelForm f;
    int clicks = 0, ups = 0, lastX = -1, lastY = -1;
    f.清空.onClick = [&] { ++clicks; };
    f.清空.onLeftUp = [&](int x, int y) {
        ++ups;
        lastX = x;
        lastY = y;
    };
    PointerRouter r(f);
    r.press(MouseButton::Left, 180, 35);
    r.release(MouseButton::Left, 181, 36);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ups, 1);
    EXPECT_EQ(lastX, 6);  // in the control's own coordinates
    EXPECT_EQ(lastY, 3);
    r.press(MouseButton::Left, 180, 35);
    r.release(MouseButton::Left, 100, 200);  // released elsewhere: no click, still the release
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(ups, 2);
}

}  // namespace
}  // namespace lumiko
