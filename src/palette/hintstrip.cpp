// The word-hint strip is never measured: fixed pixel ranges and fixed byte
// slots fit its two layouts, single characters (3 bytes a slot) and
// two-character words (5 bytes a slot).
#include "app/app.h"

namespace lumiko {

namespace {
struct Range {
    int low, high;  // both excluded
};
constexpr Range kCharacterSlots[18] = {
    {0, 14},    {23, 38},   {46, 62},   {70, 84},   {90, 107},  {114, 130},
    {138, 152}, {158, 176}, {182, 200}, {207, 222}, {230, 246}, {252, 266},
    {276, 292}, {298, 314}, {320, 336}, {346, 360}, {366, 384}, {390, 406},
};
constexpr Range kWordPickSlots[8] = {{0, 24},   {26, 56},   {56, 84},   {86, 118},
                                     {120, 148}, {150, 178}, {180, 208}, {210, 238}};
constexpr Range kWordPointerSlots[8] = {{0, 24},   {26, 56},   {56, 84},   {86, 108},
                                        {120, 138}, {150, 178}, {180, 208}, {210, 238}};

template <size_t N>
int slotAt(const Range (&slots)[N], int x) {
    for (size_t k = 0; k < N; ++k)
        if (slots[k].low < x && x < slots[k].high) return static_cast<int>(k);
    return -1;
}

enum class Layout { None, Character, Word };
}  // namespace

void App::stripMouseMove(int x) {
    Control& strip = form.词语提示标签;
    int slot;
    if (strip.width == 415) {
        if (g.searchCode != "as") return;  // the pointer stays as it was
        slot = slotAt(kCharacterSlots, x);
    } else if (g.singleDigitState == 1) {
        slot = slotAt(kWordPointerSlots, x);
    } else {
        slot = slotAt(kCharacterSlots, x);
    }
    strip.pointer = slot >= 0 ? Pointer::Hand : Pointer::Default;
}

void App::stripRelease(int x) {
    const Control& strip = form.词语提示标签;
    Layout layout = Layout::None;
    bool prefix = false;
    if (strip.width == 415) {
        if (g.searchCode == "as") {
            layout = Layout::Character;
        } else if (g.singleDigitState == 1) {
            layout = Layout::Word;
        } else if (g.singleDigitState == 2) {
            const bool codeEmpty = form.编辑框2.text().empty();
            layout = codeEmpty ? Layout::Word : Layout::Character;
            prefix = !codeEmpty;
        }
    } else if (g.singleDigitState == 1 || g.singleDigitState == 2) {
        layout = Layout::Word;
    }
    if (layout == Layout::None) return;

    const bool words = layout == Layout::Word;
    const int slot = words ? slotAt(kWordPickSlots, x) : slotAt(kCharacterSlots, x);
    if (slot < 0) return;
    g.pickedText = words ? midText(strip.text(), 1 + 5 * slot, 4) : midText(strip.text(), 1 + 3 * slot, 2);
    if (prefix)
        usePickAsPrefix();
    else
        pickText();
}

}  // namespace lumiko
