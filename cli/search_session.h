#pragma once

#include <functional>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "cli/condition_options.h"
#include "cli/terminal_progress.h"
#include "engine/advisor/skill_advisor.h"
#include "engine/search/skill_search.h"
#include "platform/message_sink.h"

// How a command hands back its sets.
struct OutputOptions {
    bool json = false;
    std::string savePath; // empty: do not save
};

void AddOutputOptions(CLI::App& command, OutputOptions& options, bool withSave);

// The options of the commands that search: the condition, its ranking and the output.
struct SearchCommandOptions {
    ConditionOptions condition;
    OutputOptions output;
};

void AddSearchCommandOptions(CLI::App& command, SearchCommandOptions& options);

// What search, refine and show share: the loaded tables, an engine that reports to stderr and to
// the terminal, the clock of the last engine call, and the final report.
class SearchSession {
public:
    // Loads the tables; throws CliExit when they cannot be read.
    explicit SearchSession(const CliContext& context);

    CSkillSearch& Engine() { return engine_; }

    // Runs and times one search; throws CliExit when the search could not start (the engine has
    // shown why).
    void Run(const std::function<void(CSkillSearch&)>& search);
    // Loads a result file; throws CliExit when it is rejected (the engine has shown why).
    void Load(const std::string& path, int& job, int& sex, int& weaponSlots);
    bool Interrupted() const { return host_.Interrupted(); }
    // Printed with the results of a search that found nothing.
    void SetAdvice(std::vector<SkillAdvice> advice) { advice_ = std::move(advice); }
    // Ends the progress line of work that posts no end of search.
    void FinishProgress() { host_.Post(SearchHost::kSearchFinished, 0, 0); }
    // Prints the results, saves them when asked, and returns the exit code. `searched` is the
    // condition of the search that found them, none for sets loaded from a file.
    int Report(const OutputOptions& output, int job, int sex, int weaponSlots,
               const CSearchCondition* searched = nullptr);
    // Reports the sets a search or refine for `condition` found; ends the command with CliExit
    // unless all went well.
    void ReportSearch(const OutputOptions& output, const CSearchCondition& condition);

private:
    platform::StderrSink sink_;
    TerminalProgress host_;
    CSkillSearch engine_{&host_, &sink_};
    long long elapsedMs_ = 0;
    std::vector<SkillAdvice> advice_;
};
