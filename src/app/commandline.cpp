#include "app/commandline.h"

#include <algorithm>

namespace lumiko {

namespace {

struct Option {
    const char* name;
    const char* alias;  // a short form, or null
    CommandLine::Action action;
    const char* help;
};

constexpr Option kOptions[] = {
    {"--help", "-h", CommandLine::Action::Help, "show this help and exit"},
    {"--version", nullptr, CommandLine::Action::Version, "show the version and exit"},
};

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (const std::string& arg : args) {
        const Option* found = nullptr;
        for (const Option& o : kOptions)
            if (arg == o.name || (o.alias && arg == o.alias)) found = &o;
        if (!found) {
            line.action = CommandLine::Action::Error;
            line.error = (arg.size() > 1 && arg[0] == '-' ? "unknown option " : "unexpected argument ") + arg;
            return line;
        }
        // --help and --version answer at once, whatever follows.
        if (found->action != CommandLine::Action::Run) {
            line.action = found->action;
            return line;
        }
    }
    return line;
}

std::string usageText(std::string_view program) {
    std::string text = "Usage: " + std::string(program) + " [OPTION]\n";
    text +=
        "Lumiko, a mouse-driven Chinese character input panel: click strokes or\n"
        "four-corner shapes, pick a character, and it is typed into the\n"
        "application that has the keyboard focus.\n\n"
        "Options:\n";
    for (const Option& o : kOptions) {
        std::string names = std::string("  ") + (o.alias ? std::string(o.alias) + ", " : "    ") + o.name;
        names.resize(std::max<size_t>(names.size() + 2, 24), ' ');
        text += names + o.help + "\n";
    }
    text +=
        "\nThe code tables are read from the folder 词库 in the working folder when\n"
        "there is one, otherwise from the tables installed with the program.\n";
    return text;
}

std::string versionText() { return "lumiko 1.0\n"; }

}  // namespace lumiko
