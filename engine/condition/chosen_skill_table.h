#pragma once

#include "engine/condition/search_condition.h"
#include "engine/tables/equip_database.h"
#include "platform/message_sink.h"

// The chosen skills of one search in cost order, with the decorations that serve them: at most
// one per size (indexed 1..3), its points, and its minus points on the other chosen skills.
struct SkillTable {
    int count = 0;
    int rows[kMaxChosenSkills] = {}; // skill-table indices
    const CSkillData* chosenRows[kMaxChosenSkills] = {};
    int chosenIds[kMaxChosenSkills] = {};
    bool excluded[kMaxChosenSkills] = {}; // the level must not be active
    CDecoData* decoFor[kMaxChosenSkills][4] = {};
    int decoPoints[kMaxChosenSkills][4] = {};
    int decoMinus[kMaxChosenSkills][kMaxChosenSkills][4] = {};

    int Threshold(int k) const { return chosenRows[k]->threshold; }
    bool HasAnyDeco(int k) const {
        return decoFor[k][1] != nullptr || decoFor[k][2] != nullptr || decoFor[k][3] != nullptr;
    }
};

bool IsExcludedSkill(const CSearchCondition& condition, int row);

constexpr char kSkillTableFailed[] = "スキル/装飾品テーブルの作成に失敗しました";

// Orders the chosen skills by how cheaply decorations serve them and keeps the usable decorations
// for each. Rewrites every decoration's `skillIndex`. Returns 0 when the condition names no valid
// set of skill rows; the table is then unusable.
int BuildSkillTable(const CSearchCondition& condition, const CEquipDatabase& database,
                    SkillTable& table);

// The table of a search or refine about to start. False, with the reason told to `sink` (when
// given), when the fitting cannot take so many skill rows or the table cannot be built.
bool PrepareSkillTable(const CSearchCondition& condition, const CEquipDatabase& database,
                       platform::MessageSink* sink, SkillTable& table);
