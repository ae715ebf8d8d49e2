#pragma once

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "engine/search_host.h"
#include "engine/sjis_text.h"
#include "engine/skill_search.h"
#include "engine/skill_systems.h"
#include "platform/message_sink.h"

// A host that records what the engine posts and lets a test act on a given pump.
class ScriptedHost final : public SearchHost {
public:
    struct Message {
        unsigned id;
        std::uint64_t visited;
        std::uint64_t total;
    };

    void Post(unsigned message, std::uint64_t visited, std::uint64_t total) override {
        messages.push_back({message, visited, total});
    }
    void PumpMessages() override {
        ++pumps;
        if (engine != nullptr && pumps == abortAtPump) {
            engine->abortRequested = 1;
        }
    }

    std::vector<Message> messages;
    int pumps = 0;
    int abortAtPump = 0;
    CSkillSearch* engine = nullptr;
};

using Points = std::initializer_list<std::pair<int, int>>; // skill system, points

// Tiny tables built by hand, with an engine that searches them.
class SearchFixture : public ::testing::Test {
protected:
    SearchFixture() {
        ClearSkillSystems();
        engine.database.Clear();
        host.engine = &engine;
    }

    int System(const std::string& name) { return FindOrAddSkillSystem(name); }

    // Adds an activation level and returns its skill-table row.
    int Level(int system, int threshold) {
        CSkillData skill;
        skill.systemId = system;
        skill.threshold = static_cast<std::int8_t>(threshold);
        engine.database.AddSkill(skill);
        return static_cast<int>(engine.database.Skills().size()) - 1;
    }

    CDecoData* Deco(int size, Points points, const char* name = "deco") {
        CDecoData deco;
        std::snprintf(deco.name, sizeof deco.name, "%s", name);
        deco.size = size;
        int entry = 0;
        for (const auto& [system, value] : points) {
            deco.skillId[entry] = system;
            deco.skillPoints[entry++] = value;
        }
        return &engine.database.AddDeco(deco);
    }

    CEquipData* Piece(int slot, int slots, int defense, Points points, bool doubling = false) {
        CEquipData piece;
        piece.kind = slot;
        piece.slots = slots;
        piece.defenseAfter = defense;
        int entry = 0;
        if (doubling) {
            piece.skillId[entry++] = System(sjis::kBodyDoubling);
            piece.bodyDoubling = 1;
        }
        for (const auto& [system, value] : points) {
            piece.skillId[entry] = system;
            piece.skillPoints[entry++] = value;
        }
        return &engine.database.AddArmor(slot, piece);
    }

    // One plain piece with no points and no slots in every slot not yet filled.
    void FillEmptySlots() {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            if (engine.database.Armor(slot).empty()) {
                Piece(slot, 0, 1, {});
            }
        }
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

    ScriptedHost host;
    platform::RecordingSink sink;
    CSkillSearch engine{&host, &sink};
    CSearchCondition condition;
};
