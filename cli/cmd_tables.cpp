#include <cstdio>

#include "cli/cli_context.h"
#include "engine/tables/skill_systems.h"

void AddTablesCommand(CLI::App& app, CliContext& context) {
    CLI::App* command = app.add_subcommand(
        "tables",
        "Print the row count of each of the seven tables and the number of skill systems");
    command->callback([&context] {
        CEquipDatabase database;
        if (!context.Load(database)) {
            throw CliExit{kExitLoadFailed, ""};
        }
        static const char* const kArmorNames[kSlotCount] = {"head", "body", "arm", "waist", "leg"};
        std::printf("skills\t%zu\n", database.Skills().size());
        std::printf("decorations\t%zu\n", database.Decos().size());
        for (int slot = 0; slot < kSlotCount; ++slot) {
            std::printf("%s\t%zu\n", kArmorNames[slot], database.Armor(slot).size());
        }
        std::printf("skill systems\t%d\n", database.SkillSystems().Count());
    });
}
