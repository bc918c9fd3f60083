// The three input modes. The mode lives in the panel itself: the strip is 415
// pixels wide in stroke mode, and key 10 shows the ring in extra-stroke mode.
#include "app/app.h"
#include "engine/builtin.h"

namespace lumiko {

namespace {
constexpr int kStrokeStripWidth = 415;
constexpr int kNarrowStripWidth = 247;

constexpr const char* kStrokePictures[5] = {"heng", "shu", "pie", "dian", "zhe"};
constexpr const char* kFourCornerPictures[10] = {"heng", "pie",   "dian", "shi",  "shou",
                                                 "kou",  "chang", "ba",   "xiao", "tou"};
constexpr const char* kExtraStrokePictures[10] = {"heng", "shu",  "pie", "dian", "zhe",
                                                  "shi",  "xiao", "yi",  "ba",   "ring"};

}  // namespace

Mode App::mode() const {
    if (form.词语提示标签.width == kStrokeStripWidth) return Mode::Stroke;
    if (samePicture(form.超级按钮[10]->picture, &builtin::picture("ring"))) return Mode::ExtraStroke;
    return Mode::FourCorner;
}

bool App::strokeMode() const { return form.词语提示标签.width == kStrokeStripWidth; }

void App::clearInput() {
    form.输入标签.setText("");
    form.显字标签.setText("");
    form.编辑框2.setText("");
    hidePageButtons();
    form.词语提示标签.setText("");
}

void App::hidePageButtons() {
    form.超级上.visible = false;
    form.超级下.visible = false;
    g.codeActive = 0;
}

void App::showPageButtons() {
    form.超级上.visible = true;
    form.超级下.visible = true;
    g.codeActive = 1;
}

void App::showUpperKeys() {
    for (int k = 6; k <= 10; ++k) form.超级按钮[static_cast<size_t>(k)]->visible = true;
    form.词语提示标签.width = kNarrowStripWidth;
}

void App::hideUpperKeys() {
    for (int k = 6; k <= 10; ++k) form.超级按钮[static_cast<size_t>(k)]->visible = false;
    form.词语提示标签.width = kStrokeStripWidth;
}

void App::enterStrokeMode() {
    form.WebBrowser1.visible = false;
    form.图片框1.visible = true;
    for (size_t k = 1; k <= 5; ++k)
        form.超级按钮[k]->picture = &builtin::picture(kStrokePictures[k - 1]);
    hideUpperKeys();
    clearInput();
    g.searchCode = "as";
    g.searchTable = builtin::shared(builtin::componentList);
    searchCandidates(0, 0);
    g.picksSinceStroke = 2;
    g.commitsInRow = 0;
    g.singleDigitState = 1;
    form.超级上.visible = true;
    form.超级下.visible = true;
}

namespace {
void enterTenKeyMode(App& app, const char* const (&pictures)[10]) {
    app.form.WebBrowser1.visible = false;
    app.form.图片框1.visible = true;
    for (size_t k = 1; k <= 10; ++k)
        app.form.超级按钮[k]->picture = &builtin::picture(pictures[k - 1]);
    app.clearInput();
    app.showUpperKeys();
    app.g.searchCode = "as";
    app.g.searchTable = builtin::shared(builtin::commonCharacterList);
    app.searchCandidates(0, 0);
    app.g.commitsInRow = 0;
    app.form.超级上.visible = true;
    app.form.超级下.visible = true;
}
}  // namespace

void App::enterFourCornerMode() { enterTenKeyMode(*this, kFourCornerPictures); }

void App::enterExtraStrokeMode() { enterTenKeyMode(*this, kExtraStrokePictures); }

}  // namespace lumiko
