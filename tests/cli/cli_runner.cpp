#include "cli_runner.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string Quoted(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

int g_folderCount = 0;

} // namespace

TempFolder::TempFolder()
    : path_(std::filesystem::temp_directory_path() / ("kestrova-cli-" + std::to_string(::getpid()) +
                                                      "-" + std::to_string(++g_folderCount))) {
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::filesystem::remove_all(path_);
}

CliRun RunCli(const std::vector<std::string>& args) {
    TempFolder folder;
    const std::string errPath = folder.Path("stderr");
    std::string command = Quoted(KESTROVA_CLI);
    for (const std::string& arg : args) {
        command += " " + Quoted(arg);
    }
    command += " 2>" + Quoted(errPath) + " </dev/null";
    CliRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.out.append(buffer, got);
    }
    const int status = ::pclose(pipe);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = ReadFile(errPath);
    return run;
}
