#include <memory>

#include "cli/cli_context.h"
#include "cli/condition_options.h"
#include "cli/search_session.h"

void AddSearchCommand(CLI::App& app, CliContext& context) {
    CLI::App* command = app.add_subcommand(
        "search", "Find every armour set that activates the chosen skills (--skill / --avoid)");
    auto options = std::make_shared<SearchCommandOptions>();
    AddSearchCommandOptions(*command, *options);
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
