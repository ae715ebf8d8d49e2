#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "support/temp_folder.h"

// What a run printed, and its exit code.
struct CliRun {
    int code = -1;
    std::string out;
    std::string err;
};

// Runs the built kestrova-cli. Standard output goes to `outPath` when one is given (run.out stays
// empty). With `interruptAfterMs` of 0 or more, Ctrl-C is sent once the program catches it and
// has used that much processor time. An `addressSpace` other than 0 limits the program's address
// space to that many bytes, as `prlimit --as` does, so that its allocations fail beyond it.
CliRun RunCli(const std::vector<std::string>& args, const std::string& outPath = "",
              int interruptAfterMs = -1, std::size_t addressSpace = 0);

// Runs the built kestrova-cli with standard output into a pipe and sends Ctrl-C once the first
// bytes of the listing have arrived: the pipe holds the program back, so it is still listing then.
CliRun RunCliInterruptedWhileListing(const std::vector<std::string>& args);

// The document a `--json` run printed; the run must have succeeded.
nlohmann::ordered_json JsonOf(const CliRun& run);
