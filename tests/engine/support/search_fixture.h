#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/search/skill_search.h"
#include "engine/tables/sjis_text.h"
#include "engine/tables/skill_systems.h"
#include "platform/message_sink.h"

// Records what the engine posts; sets the abort flag on a chosen pump.
class ScriptedHost final : public SearchHost {
public:
    struct Message {
        unsigned id;
        std::uint64_t visited;
        std::uint64_t total;
        int pumpsBefore;
    };
    void Post(unsigned message, std::uint64_t visited, std::uint64_t total) override {
        messages.push_back({message, visited, total, pumps});
    }
    void PumpMessages() override {
        if (++pumps == abortAtPump) {
            *abortFlag = 1;
        }
    }
    std::vector<Message> messages;
    int pumps = 0;
    int abortAtPump = 0;
    std::atomic<std::int32_t>* abortFlag = nullptr;
};

using Points = std::initializer_list<std::pair<int, int>>; // skill system, points

// Tiny tables built by hand, and an engine to search them.
class SearchFixture : public ::testing::Test {
protected:
    SearchFixture() {
        engine.database.Clear();
        host.abortFlag = &engine.abortRequested;
        attack = engine.database.AddSkillSystem("attack");
        guard = engine.database.AddSkillSystem("guard");
        attack10 = Level(attack, 10);
        guard10 = Level(guard, 10);
    }

    int Level(int system, int threshold) {
        CSkillData skill;
        skill.systemId = system;
        skill.threshold = static_cast<std::int8_t>(threshold);
        engine.database.AddSkill(skill);
        return static_cast<int>(engine.database.Skills().size()) - 1;
    }

    CDecoData* Deco(int size, Points points) {
        CDecoData deco;
        deco.size = size;
        Fill(deco.skillId, deco.skillPoints, 0, points);
        return &engine.database.AddDeco(deco);
    }

    CEquipData* Piece(int slot, int slots, int defense, Points points, bool doubling = false) {
        CEquipData piece;
        piece.kind = slot;
        piece.slots = slots;
        piece.defenseAfter = defense;
        piece.bodyDoubling = doubling ? 1 : 0;
        piece.skillId[0] = doubling ? engine.database.AddSkillSystem(sjis::kBodyDoubling) : 0;
        Fill(piece.skillId, piece.skillPoints, doubling ? 1 : 0, points);
        return &engine.database.AddArmor(slot, piece);
    }

    static void Fill(std::int32_t* ids, std::int32_t* values, int entry, Points points) {
        for (const auto& [system, value] : points) {
            ids[entry] = system;
            values[entry++] = value;
        }
    }

    // Searches after giving every empty slot a piece with nothing on it.
    void Run() {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            if (engine.database.Armor(slot).empty()) {
                Piece(slot, 0, 1, {});
            }
        }
        engine.Search(condition);
    }

    void Choose(std::initializer_list<int> rows) {
        condition.skillCount = 0;
        for (int row : rows) {
            condition.skillRows[condition.skillCount++] = row;
        }
    }

    void Avoid(int row) {
        condition.skillRows[condition.skillCount++] = row;
        condition.excludedSkillRows[condition.excludedSkillCount++] = row;
    }

    int Count(const CEquipSet& set, const CDecoData* deco) const {
        int count = 0;
        for (const auto& position : set.decos) {
            count += static_cast<int>(std::count(std::begin(position), std::end(position), deco));
        }
        return count;
    }

    ScriptedHost host;
    platform::RecordingSink sink;
    CSkillSearch engine{&host, &sink};
    CSearchCondition condition;
    int attack = 0;
    int guard = 0;
    int attack10 = 0;
    int guard10 = 0;
};
