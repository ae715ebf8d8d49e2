#pragma once

#include <cstdint>

// The game data records. Names are Shift-JIS bytes in fixed, NUL-terminated arrays; a name that
// did not fit was cut at the byte limit when loaded.

constexpr int kSlotCount = 5;      // head, body, arm, waist, leg
constexpr int kPositionCount = 6;  // the five slots and the weapon
constexpr int kWeaponPosition = 5; // decorations only; never a piece
constexpr int kDecoKind = 5;       // list kind of a decoration in list files
constexpr int kNameSize = 21;      // 20 bytes and the terminator
constexpr int kMaterialNameSize = 17;

enum EquipSlot { kHead = 0, kBody = 1, kArm = 2, kWaist = 3, kLeg = 4 };

// One activation level of one skill system.
struct CSkillData {
    std::int32_t systemId = 0;
    char systemName[kNameSize] = {};
    char skillName[kNameSize] = {};
    // A positive threshold is reached at or above it; zero or below is a minus level, reached at
    // or below it.
    std::int8_t threshold = 0;
    std::int32_t jobFilter = 0; // 0 any, 1 blade only, 2 gunner only
    std::int32_t category = 0;  // 0 attack, 1 survival, 2 support, 3 other, 4 minus

    bool IsReached(int total) const;
};

struct CDecoData {
    char name[kNameSize] = {};
    std::int32_t rarity = 0;
    std::int32_t size = 0;
    std::int32_t skillId[2] = {};
    std::int32_t skillPoints[2] = {};
    // Chosen skill (cost order) this decoration serves in the current search, -1 for none.
    std::int32_t skillIndex = -1;
    std::int32_t rankTier = 0; // 0 low, 1 high, 2 G

    bool HasSkill(int id) const;
    bool HasPositive(int id) const;
    bool HasNegative(int id) const;
    int PointsFor(int id) const;
};

struct CEquipData {
    std::int32_t kind = 0; // EquipSlot of its table
    char name[kNameSize] = {};
    std::int32_t sex = 0; // 0 any, 1 male, 2 female
    std::int32_t job = 0; // 0 any, 1 blade, 2 gunner
    std::int32_t rarity = 0;
    std::int32_t slots = 0;
    std::int32_t defenseBefore = 0;
    std::int32_t defenseAfter = 0;
    std::int32_t resist[5] = {}; // fire, water, thunder, ice, dragon
    std::int32_t skillId[5] = {};
    std::int32_t skillPoints[5] = {};
    std::int32_t bodyDoubling = 0;
    char materialName[5][kMaterialNameSize] = {};
    std::int32_t materialCount[5] = {};
    std::uint64_t groupKey = 0; // written by candidate grouping for the current search
    std::int32_t useBeforeData = 0;

    int EffectiveDefense() const { return useBeforeData ? defenseBefore : defenseAfter; }
    bool HasSkill(int id) const;
    // Inline: a search asks it for every piece of every table and every chosen skill.
    int PointsFor(int id) const {
        for (int i = 0; i < 5; ++i) {
            if (skillId[i] == id) {
                return skillPoints[i];
            }
        }
        return 0;
    }
    bool HasPositivePointsIn(const int* ids, int count) const;
};
