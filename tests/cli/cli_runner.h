#pragma once

#include <filesystem>
#include <string>
#include <vector>

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

// A fresh folder under the system's temporary folder, removed again with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string Path(const std::string& file) const { return (path_ / file).string(); }

private:
    std::filesystem::path path_;
};
