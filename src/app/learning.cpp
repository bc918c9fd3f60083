#include "app/learning.h"

namespace lumiko {

Text Learning::load(const Text& path) {
    path_ = path;
    std::string bytes;
    if (path.empty() || !files_.fileExists(path)) return {};
    if (!files_.readFile(path, bytes)) return "无法读取记忆文件 " + files_.absolutePath(path) + ": " + files_.lastFileError();
    const int damaged = memory_.parse(bytes);
    if (damaged == 0) return {};
    return "记忆文件 " + files_.absolutePath(path) + " 有 " + std::to_string(damaged) + " 行已损坏,这些行被略过。";
}

void Learning::setOn(bool on) {
    memory_.setLearning(on);
    lastKey_.clear();
}

void Learning::clear() {
    memory_.clear();
    lastKey_.clear();
}

void Learning::committed(const CommitEvent& e) {
    if (on()) count(memory_, lastKey_, e);
}

void Learning::count(PickMemory& memory, Text& lastKey, const CommitEvent& e) {
    if (e.text.empty()) return;
    if (e.list != 0) memory.record(e.list, e.key, e.text);
    // The character it followed: the associations after that character
    // offer it first next time (a pick from those associations is counted
    // once, above).
    if (!lastKey.empty() && !(e.list == picklist::kAssociation && e.key == lastKey))
        memory.record(picklist::kAssociation, lastKey, e.text);
    lastKey = e.text.size() >= 2 ? rightText(e.text, 2) : Text();
    if (!isWholeGbk(lastKey) || static_cast<unsigned char>(lastKey[0]) < 0x81) lastKey.clear();
}

Text Learning::save(long now, bool force) {
    if (!unsaved()) return {};
    if (!force && lastSave_ >= 0 && now >= lastSave_ && now - lastSave_ < kSaveEverySeconds) return {};
    lastSave_ = now;
    if (files_.replacePrivateFile(path_, memory_.serialize())) {
        memory_.markSaved();
        failTold_ = false;
        return {};
    }
    const Text problem = "无法保存记忆文件 " + files_.absolutePath(path_) + ": " + files_.lastFileError();
    // Told once until a write succeeds again; the memory stays unsaved and
    // is tried again later.
    if (failTold_) return {};
    failTold_ = true;
    return problem;
}

const CandidateOrder* Learning::order(char list) {
    if (!on()) return nullptr;
    for (MemoryOrder& o : orders_)
        if (o.list() == list) return &o;
    return nullptr;
}

}  // namespace lumiko
