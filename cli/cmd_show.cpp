#include <cstdio>
#include <limits>
#include <memory>
#include <string>

#include "cli/cli_context.h"
#include "cli/condition_options.h"
#include "cli/path_option.h"
#include "cli/search_session.h"
#include "engine/advisor/skill_advisor.h"
#include "platform/sjis.h"

namespace {

struct ShowOptions {
    std::string input;
    OutputOptions output;
    int set = 0;
    bool extras = false;
    ConditionOptions condition;
};

// The levels decorations in the free slots of set `number` could still add, keeping the levels
// the condition chooses.
void PrintExtras(const CSkillSearch& engine, int number, const CSearchCondition& condition) {
    if (number < 1 || static_cast<std::size_t>(number) > engine.results.size()) {
        throw CliExit{kExitFailed, "no set " + std::to_string(number) + " in the file (it holds " +
                                       std::to_string(engine.results.size()) + ")"};
    }
    CEquipSet set = *engine.results[number - 1];
    set.weaponSlots = condition.weaponSlots;
    std::string line = "追加可能:";
    for (const int row : AddableSkillsOfSet(engine.database, condition, set)) {
        line += " " + platform::SjisToShownText(engine.database.Skills()[row]->skillName);
    }
    std::printf("No.%d  %s\n", number, line.c_str());
}

} // namespace

void AddShowCommand(CLI::App& app, CliContext& context) {
    CLI::App* command = app.add_subcommand("show", "Print the sets of a saved .eql result file");
    auto options = std::make_shared<ShowOptions>();
    command->add_option("file", options->input, "The .eql result file")
        ->required()
        ->check(NonEmptyPath());
    AddOutputOptions(*command, options->output, false);
    CLI::Option* set =
        command->add_option("--set", options->set, "With --extras: the set's number (from 1)")
            ->check(CLI::Range(1, std::numeric_limits<int>::max()));
    command
        ->add_flag("--extras", options->extras,
                   "The skill levels decorations in the set's free slots could still add, keeping "
                   "the levels of --skill and none of --avoid")
        ->needs(set);
    AddConditionOptions(*command, options->condition);
    command->callback([&context, options] {
        SearchSession session(context);
        int job = 0;
        int sex = 0;
        int weaponSlots = 0;
        session.Load(options->input, job, sex, weaponSlots);
        if (options->extras) {
            TakeUnsetFrom(options->condition, job, sex, weaponSlots);
            PrintExtras(session.Engine(), options->set,
                        BuildCondition(options->condition, session.Engine().database));
            return;
        }
        const int code = session.Report(options->output, job, sex, weaponSlots);
        if (code != kExitOk) {
            throw CliExit{code, ""};
        }
    });
}
