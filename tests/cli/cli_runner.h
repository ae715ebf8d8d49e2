#pragma once

#include <string>
#include <vector>

#include "support/temp_folder.h"

// Runs the built kestrova-cli with the given arguments and captures what it printed.
struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

CliRun RunCli(const std::vector<std::string>& args);

// The shell command line that runs kestrova-cli with these arguments, each quoted.
std::string CliCommand(const std::vector<std::string>& args);

// The same with standard output going to `stdoutPath` (run.out stays empty).
CliRun RunCliTo(const std::vector<std::string>& args, const std::string& stdoutPath);

// Starts the command, lets it work until it has caught Ctrl-C's signal and used `cpuMs` of
// processor time, then sends Ctrl-C and waits for it to end.
CliRun RunCliInterrupted(const std::vector<std::string>& args, int cpuMs);
