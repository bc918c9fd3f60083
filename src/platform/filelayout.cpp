// The one rule that places the tables, the stored dictionary choice and the
// dictionaries.
#include "platform/filelayout.h"

namespace lumiko {

namespace {
constexpr const char* kTablesFolder = "词库";
constexpr const char* kChoiceName = "\\字典.txt";
constexpr const char* kDictionaries = "\\字典";
}  // namespace

Text memoryFile(const LayoutFacts& facts) {
    return facts.userData.empty() ? Text() : facts.userData + "\\memory.txt";
}

FileLayout resolveLayout(const LayoutFacts& facts) {
    FileLayout out;
    out.tables = facts.workingTables ? Text(kTablesFolder) : facts.installedTables;
    const Text tablesToOpen =
        facts.workingTables && !facts.workingFolder.empty() ? facts.workingFolder + "\\" + kTablesFolder : out.tables;
    const bool withTables = facts.workingTables ? facts.workingWritable : facts.installedWritable;
    const Text shippedChoice = out.tables + kChoiceName;
    if (withTables) {
        out.choiceFile = shippedChoice;
        out.choiceSources = {shippedChoice};
        out.dictionaryFolders = {out.tables + kDictionaries};
        out.folderToOpen = tablesToOpen + kDictionaries;
    } else if (facts.userFolder.empty()) {
        // No folder of the user's: the shipped choice is read and none is
        // stored (a save says so).
        out.choiceSources = {shippedChoice};
        out.dictionaryFolders = {out.tables + kDictionaries};
        out.folderToOpen = tablesToOpen + kDictionaries;
    } else {
        out.choiceFile = facts.userFolder + kChoiceName;
        out.choiceSources = {out.choiceFile, shippedChoice};
        out.dictionaryFolders = {facts.userDictionaries, out.tables + kDictionaries};
        out.folderToOpen = facts.userDictionaries;
    }
    return out;
}

}  // namespace lumiko
