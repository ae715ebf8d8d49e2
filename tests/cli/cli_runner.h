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
