// The ten keys: each appends its digit to the code and its glyph to the
// stroke display; the glyph depends on the mode, the digit never does.
#include "input/input.h"
#include "engine/builtin.h"

namespace lumiko::input {

namespace {
struct KeyGlyphs {
    const char* digit;
    const char* stroke;
    const char* extraStroke;
    const char* fourCorner;
};
constexpr KeyGlyphs kKeys[11] = {
    {"", "", "", ""},
    {"1", "一", "一", "一"}, {"2", "丨", "丨", "丿"}, {"3", "丿", "丿", "丶"},
    {"4", "丶", "丶", "十"}, {"5", "乙", "乙", "扌"}, {"6", "", "十", "口"},
    {"7", "", "小", "厂"},   {"8", "", "乂", "八"},   {"9", "", "八", "小"},
    {"0", "", "○", "亠"},
};
}  // namespace

void Input::pressKey(int k) {
    if (k < 1 || k > 10) return;
    const KeyGlyphs& key = kKeys[k];
    auto append = [this, &key](const char* glyph) {
        form.编辑框2.setText(form.编辑框2.text() + key.digit);  // runs codeChanged
        form.输入标签.setText(form.输入标签.text() + glyph);
    };
    if (k <= 5 && strokeMode(form)) {
        append(key.stroke);
        g.picksSinceStroke = 0;
        g.commitsInRow = 0;
    } else if (samePicture(form.超级按钮[10]->picture, &builtin::picture("ring"))) {
        append(key.extraStroke);
    } else {
        append(key.fourCorner);
    }
}

}  // namespace lumiko::input
