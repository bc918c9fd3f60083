#include "engine/wordhints.h"

#include <algorithm>

namespace lumiko {

void wordHintsOf(const SharedText& table, std::string_view key, std::vector<Text>& words, bool searchUnindexed) {
    words.clear();
    // A line holds no line break and its key no blank.
    if (key.empty() || key.find(' ') != std::string_view::npos || key.find("\r\n") != std::string_view::npos)
        return;
    const std::string_view text = table;
    words.reserve(kMaxWordHints);
    // The line that starts at `start`, when it is the key, one space and two
    // bytes that are no line break, up to the next line break or the end.
    auto take = [&](size_t start) {
        const size_t size = key.size() + 3;
        if (start > text.size() || text.size() - start < size) return;
        const std::string_view line = text.substr(start, size);
        if (line.substr(0, key.size()) != key || line[key.size()] != ' ') return;
        if (start + size != text.size() && text.compare(start + size, 2, "\r\n") != 0) return;
        const std::string_view next = line.substr(key.size() + 1);
        if (next.find_first_of("\r\n") != std::string_view::npos || !isWholeGbk(line)) return;
        words.push_back(Text(key) + removeSpaces(next));
    };
    take(0);  // the first line, which no line break precedes
    if (table.indexed() || !searchUnindexed) {
        // One pass over the lines that begin like the key.
        for (const int p : table.index().linesOf(key)) {
            if (words.size() == kMaxWordHints) break;
            take(static_cast<size_t>(p) + 1);
        }
        return;
    }
    const Text lineStart = "\r\n" + Text(key) + " ";
    for (int p = findText(text, lineStart, 1); p != -1 && words.size() < kMaxWordHints;
         p = findText(text, lineStart, p + 1))
        take(static_cast<size_t>(p) + 1);
}

const std::vector<Text>& WordHints::of(const SharedText& table, std::string_view key) {
    const std::string_view text = table;
    const bool sameTable = text.data() == data_ && text.size() == size_;
    if (!sameTable) {
        data_ = text.data();
        size_ = text.size();
        used_ = next_ = 0;
    }
    for (size_t i = 0; i < used_; ++i)
        if (answers_[i].key == key) return answers_[i].words;
    Answer& a = answers_[next_];
    next_ = (next_ + 1) % kKept;
    used_ = std::max(used_, next_ == 0 ? kKept : next_);
    a.key = Text(key);
    wordHintsOf(table, key, a.words, !sameTable);
    return a.words;
}

}  // namespace lumiko
