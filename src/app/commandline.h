// The program's command line, shared by the desktop front-ends: --help and
// --version answer without a window; anything else it does not know is an
// error told in one line. Options are rows of one table, so that a new one
// (with or without a value) is one more row.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace lumiko {

struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    std::string error;  // for Error: what is wrong, one line without the program's name
};

// `args` are the arguments after the program's name.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// What --help prints (several lines, ending with a line break); `program` is
// the name the user typed.
std::string usageText(std::string_view program);
// What --version prints: "lumiko 1.0" and a line break.
std::string versionText();

}  // namespace lumiko
