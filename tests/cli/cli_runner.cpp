#include "cli_runner.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <signal.h>
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

CliRun Run(const std::vector<std::string>& args, const std::string& stdoutRedirect) {
    TempFolder folder;
    const std::string errPath = folder.File("stderr");
    const std::string command =
        CliCommand(args) + stdoutRedirect + " 2>" + Quoted(errPath) + " </dev/null";
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
    run.err = folder.Read("stderr");
    return run;
}

// The process's status line `field`, or an empty text once it is gone.
std::string StatusField(pid_t pid, const std::string& field) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field + ":", 0) == 0) {
            return line.substr(field.size() + 1);
        }
    }
    return "";
}

bool CatchesInterrupt(pid_t pid) {
    const std::string caught = StatusField(pid, "SigCgt");
    return !caught.empty() && (std::stoull(caught, nullptr, 16) & (1ULL << (SIGINT - 1))) != 0;
}

long CpuMilliseconds(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    // Fields 14 and 15 of the line, user and system time; the text after the name starts at 3.
    for (int index = 3; index <= 15 && fields >> field; ++index) {
        ticks += index >= 14 ? std::stol(field) : 0;
    }
    return ticks * 1000 / ::sysconf(_SC_CLK_TCK);
}

} // namespace

std::string CliCommand(const std::vector<std::string>& args) {
    std::string command = Quoted(KESTROVA_CLI);
    for (const std::string& arg : args) {
        command += " " + Quoted(arg);
    }
    return command;
}

CliRun RunCli(const std::vector<std::string>& args) {
    return Run(args, "");
}

CliRun RunCliTo(const std::vector<std::string>& args, const std::string& stdoutPath) {
    return Run(args, " >" + Quoted(stdoutPath));
}

CliRun RunCliInterrupted(const std::vector<std::string>& args, int cpuMs) {
    TempFolder folder;
    const std::string outPath = folder.File("stdout");
    const std::string errPath = folder.File("stderr");
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!std::freopen(outPath.c_str(), "w", stdout) ||
            !std::freopen(errPath.c_str(), "w", stderr) || !std::freopen("/dev/null", "r", stdin)) {
            ::_exit(127);
        }
        std::vector<char*> argv{const_cast<char*>(KESTROVA_CLI)};
        for (const std::string& arg : args) {
            argv.push_back(const_cast<char*>(arg.c_str()));
        }
        argv.push_back(nullptr);
        ::execv(KESTROVA_CLI, argv.data());
        ::_exit(127);
    }
    CliRun run;
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (CatchesInterrupt(pid) && CpuMilliseconds(pid) >= cpuMs) {
            ::kill(pid, SIGINT);
            ::waitpid(pid, &status, 0);
            break;
        }
        ::usleep(10000);
    }
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = folder.Read("stdout");
    run.err = folder.Read("stderr");
    return run;
}
