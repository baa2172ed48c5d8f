// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <vector>

namespace tessaro
{

// What the command line asks of the Linux program. The clock itself takes no
// arguments; besides --help and --version only the few window-system options
// that a desktop session passes through are kept for the toolkit. Every other
// option is refused, so that none can mirror or restyle the fixed window.
struct CommandLine {
    enum class Action {
        Run,           // start the clock with `toolkitArguments`
        PrintToStdout, // print `text` on standard output, end with `exitStatus`
        PrintToStderr, // print `text` on standard error, end with `exitStatus`
    };
    Action action = Action::Run;
    std::string text;
    int exitStatus = 0;
    // The program name followed by the kept window-system options.
    std::vector<std::string> toolkitArguments;
    // The value of -display, empty when none was given.
    std::string displayName;
    // The value of -platform, empty when none was given.
    std::string platformName;
};

// `arguments` is argv: the program name first.
CommandLine parseCommandLine(const std::vector<std::string> &arguments);

// The short usage that --help prints.
std::string commandLineUsage();

} // namespace tessaro
