#include <memory>

#include "cli/cli_context.h"
#include "cli/condition_options.h"
#include "cli/search_session.h"

namespace {

struct SearchOptions {
    ConditionOptions condition;
    OutputOptions output;
};

} // namespace

void AddSearchCommand(CLI::App& app, CliContext& context) {
    CLI::App* command = app.add_subcommand(
        "search", "Find every armour set that activates the chosen skills (--skill / --avoid)");
    auto options = std::make_shared<SearchOptions>();
    AddConditionOptions(*command, options->condition);
    AddRankingOptions(*command, options->condition);
    AddOutputOptions(*command, options->output, true);
    command->callback([&context, options] {
        RefuseUnsearchable(options->condition);
        SearchSession session(context);
        const CSearchCondition condition =
            BuildCondition(options->condition, session.Engine().database);
        session.Run([&condition](CSkillSearch& engine) { engine.Search(condition); });
        if (session.Engine().results.empty() && !session.Interrupted()) {
            session.SetAdvice(AdviseWithout(session.Engine().database, condition));
        }
        session.ReportSearch(options->output, condition);
    });
}
