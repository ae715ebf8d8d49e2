#include "cli/search_session.h"

#include <chrono>
#include <cstdio>

#include "cli/path_option.h"
#include "cli/set_report.h"

namespace {

long long MillisecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 start)
        .count();
}

} // namespace

void AddOutputOptions(CLI::App& command, OutputOptions& options, bool withSave) {
    command.add_flag("--json", options.json, "Print the results as one JSON document");
    if (withSave) {
        command.add_option("--save", options.savePath, "Save the results to this .eql file")
            ->check(NonEmptyPath());
    }
}

void AddSearchCommandOptions(CLI::App& command, SearchCommandOptions& options) {
    AddConditionOptions(command, options.condition);
    AddRankingOptions(command, options.condition);
    AddOutputOptions(command, options.output, true);
}

SearchSession::SearchSession(const CliContext& context) {
    if (!context.Load(engine_.database)) {
        throw CliExit{kExitLoadFailed, ""};
    }
    host_.Attach(&engine_);
}

void SearchSession::Run(const std::function<void(CSkillSearch&)>& search) {
    host_.Start();
    const auto start = std::chrono::steady_clock::now();
    search(engine_);
    elapsedMs_ = MillisecondsSince(start);
    if (!host_.Finished()) {
        throw CliExit{kExitFailed, ""};
    }
}

void SearchSession::Load(const std::string& path, int& job, int& sex, int& weaponSlots) {
    const auto start = std::chrono::steady_clock::now();
    if (engine_.LoadResults(path, job, sex, weaponSlots) != 1) {
        throw CliExit{kExitFailed, ""};
    }
    elapsedMs_ = MillisecondsSince(start);
}

int SearchSession::Report(const OutputOptions& output, int job, int sex, int weaponSlots,
                          const CSearchCondition* searched) {
    // A Ctrl-C during the search still lets every set found be listed; one while they are being
    // listed stops the listing there.
    const bool interruptedBefore = host_.Interrupted();
    PrintResults(stdout, engine_, weaponSlots, elapsedMs_, output.json, advice_, searched,
                 [this, interruptedBefore] { return !interruptedBefore && host_.Interrupted(); });
    std::fflush(stdout);
    const bool interrupted = host_.Interrupted();
    int code = interrupted ? kExitInterrupted : kExitOk;
    if (interrupted) {
        std::fprintf(stderr, "中断されました\n");
    }
    if (output.savePath.empty()) {
        return code;
    }
    // The sets of an interrupted search are only some of those the condition asks for: saved,
    // they would pass for a complete result.
    if (interrupted) {
        std::fprintf(stderr, "search interrupted: %s was not written\n", output.savePath.c_str());
    } else if (engine_.results.empty()) {
        std::fprintf(stderr, "no sets found: %s was not written\n", output.savePath.c_str());
    } else if (engine_.SaveResults(output.savePath, job, sex, weaponSlots) != 1) {
        code = kExitFailed;
    }
    return code;
}

void SearchSession::ReportSearch(const OutputOptions& output, const CSearchCondition& condition) {
    const int code =
        Report(output, condition.job, condition.sex, condition.weaponSlots, &condition);
    if (code != kExitOk) {
        throw CliExit{code, ""};
    }
}
