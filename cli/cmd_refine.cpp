#include <memory>
#include <string>

#include "cli/cli_context.h"
#include "cli/condition_options.h"
#include "cli/path_option.h"
#include "cli/search_session.h"

namespace {

struct RefineOptions : SearchCommandOptions {
    std::string input;
};

} // namespace

// A refine needs a wanted skill as a new search does: without one it would keep every set and
// look like a filter that passed them all. Weapon class, sex and weapon slots default to those of
// the file.
void AddRefineCommand(CLI::App& app, CliContext& context) {
    CLI::App* command = app.add_subcommand(
        "refine", "Keep the sets of a result file that can also reach further skills");
    auto options = std::make_shared<RefineOptions>();
    command->add_option("--in", options->input, "The .eql result file to refine")
        ->required()
        ->check(NonEmptyPath());
    AddSearchCommandOptions(*command, *options);
    command->callback([&context, options] {
        RefuseUnsearchable(options->condition);
        SearchSession session(context);
        int job = 0;
        int sex = 0;
        int weaponSlots = 0;
        session.Load(options->input, job, sex, weaponSlots);
        TakeUnsetFrom(options->condition, job, sex, weaponSlots);
        const CSearchCondition condition =
            BuildCondition(options->condition, session.Engine().database);
        session.Run([&condition](CSkillSearch& engine) { engine.RefineSearch(condition); });
        session.ReportSearch(options->output, condition);
    });
}
