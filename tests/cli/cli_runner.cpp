#include "cli_runner.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <signal.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {

// The processor time the process has used, or -1 while it does not catch Ctrl-C (or is gone).
// The fields of the line are numbered from 1; the text after the program's name starts at 3.
long CpuMsOnceCatchingInterrupt(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    const std::string text((std::istreambuf_iterator<char>(stat)), {});
    std::istringstream after(text.substr(text.rfind(')') + 1));
    std::vector<std::string> fields(3);
    for (std::string field; after >> field;) {
        fields.push_back(field);
    }
    const std::size_t caught = 34;
    if (fields.size() <= caught || (std::stoull(fields[caught]) & (1ULL << (SIGINT - 1))) == 0) {
        return -1;
    }
    return (std::stol(fields[14]) + std::stol(fields[15])) * 1000 / ::sysconf(_SC_CLK_TCK);
}

// Runs in the forked child: becomes the program under test, or ends with 127.
[[noreturn]] void ExecCli(const std::vector<std::string>& args) {
    std::vector<char*> argv{const_cast<char*>(KESTROVA_CLI)};
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    ::execv(KESTROVA_CLI, argv.data());
    ::_exit(127);
}

} // namespace

CliRun RunCli(const std::vector<std::string>& args, const std::string& outPath,
              int interruptAfterMs, std::size_t addressSpace) {
    TempFolder folder;
    const std::string out = outPath.empty() ? folder.File("stdout") : outPath;
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (!std::freopen(out.c_str(), "w", stdout) ||
            !std::freopen(folder.File("stderr").c_str(), "w", stderr) ||
            !std::freopen("/dev/null", "r", stdin)) {
            ::_exit(127);
        }
        const struct rlimit limit = {addressSpace, addressSpace};
        if (addressSpace != 0 && ::setrlimit(RLIMIT_AS, &limit) != 0) {
            ::_exit(127);
        }
        ExecCli(args);
    }
    int status = 0;
    while (interruptAfterMs >= 0 && ::waitpid(pid, &status, WNOHANG) == 0) {
        if (CpuMsOnceCatchingInterrupt(pid) >= interruptAfterMs) {
            ::kill(pid, SIGINT);
            break;
        }
        ::usleep(10000);
    }
    // Once the loop has collected the program this finds nothing and leaves `status` as it is.
    ::waitpid(pid, &status, 0);
    CliRun run;
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = outPath.empty() ? folder.Read("stdout") : "";
    run.err = folder.Read("stderr");
    return run;
}

CliRun RunCliInterruptedWhileListing(const std::vector<std::string>& args) {
    TempFolder folder;
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return {};
    }
    std::fflush(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        if (!std::freopen(folder.File("stderr").c_str(), "w", stderr)) {
            ::_exit(127);
        }
        ExecCli(args);
    }
    ::close(pipeFds[1]);
    CliRun run;
    char buffer[4096];
    for (ssize_t got; (got = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        if (run.out.empty()) {
            ::kill(pid, SIGINT);
        }
        run.out.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = folder.Read("stderr");
    return run;
}

nlohmann::ordered_json JsonOf(const CliRun& run) {
    EXPECT_EQ(run.code, 0) << run.err;
    return nlohmann::ordered_json::parse(run.out);
}
