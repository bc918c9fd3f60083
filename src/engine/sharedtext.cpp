#include "engine/sharedtext.h"

#include <algorithm>
#include <cstring>

namespace lumiko {

namespace {
unsigned pair(unsigned char a, unsigned char b) { return (unsigned{a} << 8) | b; }
}  // namespace

bool readTableLine(std::string_view table, int p, std::string_view& key, std::string_view& value) {
    constexpr std::string_view kLineBreak = "\r\n";
    const auto start = static_cast<size_t>(p - 1) + kLineBreak.size();
    if (p < 1 || start > table.size()) return false;
    const std::string_view window = table.substr(start, 200);
    const size_t end = window.find(kLineBreak);
    if (end == std::string_view::npos) return false;
    const std::string_view line = window.substr(0, end);
    const size_t space = line.find(' ');
    if (space == std::string_view::npos) return false;
    key = line.substr(0, space);
    value = line.substr(space + 1);
    value = value.substr(0, value.find(' '));
    // Bytes that are not whole GBK characters are never offered.
    return !value.empty() && isWholeGbk(key) && isWholeGbk(value);
}

int LineGroup::linkOf(const Links& links, int k) {
    if (links.empty()) return -1;
    const auto it = std::lower_bound(links.begin(), links.end(), k,
                                     [](const std::pair<int, int>& l, int i) { return l.first < i; });
    return it != links.end() && it->first == k ? it->second : -1;
}

int LineGroup::nextUnrepeated(int k, int since) const {
    const int n = static_cast<int>(at.size());
    while (k < n) {
        if (k % kBlock == 0) {
            while (k < n && blockMin[static_cast<size_t>(k / kBlock)] >= since) k += kBlock;
            if (k >= n) break;
        }
        if (prevOf(k) < since) return k;
        ++k;
    }
    return -1;
}

LineIndex::LineIndex(std::string_view text) {
    for (size_t p = text.find("\r\n"); p != std::string_view::npos; p = text.find("\r\n", p + 1)) {
        const int at = static_cast<int>(p) + 1;
        if (p + 2 >= text.size()) continue;
        const auto a = static_cast<unsigned char>(text[p + 2]);
        byByte_[a].at.push_back(at);
        if (p + 3 < text.size()) byPair_[pair(a, static_cast<unsigned char>(text[p + 3]))].push_back(at);
    }
    // The index lives as long as the table: the room the lists grew into goes.
    for (LineGroup& g : byByte_) g.at.shrink_to_fit();
    for (auto& [first, lines] : byPair_) lines.shrink_to_fit();
    // Repeats, told apart by the bytes "key value" (a key holds no space).
    std::unordered_map<std::string_view, int> last;
    std::vector<int> prev;
    for (LineGroup& g : byByte_) {
        const size_t n = g.at.size();
        prev.assign(n, -1);
        last.clear();
        for (size_t k = 0; k < n; ++k) {
            std::string_view key, value;
            if (!readTableLine(text, g.at[k], key, value)) {
                prev[k] = static_cast<int>(k);
                continue;
            }
            const std::string_view both(key.data(), key.size() + 1 + value.size());
            const auto [it, fresh] = last.try_emplace(both, static_cast<int>(k));
            if (!fresh) {
                prev[k] = it->second;
                g.nexts_.emplace_back(it->second, static_cast<int>(k));
                it->second = static_cast<int>(k);
            }
        }
        for (size_t k = 0; k < n; ++k)
            if (prev[k] != -1) g.prevs_.emplace_back(static_cast<int>(k), prev[k]);
        std::sort(g.nexts_.begin(), g.nexts_.end());
        g.prevs_.shrink_to_fit();
        g.nexts_.shrink_to_fit();
        g.blockMin.assign((n + LineGroup::kBlock - 1) / LineGroup::kBlock, 0);
        for (size_t k = 0; k < n; ++k) {
            int& m = g.blockMin[k / LineGroup::kBlock];
            m = k % LineGroup::kBlock == 0 ? prev[k] : std::min(m, prev[k]);
        }
    }
}

const std::vector<int>& LineIndex::linesOf(std::string_view code) const {
    static const std::vector<int> none;
    if (code.size() == 1) return byByte_[static_cast<unsigned char>(code[0])].at;
    const auto it = byPair_.find(pair(static_cast<unsigned char>(code[0]), static_cast<unsigned char>(code[1])));
    return it == byPair_.end() ? none : it->second;
}

int LineIndex::find(std::string_view text, std::string_view code, int from) const {
    if (code.empty()) return findText(text, "\r\n", from);
    const std::vector<int>* lines = nullptr;
    if (code.size() == 1) {
        lines = &byByte_[static_cast<unsigned char>(code[0])].at;
    } else {
        const auto it = byPair_.find(pair(static_cast<unsigned char>(code[0]), static_cast<unsigned char>(code[1])));
        if (it == byPair_.end()) return -1;
        lines = &it->second;
    }
    for (auto it = std::lower_bound(lines->begin(), lines->end(), std::max(from, 1)); it != lines->end(); ++it) {
        const auto start = static_cast<size_t>(*it - 1) + 2;
        if (text.size() - start >= code.size() && text.compare(start, code.size(), code) == 0) return *it;
    }
    return -1;
}

CodeIndex::CodeIndex(std::string_view text, CodeChars chars) {
    auto isCodeChar = [chars](char c) {
        return chars == CodeChars::Digits ? c >= '0' && c <= '9' : c >= 'a' && c <= 'z';
    };
    // Every matching line, then sorted by value (lines of one value stay in
    // table order). Kept as positions into the table rather than copies of
    // its codes and values: a twentieth of the memory, for a lookup made
    // only when a text is committed. Positions are 32-bit; a table beyond
    // 4 GB is never read whole anyway.
    size_t start = 0;
    while (start <= text.size() && start <= UINT32_MAX) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        const size_t at = start;
        start = end + 1;
        const size_t blank = line.find(' ');
        if (blank == 0 || blank > 20 || blank == std::string_view::npos) continue;
        const std::string_view code = line.substr(0, blank), value = line.substr(blank + 1);
        if (value.find(' ') != std::string_view::npos || !std::all_of(code.begin(), code.end(), isCodeChar) ||
            value.size() > UINT32_MAX)
            continue;
        lines_.push_back({static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(value.size())});
    }
    auto valueOf = [text](const Line& l) {
        const size_t blank = text.find(' ', l.at);
        return text.substr(blank + 1, l.valueSize);
    };
    std::stable_sort(lines_.begin(), lines_.end(),
                     [&](const Line& a, const Line& b) { return valueOf(a) < valueOf(b); });
    lines_.shrink_to_fit();
    for (size_t i = 0; i < lines_.size();) {
        size_t j = i + 1;
        while (j < lines_.size() && valueOf(lines_[j]) == valueOf(lines_[i])) ++j;
        if (j - i >= kJoinedRun) {
            Text codes;
            for (size_t k = i; k < j; ++k) {
                const size_t at = lines_[k].at;
                codes.append(text.substr(at, text.find(' ', at) - at)).push_back(' ');
            }
            joined_.emplace_back(i, std::move(codes));
        }
        i = j;
    }
}

