// Learning: the pick memory of the user's data folder, fed by the panel's
// commits and giving every list its reordering step. Off, it records
// nothing and every list keeps its shipped order.
#pragma once

#include "engine/gbktext.h"
#include "engine/pickmemory.h"
#include "platform/services.h"

namespace lumiko {

// One commit as the panel made it: the text, and the list and key it was
// picked under (list 0 for a text from elsewhere: the palette, the pad,
// the punctuation keys).
struct CommitEvent {
    Text text;
    char list = 0;
    Text key;
};

class Learning {
public:
    // Saved at most this often while the panel runs, and at exit.
    static constexpr long kSaveEverySeconds = 3;

    explicit Learning(Files& files) : files_(files) {}

    // Reads the memory file (a missing file is an empty memory, learning
    // off). Returns what the user should be told once: a damaged file.
    Text load(const Text& path);
    bool on() const { return memory_.learning(); }
    void setOn(bool on);
    // Forgets every count (the choice stays).
    void clear();
    // The listener of the panel's commits.
    void committed(const CommitEvent& event);
    // What one commit adds to `memory`: its count under the key it was
    // picked by, and under the character it followed (`lastKey`, which it
    // then becomes).
    static void count(PickMemory& memory, Text& lastKey, const CommitEvent& event);
    // Writes the file when it changed and the last write is at least
    // kSaveEverySeconds old (`now` in seconds), or always with `force`.
    // Returns the problem in words when the write failed.
    Text save(long now, bool force);
    bool unsaved() const { return !path_.empty() && memory_.dirty(); }
    // Unsaved, and the last write did not fail (a failing folder is tried
    // again at the next change or tick, not by keeping the timer running).
    bool waitingToSave() const { return unsaved() && !failTold_; }

    const PickMemory& memory() const { return memory_; }
    // The order of a list of kind `list` (see picklist), null when learning
    // is off: the shipped order.
    const CandidateOrder* order(char list);

private:
    Files& files_;
    Text path_;
    PickMemory memory_;
    Text lastKey_;            // the character the next commit follows
    long lastSave_ = -1;
    bool failTold_ = false;
    MemoryOrder orders_[6] = {{memory_, picklist::kStroke},      {memory_, picklist::kExtraStroke},
                              {memory_, picklist::kFourCorner},  {memory_, picklist::kComponent},
                              {memory_, picklist::kAssociation}, {memory_, picklist::kWordHint}};
};

}  // namespace lumiko
