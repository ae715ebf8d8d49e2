#include "engine/tables/table_parsers.h"

#include <algorithm>
#include <cstring>

#include "engine/tables/field_reader.h"
#include "engine/tables/sjis_text.h"
#include "engine/tables/skill_systems.h"

namespace {

int CategoryOf(const char* text) {
    static const char* const kCategories[] = {sjis::kCategoryAttack, sjis::kCategorySurvival,
                                              sjis::kCategorySupport, sjis::kCategoryOther,
                                              sjis::kCategoryMinus};
    for (int i = 0; i < 5; ++i) {
        if (std::strcmp(text, kCategories[i]) == 0) {
            return i;
        }
    }
    return 3;
}

int TierOf(const char* text) {
    if (std::strcmp(text, sjis::kTierHigh) == 0) {
        return 1;
    }
    if (std::strcmp(text, sjis::kTierG) == 0) {
        return 2;
    }
    return 0;
}

int NextIntIn(const char*& cursor, ValueRange range) {
    return std::clamp(NextInt(cursor), range.min, range.max);
}

} // namespace

const char* RecordStart(const char* line) {
    while (*line == ' ') {
        ++line;
    }
    return *line == '#' ? nullptr : line;
}

void ParseSkillLine(const char* line, CSkillData& skill, CSkillSystems& systems) {
    const char* cursor = line;
    NextField(skill.skillName, sizeof skill.skillName, cursor);
    NextField(skill.systemName, sizeof skill.systemName, cursor);
    skill.systemId = systems.FindOrAdd(skill.systemName);
    // The threshold column is kept as a signed byte, so 200 reads back as -56.
    skill.threshold = static_cast<std::int8_t>(NextInt(cursor));
    skill.jobFilter = NextInt(cursor);
    char category[32] = {};
    NextField(category, sizeof category, cursor);
    skill.category = CategoryOf(category);
    char letter[32] = {};
    NextField(letter, sizeof letter, cursor);
}

void ParseDecoLine(const char* line, CDecoData& deco, CSkillSystems& systems) {
    const char* cursor = line;
    NextField(deco.name, sizeof deco.name, cursor);
    deco.rarity = NextIntIn(cursor, kRarityRange);
    deco.size = NextIntIn(cursor, kSlotRange);
    for (int i = 0; i < 2; ++i) {
        char system[64] = {};
        NextField(system, sizeof system, cursor);
        deco.skillId[i] = systems.FindOrAdd(system);
        deco.skillPoints[i] = NextIntIn(cursor, kDecoPointsRange);
    }
    char tier[64] = {};
    NextField(tier, sizeof tier, cursor);
    deco.rankTier = TierOf(tier);
    deco.skillIndex = -1;
}

void ParseArmorLine(const char* line, CEquipData& piece, CSkillSystems& systems) {
    const char* cursor = line;
    NextField(piece.name, sizeof piece.name, cursor);
    piece.sex = NextInt(cursor);
    piece.job = NextInt(cursor);
    piece.rarity = NextIntIn(cursor, kRarityRange);
    piece.slots = NextIntIn(cursor, kSlotRange);
    piece.defenseBefore = NextIntIn(cursor, kDefenseRange);
    piece.defenseAfter = NextIntIn(cursor, kDefenseRange);
    for (int& resist : piece.resist) {
        resist = NextIntIn(cursor, kResistRange);
    }
    for (int i = 0; i < 5; ++i) {
        // The armour tables keep 19 bytes of a skill-system name.
        char system[20] = {};
        NextField(system, sizeof system, cursor);
        piece.skillId[i] = systems.FindOrAdd(system);
        if (std::strcmp(system, sjis::kBodyDoubling) == 0) {
            piece.bodyDoubling = 1;
        }
        piece.skillPoints[i] = NextIntIn(cursor, kArmorPointsRange);
    }
    for (int i = 0; i < 5; ++i) {
        NextField(piece.materialName[i], sizeof piece.materialName[i], cursor);
        piece.materialCount[i] = NextIntIn(cursor, kMaterialCountRange);
    }
}
