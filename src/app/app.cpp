// The App object: constructs the panel and connects every control's events
// to the operation that handles them.
#include "app/app.h"
#include "app/config.h"

namespace lumiko {

namespace {
// What each punctuation key types (its label is the full-width mark).
constexpr const char* kPunctuationText[16] = {"", ",", ".", "、", ":", ";", "(", "”", "“",
                                              "!", "?", ".", "/", "\\", "@", ")"};
}  // namespace

App::App(Services& services) : webPage(services), svc_(services) {
    // The hidden link starts out pointing at the forum's home page.
    form.隐藏的超级链接框.setText(forumUrl() + "/");
    wireHandlers();
}

App::~App() {
    // What the last seconds taught is kept when the program ends another way.
    if (learning_.unsaved()) learning_.save(0, true);
}

void App::loadLearning(const Text& path) {
    const Text problem = learning_.load(path);
    form.findMenuItem("记忆常用字")->checked = learning_.on();
    if (problem.empty()) return;
    svc_.log(problem);
    svc_.messageBox("Lumiko输入法 1.0", problem, Buttons::Ok);
}

void App::saveLearning(bool force) {
    const DateTime t = svc_.now();
    const long now = ((static_cast<long>(t.day) * 24 + t.hour) * 60 + t.minute) * 60 + t.second;
    const Text problem = learning_.save(now, force);
    if (problem.empty()) return;
    svc_.log(problem);
    svc_.messageBox("Lumiko输入法 1.0", problem, Buttons::Ok);
}

void App::wireHandlers() {
    PanelForm& f = form;
    f.标签1.onRightUp = [this](int, int) { svc_.popupMenu(); };
    f.标签1.onDoubleClick = [this] { hidePanel(); };
    f.按钮3.onLeftUp = [this](int, int) { backspace(); };
    f.输入标签.onLeftUp = [this](int, int) { backspace(); };
    f.按钮4.onLeftUp = [this](int, int) { svc_.sendKey(Key::Space); };
    f.按钮5.onLeftUp = [this](int, int) { svc_.sendKey(Key::Enter); };
    f.按钮9.onClick = [this] { form.minimized = !form.minimized; };
    f.按钮10.onClick = [this] { hidePanel(); };
    for (size_t k = 1; k <= 15; ++k)
        f.按k[k]->onLeftUp = [this, k](int, int) { commitText(Text(kPunctuationText[k])); };

    f.云手写输入.onClick = [this] { showHandwritingPage(); };
    f.笔画输入.onClick = [this] { enterStrokeMode(); };
    f.笔画附加.onClick = [this] { enterExtraStrokeMode(); };
    f.号码四角.onClick = [this] { enterFourCornerMode(); };
    f.清空.onClick = [this] { clearInput(); };
    for (int k = 1; k <= 10; ++k)
        f.超级按钮[static_cast<size_t>(k)]->onLeftUp = [this, k](int, int) { pressKey(k); };
    f.编辑框2.onChange = [this] { codeChanged(); };
    f.显字标签.onMouseMove = [this](int x, int y) { gridHover(x, y); };
    f.定位透明标签.onLeftUp = [this](int, int) { gridClick(); };
    f.超级上.onLeftUp = [this](int, int) {
        searchCandidates(1, 1);
        fillHintStrip(1, 1);
    };
    f.超级下.onLeftUp = [this](int, int) {
        searchCandidates(1, 0);
        fillHintStrip(1, 0);
    };
    f.词语提示标签.onMouseMove = [this](int x, int) { stripMouseMove(x); };
    f.词语提示标签.onLeftUp = [this](int x, int) { stripRelease(x); };
    f.编辑框.onChange = [this] { refreshInfoStrip(); };

    f.更多.onClick = [this] { togglePalette(); };
    for (int page = 0; page <= 10; ++page)
        f.paletteButtons[static_cast<size_t>(page)]->onClick = [this, page] { showSymbolPage(page); };
    f.paletteButtons[11]->onClick = [this] { showDatePage(); };
    f.paletteButtons[12]->onClick = [this] { form.图片框3.visible = false; };
    f.表格1.onLeftUp = [this](int, int) { paletteCellPicked(); };
    f.列表框1.onSelect = [this] { dateLineChosen(); };

    auto toggle = [this](const char* name) {
        return [this, name] {
            MenuItem* m = form.findMenuItem(name);
            m->checked = !m->checked;
        };
    };
    f.findMenuItem("关闭菜单")->onChoose = [] {};
    f.findMenuItem("繁体")->onChoose = toggle("繁体");
    f.findMenuItem("备用输入接口")->onChoose = toggle("备用输入接口");
    f.findMenuItem("打开/关闭输入")->onChoose = [this] {
        if (!form.visible) {
            if (form.WebBrowser1.visible) openPad();
            showPanel();
        } else {
            hidePanel();
        }
    };
    f.findMenuItem("字典设置")->onChoose = [this] { openSettings(); };
    f.findMenuItem("使用说明")->onChoose = [this] { help(); };
    f.findMenuItem("检查更新")->onChoose = [this] { updateCheck(); };
    f.findMenuItem("关于")->onChoose = [this] { about(); };
    f.findMenuItem("记忆常用字")->onChoose = [this] {
        MenuItem* m = form.findMenuItem("记忆常用字");
        m->checked = !m->checked;
        learning_.setOn(m->checked);
        saveLearning(true);
    };
    f.findMenuItem("清除记忆")->onChoose = [this] {
        if (!svc_.messageBox("Lumiko输入法 1.0", "清除记住的常用字?候选字将回到原来的次序。", Buttons::YesNo)) return;
        learning_.clear();
        saveLearning(true);
    };
    f.findMenuItem("退出")->onChoose = [this] {
        saveLearning(true);
        svc_.trayRemove();
        exited = true;
        svc_.quit();
    };
}

}  // namespace lumiko
