#include "web/dictionarynames.h"

#include <algorithm>

namespace lumiko {

namespace {
constexpr std::string_view kExtension = ".txt";
constexpr std::string_view kBlanks = " \t\r\n";

bool sameLettersNoCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}
}  // namespace

Text dictionaryNameProblem(std::string_view name, bool colonSeparates) {
    for (size_t i = 0; i < name.size(); ++i) {
        const auto b = static_cast<unsigned char>(name[i]);
        if (b >= 0x81 && b <= 0xFE && i + 1 < name.size()) {
            ++i;  // the trail byte of a two-byte character
            continue;
        }
        if (b == '\\' || b == '/') return "名称含有路径分隔符";
        if (b == ':' && colonSeparates) return "名称含有冒号";
        if (b == 0) return "名称含有空字节";
    }
    if (!isWholeGbk(name)) return "名称不是完整的GBK文字";
    if (trimStoredName(name) != name) return "名称首尾有空白或换行";
    return {};
}

Text trimStoredName(std::string_view stored) {
    const size_t first = stored.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) return {};
    return Text(stored.substr(first, stored.find_last_not_of(kBlanks) - first + 1));
}

std::vector<Text> dictionaryFileNames(const Text& name, const std::vector<Text>& listing) {
    const Text exact = name + Text(kExtension);
    std::vector<Text> files;
    if (std::find(listing.begin(), listing.end(), exact) != listing.end()) files.push_back(exact);
    for (const Text& file : listing)
        if (file != exact && file.size() == exact.size() && file.compare(0, name.size(), name) == 0 &&
            sameLettersNoCase(std::string_view(file).substr(name.size()), kExtension))
            files.push_back(file);
    if (files.empty()) files.push_back(exact);
    return files;
}

}  // namespace lumiko
