#include "platform/delivery.h"

namespace lumiko {

namespace {
bool isLead(unsigned char b) { return b >= 0x81 && b <= 0xFE; }
bool isTrail(unsigned char b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }
bool isDigit(unsigned char b) { return b >= 0x30 && b <= 0x39; }
}  // namespace

std::vector<std::string> gbkCharacters(std::string_view bytes) {
    std::vector<std::string> out;
    std::string pending;  // the beginning of a character
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        bool continues = false;
        switch (pending.size()) {
        case 0: break;
        case 1: continues = isTrail(b) || isDigit(b); break;
        case 2: continues = isLead(b); break;
        default: continues = isDigit(b); break;
        }
        if (continues) {
            pending.push_back(ch);
            const bool whole = pending.size() == 4 || (pending.size() == 2 && !isDigit(b));
            if (whole) {
                out.push_back(std::move(pending));
                pending.clear();
            }
            continue;
        }
        // A byte that cannot continue the character begun drops that
        // beginning and starts afresh.
        pending.clear();
        if (b < 0x80) out.emplace_back(1, ch);
        else if (isLead(b)) pending.push_back(ch);
        // 0x80 and 0xFF begin no character.
    }
    return out;
}

}  // namespace lumiko
