#include "app/commandline.h"

#include <algorithm>

namespace lumiko {

namespace {

struct Option {
    const char* name;
    const char* alias;  // a short form, or null
    CommandLine::Action action;
    const char* help;
    const char* value = nullptr;              // the value's name, for an option that takes one
    std::string CommandLine::*into = nullptr;  // where its value goes
};

constexpr Option kOptions[] = {
    {"--help", "-h", CommandLine::Action::Help, "show this help and exit"},
    {"--version", nullptr, CommandLine::Action::Version, "show the version and exit"},
    {"--zoom", nullptr, CommandLine::Action::Run, "draw the panel at PERCENT of its size (50 to 400)", "PERCENT",
     &CommandLine::zoom},
};

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const Option* found = nullptr;
        std::string value;
        bool hasValue = false;
        for (const Option& o : kOptions) {
            if (arg == o.name || (o.alias && arg == o.alias)) found = &o;
            else if (o.value && arg.starts_with(std::string(o.name) + "=")) {
                found = &o;
                value = arg.substr(std::string(o.name).size() + 1);
                hasValue = true;
            }
        }
        if (found && found->value && !hasValue) {
            if (i + 1 >= args.size()) {
                line.action = CommandLine::Action::Error;
                line.error = std::string("option ") + found->name + " needs a value " + found->value;
                return line;
            }
            value = args[++i];
        }
        if (found && found->value) line.*(found->into) = value;
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
        std::string names = std::string("  ") + (o.alias ? std::string(o.alias) + ", " : "    ") + o.name +
                            (o.value ? std::string(" ") + o.value : "");
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
