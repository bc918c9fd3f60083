// The rule that places the tables, the stored dictionary choice and the
// dictionaries, in each layout the program can be started in.
#include <gtest/gtest.h>

#include "platform/filelayout.h"

namespace lumiko {
namespace {

TEST(FileLayout, EachLayoutPlacesTablesChoiceAndDictionaries) {
    LayoutFacts base;
    base.workingFolder = "/home/u/Lumiko";
    base.installedTables = "/usr/share/lumiko/词库";
    base.userFolder = "/home/u/.config/lumiko";
    base.userDictionaries = "/home/u/.local/share/lumiko/词库/字典";
    struct Case {
        const char* layout;
        bool workingTables, workingWritable, installedWritable;
        FileLayout expected;
    };
    const Case cases[] = {
        // Started beside its tables: everything stays in the working folder's
        // 词库, read as the program has always read it.
        {"portable",
         true, true, false,
         {"词库", "词库\\字典.txt", {"词库\\字典.txt"}, {"词库\\字典"}, "/home/u/Lumiko\\词库\\字典"}},
        // The working folder's tables win even when installed ones exist,
        // but a folder the program may not write sends the choice home.
        {"portable, read-only",
         true, false, true,
         {"词库",
          "/home/u/.config/lumiko\\字典.txt",
          {"/home/u/.config/lumiko\\字典.txt", "词库\\字典.txt"},
          {"/home/u/.local/share/lumiko/词库/字典", "词库\\字典"},
          "/home/u/.local/share/lumiko/词库/字典"}},
        // Installed (a package's folder, or Program Files): the installed
        // tables, the choice and added dictionaries in the user's folders.
        {"installed",
         false, false, false,
         {"/usr/share/lumiko/词库",
          "/home/u/.config/lumiko\\字典.txt",
          {"/home/u/.config/lumiko\\字典.txt", "/usr/share/lumiko/词库\\字典.txt"},
          {"/home/u/.local/share/lumiko/词库/字典", "/usr/share/lumiko/词库\\字典"},
          "/home/u/.local/share/lumiko/词库/字典"}},
        // Installed in a folder the user owns (a per-user install on
        // Windows): kept beside the tables, like the portable program.
        {"installed, writable",
         false, true, true,
         {"/usr/share/lumiko/词库",
          "/usr/share/lumiko/词库\\字典.txt",
          {"/usr/share/lumiko/词库\\字典.txt"},
          {"/usr/share/lumiko/词库\\字典"},
          "/usr/share/lumiko/词库\\字典"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        LayoutFacts f = base;
        f.workingTables = c.workingTables;
        f.workingWritable = c.workingWritable;
        f.installedWritable = c.installedWritable;
        const FileLayout got = resolveLayout(f);
        EXPECT_EQ(got.tables, c.expected.tables);
        EXPECT_EQ(got.choiceFile, c.expected.choiceFile);
        EXPECT_EQ(got.choiceSources, c.expected.choiceSources);
        EXPECT_EQ(got.dictionaryFolders, c.expected.dictionaryFolders);
        EXPECT_EQ(got.folderToOpen, c.expected.folderToOpen);
        // Whatever is saved is read first at the next start.
        EXPECT_EQ(got.choiceSources.front(), got.choiceFile);
    }
}

// Without a home folder nothing is stored: the shipped choice is read, and
// the settings window says it cannot save.
TEST(FileLayout, WithoutAHomeFolderNoChoiceIsStored) {
    LayoutFacts f;
    f.workingTables = false;
    f.installedTables = "/usr/share/lumiko/词库";
    const FileLayout got = resolveLayout(f);
    EXPECT_EQ(got.choiceFile, "");
    EXPECT_EQ(got.choiceSources, std::vector<Text>{"/usr/share/lumiko/词库\\字典.txt"});
    EXPECT_EQ(got.dictionaryFolders, std::vector<Text>{"/usr/share/lumiko/词库\\字典"});
    EXPECT_EQ(got.folderToOpen, "/usr/share/lumiko/词库\\字典");
}

TEST(FileLayout, WithoutAKnownWorkingFolderTheFolderOpenedIsRelative) {
    const FileLayout got = resolveLayout(LayoutFacts{});
    EXPECT_EQ(got.folderToOpen, "词库\\字典");
}

}  // namespace
}  // namespace lumiko
