#include "engine/sharedtext.h"

#include <algorithm>
#include <cstring>

namespace lumiko {

namespace {
unsigned pair(unsigned char a, unsigned char b) { return (unsigned{a} << 8) | b; }
}  // namespace

LineIndex::LineIndex(std::string_view text) {
    for (size_t p = text.find("\r\n"); p != std::string_view::npos; p = text.find("\r\n", p + 1)) {
        const int at = static_cast<int>(p) + 1;
        if (p + 2 >= text.size()) continue;
        const auto a = static_cast<unsigned char>(text[p + 2]);
        byByte_[a].push_back(at);
        if (p + 3 < text.size()) byPair_[pair(a, static_cast<unsigned char>(text[p + 3]))].push_back(at);
    }
}

int LineIndex::find(std::string_view text, std::string_view code, int from) const {
    if (code.empty()) return findText(text, "\r\n", from);
    const std::vector<int>* lines = nullptr;
    if (code.size() == 1) {
        lines = &byByte_[static_cast<unsigned char>(code[0])];
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
