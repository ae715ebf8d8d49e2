#include <chrono>
#include <cstdio>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/cli_context.h"
#include "cli/condition_options.h"
#include "cli/search_session.h"
#include "engine/advisor/skill_advisor.h"
#include "platform/sjis.h"

namespace {

using Json = nlohmann::ordered_json;

struct ExtraSkillsOptions {
    ConditionOptions condition;
    bool json = false;
};

constexpr int kAdvisorThreads = 2;

void PrintSkills(const CEquipDatabase& database, const std::vector<int>& rows, long long elapsedMs,
                 bool json) {
    if (json) {
        Json skills = Json::array();
        for (const int row : rows) {
            const CSkillData& skill = *database.Skills()[row];
            skills.push_back({{"name", platform::SjisToShownText(skill.skillName)},
                              {"system", platform::SjisToShownText(skill.systemName)},
                              {"threshold", skill.threshold}});
        }
        const Json document = {{"skills", skills}, {"elapsedMs", elapsedMs}};
        std::printf("%s\n", document.dump(-1, ' ', false, Json::error_handler_t::replace).c_str());
        return;
    }
    for (const int row : rows) {
        const CSkillData& skill = *database.Skills()[row];
        std::printf("%s  (%s %+d)\n", platform::SjisToShownText(skill.skillName).c_str(),
                    platform::SjisToShownText(skill.systemName).c_str(), skill.threshold);
    }
}

} // namespace

// `extra-skills`: every skill level that some set meets together with the condition.
void AddExtraSkillsCommand(CLI::App& app, CliContext& context) {
    CLI::App* command = app.add_subcommand(
        "extra-skills", "List every skill level that could be added to the chosen skills");
    auto options = std::make_shared<ExtraSkillsOptions>();
    AddConditionOptions(*command, options->condition);
    command->add_flag("--json", options->json, "Print the levels as one JSON document");
    command->callback([&context, options] {
        RefuseUnsearchable(options->condition);
        SearchSession session(context);
        CSkillSearch& engine = session.Engine();
        const CSearchCondition condition = BuildCondition(options->condition, engine.database);
        const auto start = std::chrono::steady_clock::now();
        bool aborted = false;
        const std::vector<int> rows =
            FindAddableSkills(engine.database, condition, kAdvisorThreads, engine, aborted);
        const long long elapsedMs = std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now() - start)
                                        .count();
        session.FinishProgress();
        if (aborted) {
            throw CliExit{kExitInterrupted, "中断されました"};
        }
        PrintSkills(engine.database, rows, elapsedMs, options->json);
    });
}
