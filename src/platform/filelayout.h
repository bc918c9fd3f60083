// Where the panel's files are: the code tables, the chosen dictionary's name
// and the reverse-lookup dictionaries, for a program started beside its
// tables (portable) and for an installed one. The front-ends find the facts;
// one rule turns them into folders, so that start-up and the settings window
// always agree.
#pragma once

#include <vector>

#include "engine/gbktext.h"

namespace lumiko {

// What the front-end found at start. Paths are core paths (GBK, '\' between
// the parts, no trailing separator).
struct LayoutFacts {
    // A 词库 folder in the working folder: read as it is, relative to it.
    bool workingTables = true;
    // The working folder itself (absolute), for the folder the settings
    // window opens.
    Text workingFolder;
    // The program may write into the working folder's 词库.
    bool workingWritable = true;
    // The tables installed with the program (Linux: <prefix>/share/lumiko/词库,
    // Windows: 词库 beside lumiko.exe).
    Text installedTables;
    // The program may write into the installed tables' folder: on Windows a
    // folder the user owns; on Linux never (it belongs to the package).
    bool installedWritable = false;
    // The user's own folders, used when the tables' folder is not written:
    // the one holding 字典.txt, and the one where the user adds dictionaries.
    // Empty when the user has no home folder.
    Text userFolder;
    Text userDictionaries;
    // The user's data folder, for the pick memory (Linux: $XDG_DATA_HOME/lumiko,
    // Windows: %APPDATA%\Lumiko); empty where there is none.
    Text userData;
};

struct FileLayout {
    // The folder of 笔画.txt, 附加笔画.txt, 四角号码.txt and 联想词.txt.
    Text tables;
    // Where the settings window stores the chosen dictionary's name; empty
    // when there is no place for it (no home folder).
    Text choiceFile;
    // Read at start-up and by the settings window: the first that exists.
    // The stored choice comes first, the shipped default after it.
    std::vector<Text> choiceSources;
    // Listed together by the settings window and searched in this order for
    // the chosen dictionary: the user's own first.
    std::vector<Text> dictionaryFolders;
    // The folder the settings window opens for the user to add dictionaries.
    Text folderToOpen;
};

// The rule: a 词库 in the working folder wins, otherwise the installed
// tables are read. The choice is kept beside the tables read when the
// program may write there, otherwise in the user's folder, which is then
// read before the tables' own 字典.txt.
FileLayout resolveLayout(const LayoutFacts& facts);

// The pick memory and the learning choice, in the user's data folder; empty
// when there is none (nothing is then kept).
Text memoryFile(const LayoutFacts& facts);

}  // namespace lumiko
