#include "engine/builtin.h"

#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>
#include <list>

namespace lumiko::embedded {
#define LUMIKO_EMBEDDED(sym)              \
    extern const unsigned char sym[];     \
    extern const std::size_t sym##_size;
LUMIKO_EMBEDDED(componentList)
LUMIKO_EMBEDDED(commonCharacterList)
LUMIKO_EMBEDDED(strokeComponentTable)
LUMIKO_EMBEDDED(componentCodeTable)
LUMIKO_EMBEDDED(basicStrokeStrip)
LUMIKO_EMBEDDED(handwritingPage)
LUMIKO_EMBEDDED(icon_lumiko)
LUMIKO_EMBEDDED(icon_backspace)
LUMIKO_EMBEDDED(icon_space)
LUMIKO_EMBEDDED(icon_enter)
LUMIKO_EMBEDDED(picture_heng)
LUMIKO_EMBEDDED(picture_shu)
LUMIKO_EMBEDDED(picture_pie)
LUMIKO_EMBEDDED(picture_dian)
LUMIKO_EMBEDDED(picture_zhe)
LUMIKO_EMBEDDED(picture_shi)
LUMIKO_EMBEDDED(picture_shou)
LUMIKO_EMBEDDED(picture_kou)
LUMIKO_EMBEDDED(picture_chang)
LUMIKO_EMBEDDED(picture_ba)
LUMIKO_EMBEDDED(picture_xiao)
LUMIKO_EMBEDDED(picture_tou)
LUMIKO_EMBEDDED(picture_yi)
LUMIKO_EMBEDDED(picture_ring)
#undef LUMIKO_EMBEDDED
}  // namespace lumiko::embedded

namespace lumiko {

bool samePicture(const Picture* a, const Picture* b) {
    if (!a || !b) return false;
    return !a->bytes.empty() && a->bytes.size() == b->bytes.size() && a->bytes == b->bytes;
}

}  // namespace lumiko

namespace lumiko::builtin {

namespace {
std::string_view view(const unsigned char* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}
#define LUMIKO_VIEW(sym) view(embedded::sym, embedded::sym##_size)

template <std::size_t N>
const Picture& byName(const Picture (&table)[N], std::string_view name) {
    for (const auto& p : table)
        if (p.name == name) return p;
    throw std::out_of_range("no built-in picture named " + std::string(name));
}
}  // namespace

std::string_view componentList() { return LUMIKO_VIEW(componentList); }
std::string_view commonCharacterList() { return LUMIKO_VIEW(commonCharacterList); }
std::string_view strokeComponentTable() { return LUMIKO_VIEW(strokeComponentTable); }
std::string_view componentCodeTable() { return LUMIKO_VIEW(componentCodeTable); }
std::string_view basicStrokeStrip() { return LUMIKO_VIEW(basicStrokeStrip); }
std::string_view handwritingPage() { return LUMIKO_VIEW(handwritingPage); }

const SharedText& shared(std::string_view (*table)()) {
    static std::list<std::pair<std::string_view (*)(), SharedText>> made;  // stable references
    for (auto& [source, text] : made)
        if (source == table) return text;
    made.emplace_back(table, SharedText(Text(table())));
    return made.back().second;
}

const Picture& picture(std::string_view name) {
    static const Picture pictures[] = {
        {"heng", LUMIKO_VIEW(picture_heng)},   {"shu", LUMIKO_VIEW(picture_shu)},
        {"pie", LUMIKO_VIEW(picture_pie)},     {"dian", LUMIKO_VIEW(picture_dian)},
        {"zhe", LUMIKO_VIEW(picture_zhe)},     {"shi", LUMIKO_VIEW(picture_shi)},
        {"shou", LUMIKO_VIEW(picture_shou)},   {"kou", LUMIKO_VIEW(picture_kou)},
        {"chang", LUMIKO_VIEW(picture_chang)}, {"ba", LUMIKO_VIEW(picture_ba)},
        {"xiao", LUMIKO_VIEW(picture_xiao)},   {"tou", LUMIKO_VIEW(picture_tou)},
        {"yi", LUMIKO_VIEW(picture_yi)},       {"ring", LUMIKO_VIEW(picture_ring)},
    };
    return byName(pictures, name);
}

const Picture& icon(std::string_view name) {
    static const Picture icons[] = {
        {"lumiko", LUMIKO_VIEW(icon_lumiko)},
        {"backspace", LUMIKO_VIEW(icon_backspace)},
        {"space", LUMIKO_VIEW(icon_space)},
        {"enter", LUMIKO_VIEW(icon_enter)},
    };
    return byName(icons, name);
}

}  // namespace lumiko::builtin
