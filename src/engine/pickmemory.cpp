#include "engine/pickmemory.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace lumiko {

namespace {
constexpr std::string_view kHeader = "# lumiko pick memory 1";
constexpr size_t kMaxField = 64;

bool plainField(std::string_view s) {
    if (s.empty() || s.size() > kMaxField) return false;
    return std::none_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7f; });
}
}  // namespace

bool picklist::known(char list) {
    return list == kStroke || list == kExtraStroke || list == kFourCorner || list == kComponent ||
           list == kAssociation || list == kWordHint;
}

std::string PickMemory::entryKey(char list, std::string_view key, std::string_view text) {
    std::string k(1, list);
    k.append(key).push_back('\t');
    k.append(text);
    return k;
}

void PickMemory::record(char list, std::string_view key, std::string_view text) {
    if (!picklist::known(list) || !plainField(key) || !plainField(text)) return;
    int& n = entries_[entryKey(list, key, text)];
    if (n < kMaxCount) ++n;
    dirty_ = true;
    age();
}

// When full, every count is halved and the entries that reach 0 are
// forgotten, until there is room again.
void PickMemory::age() {
    while (entries_.size() > kMaxEntries) {
        for (auto it = entries_.begin(); it != entries_.end();) {
            it->second /= 2;
            it = it->second == 0 ? entries_.erase(it) : std::next(it);
        }
    }
}

int PickMemory::count(char list, std::string_view key, std::string_view text) const {
    if (entries_.empty()) return 0;
    const auto it = entries_.find(entryKey(list, key, text));
    return it == entries_.end() ? 0 : it->second;
}

bool PickMemory::knowsPrefix(char list, std::string_view code) const {
    std::string prefix(1, list);
    prefix.append(code);
    const auto it = entries_.lower_bound(prefix);
    return it != entries_.end() && std::string_view(it->first).substr(0, prefix.size()) == prefix;
}

void PickMemory::clear() {
    if (!entries_.empty()) dirty_ = true;
    entries_.clear();
}

std::vector<std::pair<Text, int>> PickMemory::textsUnder(char list, std::string_view key) const {
    std::vector<std::pair<Text, int>> out;
    const std::string prefix = entryKey(list, key, {});
    for (auto it = entries_.lower_bound(prefix);
         it != entries_.end() && std::string_view(it->first).substr(0, prefix.size()) == prefix; ++it)
        out.emplace_back(it->first.substr(prefix.size()), it->second);
    return out;
}

std::string PickMemory::serialize() const {
    std::string out(kHeader);
    out.append(learning_ ? "\nlearning on\n" : "\nlearning off\n");
    for (const auto& [k, n] : entries_) {
        out.push_back(k[0]);
        out.push_back('\t');
        out.append(k, 1, std::string::npos);
        out.push_back('\t');
        out.append(std::to_string(n));
        out.push_back('\n');
    }
    return out;
}

int PickMemory::parse(std::string_view file) {
    entries_.clear();
    dirty_ = false;
    learning_ = false;
    std::vector<std::string_view> lines;
    for (size_t start = 0; start < file.size();) {
        size_t end = file.find('\n', start);
        if (end == std::string_view::npos) end = file.size();
        std::string_view line = file.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    if (lines.empty()) return 0;
    if (lines.front() != kHeader) return static_cast<int>(lines.size());
    int damaged = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.empty()) continue;
        if (line == "learning on" || line == "learning off") {
            learning_ = line == "learning on";
            continue;
        }
        std::string_view f[4];
        size_t at = 0, n = 0;
        for (; n < 4 && at <= line.size(); ++n) {
            const size_t tab = n == 3 ? line.size() : std::min(line.find('\t', at), line.size());
            f[n] = line.substr(at, tab - at);
            at = tab + 1;
        }
        int count = 0;
        const auto [end, ec] = std::from_chars(f[3].data(), f[3].data() + f[3].size(), count);
        const bool ok = n == 4 && f[0].size() == 1 && picklist::known(f[0][0]) && plainField(f[1]) &&
                        plainField(f[2]) && isWholeGbk(f[1]) && isWholeGbk(f[2]) && ec == std::errc() &&
                        end == f[3].data() + f[3].size() && count > 0 && count <= kMaxCount;
        if (!ok) {
            ++damaged;
            continue;
        }
        int& have = entries_[entryKey(f[0][0], f[1], f[2])];
        have = std::min(kMaxCount, have + count);
    }
    age();
    return damaged;
}

void MemoryOrder::reorder(CandidateList& list) const {
    std::vector<std::pair<int, size_t>> rank(list.size());
    for (size_t i = 0; i < list.size(); ++i) rank[i] = {-memory_.count(list_, list[i].key, list[i].text), i};
    std::stable_sort(rank.begin(), rank.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    CandidateList out;
    out.reserve(list.size());
    for (const auto& r : rank) out.push_back(std::move(list[r.second]));
    list = std::move(out);
}

}  // namespace lumiko
