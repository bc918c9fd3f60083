// The command line: what each argument list asks for, and the help text.
#include <gtest/gtest.h>

#include "app/commandline.h"

namespace lumiko {
namespace {

TEST(CommandLine, EachArgumentListAsksForOneAction) {
    using A = CommandLine::Action;
    struct Case {
        std::vector<std::string> args;
        A action;
        std::string error;
    };
    const Case cases[] = {
        {{}, A::Run, ""},
        {{"--help"}, A::Help, ""},
        {{"-h"}, A::Help, ""},
        {{"--version"}, A::Version, ""},
        {{"--version", "--help"}, A::Version, ""},  // the first answer wins
        {{"--help", "--bogus"}, A::Help, ""},
        {{"--bogus"}, A::Error, "unknown option --bogus"},
        {{"-x"}, A::Error, "unknown option -x"},
        {{"file.txt"}, A::Error, "unexpected argument file.txt"},
        {{"-"}, A::Error, "unexpected argument -"},
        {{"--HELP"}, A::Error, "unknown option --HELP"},
    };
    for (const auto& c : cases) {
        const CommandLine got = parseCommandLine(c.args);
        EXPECT_EQ(got.action, c.action) << ::testing::PrintToString(c.args);
        EXPECT_EQ(got.error, c.error) << ::testing::PrintToString(c.args);
    }
}

TEST(CommandLine, HelpNamesTheProgramAndEveryOption) {
    const std::string help = usageText("/usr/bin/lumiko");
    EXPECT_EQ(help.rfind("Usage: /usr/bin/lumiko [OPTION]\n", 0), 0u);
    for (const char* option : {"  -h, --help ", "      --version "}) EXPECT_NE(help.find(option), std::string::npos) << option;
    EXPECT_EQ(help.back(), '\n');
    EXPECT_EQ(versionText(), "lumiko 1.0\n");
}

}  // namespace
}  // namespace lumiko
