// The panel's memory of what its user picks: how often each text was
// committed under each key of each list, and the reordering step that puts
// the texts picked before first. It keeps counts only, never the order in
// which things were typed, and stays within a bounded number of entries by
// halving every count when it is full (old, rarely used entries go first).
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/candidates.h"
#include "engine/gbktext.h"

namespace lumiko {

// The lists a pick is counted for, by a letter of their own (the memory
// file's first column).
namespace picklist {
inline constexpr char kStroke = 's';
inline constexpr char kExtraStroke = 'e';
inline constexpr char kFourCorner = 'f';
inline constexpr char kComponent = 'c';
inline constexpr char kAssociation = 'a';
inline constexpr char kWordHint = 'w';
bool known(char list);
}  // namespace picklist

class PickMemory {
public:
    static constexpr size_t kMaxEntries = 20000;
    static constexpr int kMaxCount = 1000000;

    // One more pick of `text` under `key` in `list`. Keys and texts with
    // control bytes or tabs, or longer than 64 bytes, are not counted.
    void record(char list, std::string_view key, std::string_view text);
    int count(char list, std::string_view key, std::string_view text) const;
    // The texts picked under exactly `key` in `list`, with their counts.
    std::vector<std::pair<Text, int>> textsUnder(char list, std::string_view key) const;
    // Calls `f(key, text, count)` for every text picked in `list` under a key
    // that begins with `code`.
    template <class F>
    void forEachUnder(char list, std::string_view code, F&& f) const {
        std::string prefix(1, list);
        prefix.append(code);
        for (auto it = entries_.lower_bound(prefix);
             it != entries_.end() && std::string_view(it->first).substr(0, prefix.size()) == prefix; ++it) {
            const std::string_view k = std::string_view(it->first).substr(1);
            const size_t tab = k.find('\t');
            f(k.substr(0, tab), k.substr(tab + 1), it->second);
        }
    }
    // Whether any text was picked in `list` under a key that begins with `code`.
    bool knowsPrefix(char list, std::string_view code) const;
    void clear();
    bool empty() const { return entries_.empty(); }
    size_t size() const { return entries_.size(); }
    // Changed since the last markSaved().
    bool dirty() const { return dirty_; }
    void markSaved() { dirty_ = false; }

    // Whether the user has learning on (kept in the same file).
    bool learning() const { return learning_; }
    void setLearning(bool on) {
        dirty_ = dirty_ || on != learning_;
        learning_ = on;
    }

    // The memory file: a first line naming the format, a line "learning on"
    // or "learning off", then one entry a line,
    // "list<TAB>key<TAB>text<TAB>count", sorted by list, key and text.
    std::string serialize() const;
    // Reads a memory file over the memory (which it replaces); returns the
    // number of lines that were skipped as damaged. A file that does not
    // begin with the format line is damaged as a whole.
    int parse(std::string_view file);

private:
    static std::string entryKey(char list, std::string_view key, std::string_view text);
    void age();

    std::map<std::string, int> entries_;  // list letter, key, TAB, text -> count
    bool dirty_ = false;
    bool learning_ = false;
};

// The reordering step of one list: the texts picked before come first, most
// picked first, then the rest in the shipped order. Every item keeps its
// place among equals, so nothing is lost or doubled.
class MemoryOrder : public CandidateOrder {
public:
    MemoryOrder(const PickMemory& memory, char list) : memory_(memory), list_(list) {}
    bool reorders(std::string_view code) const override { return memory_.knowsPrefix(list_, code); }
    void reorder(CandidateList& list) const override;
    char list() const { return list_; }

private:
    const PickMemory& memory_;
    char list_;
};

}  // namespace lumiko
