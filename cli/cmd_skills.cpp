#include <cstdio>

#include "cli/cli_context.h"
#include "platform/sjis.h"

namespace {
const char* const kCategoryNames[5] = {"攻撃重視", "生存重視", "サポート", "その他", "マイナス"};
}

void AddSkillsCommand(CLI::App& app, CliContext& context) {
    CLI::App* command = app.add_subcommand(
        "skills", "Print every skill row: index, system, skill, threshold, weapon class, category");
    command->callback([&context] {
        CEquipDatabase database;
        if (!context.Load(database)) {
            throw CliExit{kExitLoadFailed, ""};
        }
        const auto& skills = database.Skills();
        for (std::size_t i = 0; i < skills.size(); ++i) {
            const CSkillData& skill = *skills[i];
            const int category = skill.category >= 0 && skill.category < 5 ? skill.category : 3;
            std::printf("%zu\t%s\t%s\t%d\t%d\t%s\n", i,
                        platform::SjisToShownText(skill.systemName).c_str(),
                        platform::SjisToShownText(skill.skillName).c_str(), skill.threshold,
                        skill.jobFilter, kCategoryNames[category]);
        }
    });
}
