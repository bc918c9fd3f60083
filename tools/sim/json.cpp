#include "json.h"

#include "platform/posix/encoding.h"

namespace lumiko::sim {

namespace {
void escapeCode(std::string& out, unsigned code) {
    static constexpr char hex[] = "0123456789abcdef";
    out += "\\u00";
    out += hex[(code >> 4) & 0xF];
    out += hex[code & 0xF];
}
}  // namespace

std::string jsonString(std::string_view s) {
    std::string out;
    out.reserve(s.size() + 2);
    out += '"';
    for (size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        default:
            if (c < 0x20 || c == 0x7F) {
                escapeCode(out, c);
            } else if (c == 0xC2 && i + 1 < s.size() &&
                       static_cast<unsigned char>(s[i + 1]) >= 0x80 &&
                       static_cast<unsigned char>(s[i + 1]) <= 0x9F) {
                escapeCode(out, static_cast<unsigned char>(s[++i]));  // U+0080 … U+009F
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
    return out;
}

std::string jsonGbk(std::string_view gbk) { return jsonString(posix::gbkToUtf8(gbk)); }

std::string jsonBool(bool b) { return b ? "true" : "false"; }

std::string jsonArray(const std::vector<std::string>& members) {
    std::string out = "[";
    for (size_t i = 0; i < members.size(); ++i) {
        if (i) out += ", ";
        out += members[i];
    }
    return out + "]";
}

std::string jsonObject(const std::vector<std::pair<std::string, std::string>>& members) {
    std::string out = "{";
    for (size_t i = 0; i < members.size(); ++i) {
        if (i) out += ", ";
        out += jsonString(members[i].first) + ": " + members[i].second;
    }
    return out + "}";
}

}  // namespace lumiko::sim
