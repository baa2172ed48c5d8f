// SPDX-License-Identifier: GPL-3.0-or-later
#include "commandline.h"

#include "tessaro_version.h"

#include <array>
#include <string_view>

namespace tessaro
{
namespace
{

// The window-system options that desktop sessions and users pass to a Qt
// program; each takes one value.
constexpr std::array<std::string_view, 3> keptOptions = {"-platform", "-display", "-session"};

bool isKeptOption(std::string_view option)
{
    for (std::string_view kept : keptOptions) {
        if (option == kept)
            return true;
    }
    return false;
}

CommandLine refuse(const std::string &message)
{
    CommandLine refusal;
    refusal.action = CommandLine::Action::PrintToStderr;
    refusal.text = "tessaro: " + message + "\n" + commandLineUsage();
    refusal.exitStatus = 2;
    return refusal;
}

CommandLine answer(std::string text)
{
    CommandLine reply;
    reply.action = CommandLine::Action::PrintToStdout;
    reply.text = std::move(text);
    return reply;
}

std::string versionLine()
{
    return std::string(app::title) + " " + std::to_string(app::versionMajor) + "." +
           std::to_string(app::versionMinor) + "." + std::to_string(app::versionRevision) + "\n";
}

} // namespace

std::string commandLineUsage()
{
    return "Usage: tessaro [OPTION]...\n"
           "Shows the date and time as a binary clock (its texts are German).\n"
           "\n"
           "  -h, --help         show this help and exit\n"
           "  -v, --version      show the version and exit\n"
           "  -platform NAME     Qt platform plugin to use, such as xcb or wayland\n"
           "                     (as QT_QPA_PLATFORM)\n"
           "  -display NAME      X display to open with the xcb platform (as DISPLAY)\n"
           "  -session ID        session to restore, passed by the session manager\n";
}

CommandLine parseCommandLine(const std::vector<std::string> &arguments)
{
    CommandLine result;
    result.toolkitArguments.push_back(arguments.empty() ? std::string("tessaro") : arguments[0]);
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string &argument = arguments[i];
        if (argument == "-h" || argument == "--help")
            return answer(commandLineUsage());
        if (argument == "-v" || argument == "--version")
            return answer(versionLine());
        if (isKeptOption(argument)) {
            if (i + 1 == arguments.size() || arguments[i + 1].empty())
                return refuse("option '" + argument + "' needs a value");
            const std::string &value = arguments[++i];
            if (argument == "-display")
                result.displayName = value;
            if (argument == "-platform")
                result.platformName = value;
            result.toolkitArguments.push_back(argument);
            result.toolkitArguments.push_back(value);
            continue;
        }
        if (argument.size() > 1 && argument[0] == '-')
            return refuse("unknown option '" + argument + "'");
        return refuse("unexpected argument '" + argument + "'");
    }
    return result;
}

} // namespace tessaro