std::string_view CodeIndex::codesOf(std::string_view text, std::string_view value, Text& scratch) const {
    scratch.clear();
    auto valueOf = [text](const Line& l) { return text.substr(text.find(' ', l.at) + 1, l.valueSize); };
    auto it = std::lower_bound(lines_.begin(), lines_.end(), value,
                               [&](const Line& l, std::string_view v) { return valueOf(l) < v; });
    if (it == lines_.end() || valueOf(*it) != value) return scratch;
    const auto first = static_cast<size_t>(it - lines_.begin());
    const auto joined = std::lower_bound(joined_.begin(), joined_.end(), first,
                                         [](const std::pair<size_t, Text>& j, size_t i) { return j.first < i; });
    if (joined != joined_.end() && joined->first == first) return joined->second;
    for (; it != lines_.end() && valueOf(*it) == value; ++it) {
        const size_t at = it->at;
        scratch.append(text.substr(at, text.find(' ', at) - at)).push_back(' ');
    }
    return scratch;
}

Text SharedText::codesOf(const Text& value, CodeChars chars) const {
    Text scratch;
    return Text(codesOf(value, chars, scratch));
}

std::string_view SharedText::codesOf(const Text& value, CodeChars chars, Text& scratch) const {
    prepareCodeIndex(chars);
    return p_->codes[static_cast<size_t>(chars)]->codesOf(p_->text, value, scratch);
}

void SharedText::prepareCodeIndex(CodeChars chars) const {
    auto& index = p_->codes[static_cast<size_t>(chars)];
    if (!index) index = std::make_unique<CodeIndex>(p_->text, chars);
}

int SharedText::findLine(std::string_view code, int from) const {
    // A code holding a line break could match across lines: search plainly.
    if (code.find_first_of("\r\n") != std::string_view::npos) return findText(p_->text, "\r\n" + Text(code), from);
    prepareIndex();
    return p_->index->find(p_->text, code, from);
}

void SharedText::prepareIndex() const {
    if (!p_->index) p_->index = std::make_unique<LineIndex>(p_->text);
}

}  // namespace lumiko
