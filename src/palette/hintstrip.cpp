// The word-hint strip is never measured: fixed pixel ranges and fixed byte
// slots fit its two layouts, single characters (3 bytes a slot) and
// two-character words (5 bytes a slot).
#include "palette/palette.h"

namespace lumiko::palette {

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

std::optional<Pointer> stripPointerAt(const StripState& state, int x) {
    int slot;
    if (state.wide) {
        if (!state.startList) return std::nullopt;  // the pointer stays as it was
        slot = slotAt(kCharacterSlots, x);
    } else if (state.singleDigitState == 1) {
        slot = slotAt(kWordPointerSlots, x);
    } else {
        slot = slotAt(kCharacterSlots, x);
    }
    return slot >= 0 ? Pointer::Hand : Pointer::Default;
}

std::optional<StripPick> stripPickAt(const StripState& state, const Text& stripText, int x) {
    Layout layout = Layout::None;
    bool prefix = false;
    if (state.wide) {
        if (state.startList) {
            layout = Layout::Character;
        } else if (state.singleDigitState == 1) {
            layout = Layout::Word;
        } else if (state.singleDigitState == 2) {
            layout = state.codeEmpty ? Layout::Word : Layout::Character;
            prefix = !state.codeEmpty;
        }
    } else if (state.singleDigitState == 1 || state.singleDigitState == 2) {
        layout = Layout::Word;
    }
    if (layout == Layout::None) return std::nullopt;

    const bool words = layout == Layout::Word;
    const int slot = words ? slotAt(kWordPickSlots, x) : slotAt(kCharacterSlots, x);
    if (slot < 0) return std::nullopt;
    return StripPick{words ? midText(stripText, 1 + 5 * slot, 4) : midText(stripText, 1 + 3 * slot, 2), prefix};
}

}  // namespace lumiko::palette
