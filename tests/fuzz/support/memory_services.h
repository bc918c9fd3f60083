// The recording fake of the desktop over an in-memory file system, for the
// fuzzing harnesses and the soak run: tables come from the harness, saves
// stay in memory, and nothing on disk is read or written.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/fake/fake_services.h"

namespace lumiko::fuzz {

class MemoryServices : public FakeServices {
public:
    MemoryServices();

    // Files by core path, relative to the working directory; the executable's
    // folder is the working directory ("."), so "." + "\" + path is the same file.
    std::map<Text, std::string> files;
    // The names listed in each folder, in listing order (a name need not be in
    // `files`: a listed file can still be unreadable).
    std::map<Text, std::vector<Text>> folders;
    bool writesFail = false;
    int writeAttempts = 0;  // writes and replaces asked for, failed ones too

    std::vector<Text> reads;  // every path asked for, in order

    // Forgets what was recorded, keeping the state: the soak run measures the
    // panel, not these records.
    void clearRecords();

    bool readFile(const Text& path, std::string& bytes) override;
    bool writeFile(const Text& path, const std::string& bytes) override;
    bool replaceFile(const Text& path, const std::string& bytes) override;
    bool fileExists(const Text& path) override;
    std::vector<Text> listFiles(const Text& folder, const Text& suffix) override;
    Text tempFolder() override;
    Text writePrivateFile(const Text& name, const std::string& bytes) override;

    // The path without a leading ".\".
    static Text normal(const Text& path);
};

}  // namespace lumiko::fuzz
