// The three input modes, read back from the panel and entered.
#include <utility>

#include "input/input.h"
#include "engine/builtin.h"

namespace lumiko::input {

namespace {
constexpr int kStrokeStripWidth = 415;
constexpr int kNarrowStripWidth = 247;

constexpr const char* kStrokePictures[5] = {"heng", "shu", "pie", "dian", "zhe"};
constexpr const char* kFourCornerPictures[10] = {"heng", "pie",   "dian", "shi",  "shou",
                                                 "kou",  "chang", "ba",   "xiao", "tou"};
constexpr const char* kExtraStrokePictures[10] = {"heng", "shu",  "pie", "dian", "zhe",
                                                  "shi",  "xiao", "yi",  "ba",   "ring"};

}  // namespace

Mode modeOf(const PanelForm& form) {
    if (form.词语提示标签.width == kStrokeStripWidth) return Mode::Stroke;
    if (samePicture(form.超级按钮[10]->picture, &builtin::picture("ring"))) return Mode::ExtraStroke;
    return Mode::FourCorner;
}

bool strokeMode(const PanelForm& form) { return form.词语提示标签.width == kStrokeStripWidth; }

void Input::clearInput() {
    form.输入标签.setText("");
    g.gridPage = CandidatePage{};
    form.显字标签.setText("");
    form.编辑框2.setText("");
    hidePageButtons();
    g.stripPage = CandidatePage{};
    g.stripPaged = false;
    form.词语提示标签.setText("");
}

void Input::hidePageButtons() {
    form.超级上.visible = false;
    form.超级下.visible = false;
    g.codeActive = 0;
}

void Input::showPageButtons() {
    form.超级上.visible = true;
    form.超级下.visible = true;
    g.codeActive = 1;
}

void Input::showUpperKeys() {
    for (int k = 6; k <= 10; ++k) form.超级按钮[static_cast<size_t>(k)]->visible = true;
    form.词语提示标签.width = kNarrowStripWidth;
}

void Input::hideUpperKeys() {
    for (int k = 6; k <= 10; ++k) form.超级按钮[static_cast<size_t>(k)]->visible = false;
    form.词语提示标签.width = kStrokeStripWidth;
}

// The keypad instead of the handwriting page, keys 1 to `count` with their
// pictures.
void Input::showKeypad(const char* const* pictures, size_t count) {
    form.WebBrowser1.visible = false;
    form.图片框1.visible = true;
    for (size_t k = 1; k <= count; ++k)
        form.超级按钮[k]->picture = &builtin::picture(pictures[k - 1]);
}

// The grid lists `list` from its start (the code "as").
void Input::listFromStart(SharedText list) {
    g.searchCode = "as";
    g.searchTable = std::move(list);
    searches_.searchCandidates(0, 0);
}

void Input::enterStrokeMode() {
    showKeypad(kStrokePictures, 5);
    hideUpperKeys();
    clearInput();
    listFromStart(builtin::shared(builtin::componentList));
    g.picksSinceStroke = 2;
    g.commitsInRow = 0;
    g.singleDigitState = 1;
    form.超级上.visible = true;
    form.超级下.visible = true;
}

void Input::enterTenKeyMode(const char* const (&pictures)[10]) {
    showKeypad(pictures, 10);
    clearInput();
    showUpperKeys();
    listFromStart(builtin::shared(builtin::commonCharacterList));
    g.commitsInRow = 0;
    form.超级上.visible = true;
    form.超级下.visible = true;
}

void Input::enterFourCornerMode() { enterTenKeyMode(kFourCornerPictures); }

void Input::enterExtraStrokeMode() { enterTenKeyMode(kExtraStrokePictures); }

}  // namespace lumiko::input
