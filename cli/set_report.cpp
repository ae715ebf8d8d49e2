#include "cli/set_report.h"

#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/condition_options.h"
#include "engine/search/stop_words.h"
#include "engine/sets/skill_summary.h"
#include "platform/sjis.h"

namespace {

using Json = nlohmann::ordered_json;

const char* const kPositionLabels[kPositionCount] = {"頭", "胴", "腕", "腰", "脚", "武器"};
const char* const kElementLabels[5] = {"火", "水", "雷", "氷", "龍"};

std::string Utf8(const char* sjis) {
    return platform::SjisToShownText(sjis);
}

std::vector<std::string> DecoNames(const CEquipSet& set, int position) {
    std::vector<std::string> names;
    for (const CDecoData* deco : set.decos[position]) {
        if (deco != nullptr) {
            names.push_back(Utf8(deco->name));
        }
    }
    return names;
}

// The activated skills, in the order of the set's skill summary.
std::vector<std::string> ActiveSkills(const CEquipSet& set,
                                      const std::vector<CSkillData*>& skills) {
    SkillRowTable rows;
    const int count = SkillSummary(set, skills, rows);
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        if (rows[i].skillIndex >= 0) {
            names.push_back(Utf8(skills[rows[i].skillIndex]->skillName));
        }
    }
    return names;
}

int FreeSlots(const CEquipSet& set, int weaponSlots) {
    return set.FreeArmorSlots() + set.FreeSlots(weaponSlots, kWeaponPosition);
}

std::string PieceName(const CEquipSet& set, int slot) {
    return set.pieces[slot] != nullptr ? Utf8(set.pieces[slot]->name) : "";
}

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : separator) + part;
    }
    return text;
}

Json SetJson(const CEquipSet& set, int number, const CSkillSearch& engine, int weaponSlots) {
    Json pieces = Json::array();
    Json resist = Json::array();
    Json decorations = Json::array();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        pieces.push_back(PieceName(set, slot));
    }
    for (int element = 0; element < 5; ++element) {
        resist.push_back(set.TotalResist(element));
    }
    for (int position = 0; position < kPositionCount; ++position) {
        decorations.push_back(DecoNames(set, position));
    }
    Json entry;
    entry["number"] = number;
    entry["pieces"] = pieces;
    entry["decorations"] = decorations;
    entry["defense"] = set.TotalDefense();
    entry["resist"] = resist;
    entry["freeSlots"] = FreeSlots(set, weaponSlots);
    entry["skills"] = ActiveSkills(set, engine.database.Skills());
    return entry;
}

std::string Dumped(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// The document is written a set at a time, exactly as dumping it whole would write it: built
// whole, it took some three kilobytes a set, ten times the sets themselves.
std::string SkillName(const CSkillSearch& engine, int row) {
    return platform::SjisToShownText(engine.database.Skills()[row]->skillName);
}

const char* StopName(SearchStop stop) {
    switch (stop) {
    case SearchStop::kCompleted:
        return "completed";
    case SearchStop::kAborted:
        return "aborted";
    case SearchStop::kDisplayLimit:
        return "displayLimit";
    case SearchStop::kCalcLimit:
        return "calcLimit";
    }
    return "";
}

// How many of the sets are listed: all, unless `stopped` says to stop before the next one.
using Stopped = std::function<bool()>;

void PrintJson(std::FILE* out, const CSkillSearch& engine, int weaponSlots, long long elapsedMs,
               const std::vector<SkillAdvice>& advice, const CSearchCondition* searched,
               const Stopped& stopped) {
    Json counters;
    counters["visited"] = engine.visited;
    counters["totalCombos"] = engine.totalCombos;
    counters["hitCount"] = engine.hitCount;
    counters["elapsedMs"] = elapsedMs;
    if (searched != nullptr) {
        counters["fitting"] = searched->exactFitting != 0 ? "exact" : "rules";
        counters["best"] = RankKeyName(searched->rankKey);
        counters["stopReason"] = StopName(engine.stopReason);
    }
    std::string head = Dumped(counters);
    head.pop_back();
    std::fprintf(out, "%s,\"results\":[", head.c_str());
    for (std::size_t i = 0; i < engine.results.size() && !stopped(); ++i) {
        const Json set = SetJson(*engine.results[i], static_cast<int>(i) + 1, engine, weaponSlots);
        std::fprintf(out, "%s%s", i == 0 ? "" : ",", Dumped(set).c_str());
    }
    std::fprintf(out, "]");
    if (!advice.empty()) {
        Json lines = Json::array();
        for (const SkillAdvice& line : advice) {
            lines.push_back({{"without", SkillName(engine, line.row)},
                             {"sets", line.sets},
                             {"atLeast", line.atLeast}});
        }
        std::fprintf(out, ",\"advice\":%s", Dumped(lines).c_str());
    }
    std::fprintf(out, "}\n");
}

// What each chosen skill keeps out, for a search that found nothing.
void PrintAdvice(const CSkillSearch& engine, const std::vector<SkillAdvice>& advice) {
    for (const SkillAdvice& line : advice) {
        std::fprintf(stderr, "「%s」を外すと %llu件%s\n", SkillName(engine, line.row).c_str(),
                     static_cast<unsigned long long>(line.sets), line.atLeast ? "以上" : "");
    }
}

void PrintSet(std::FILE* out, const CEquipSet& set, int number, const CSkillSearch& engine,
              int weaponSlots) {
    std::string resist;
    for (int element = 0; element < 5; ++element) {
        resist += std::string(element == 0 ? "" : " ") + kElementLabels[element] +
                  std::to_string(set.TotalResist(element));
    }
    std::fprintf(out, "No.%d  防御 %d  耐性 %s  空き %d\n", number, set.TotalDefense(),
                 resist.c_str(), FreeSlots(set, weaponSlots));
    const int positions = weaponSlots != 0 ? kPositionCount : kSlotCount;
    for (int position = 0; position < positions; ++position) {
        std::string line = position < kSlotCount ? PieceName(set, position) : "";
        const std::vector<std::string> decos = DecoNames(set, position);
        if (!decos.empty()) {
            line += (line.empty() ? "[" : "  [") + Joined(decos, ", ") + "]";
        }
        std::fprintf(out, "  %s  %s\n", kPositionLabels[position], line.c_str());
    }
    std::fprintf(out, "  スキル  %s\n",
                 Joined(ActiveSkills(set, engine.database.Skills()), " / ").c_str());
}

void PrintTable(std::FILE* out, const CSkillSearch& engine, int weaponSlots, long long elapsedMs,
                const CSearchCondition* searched, const Stopped& stopped) {
    for (std::size_t i = 0; i < engine.results.size() && !stopped(); ++i) {
        PrintSet(out, *engine.results[i], static_cast<int>(i) + 1, engine, weaponSlots);
    }
    std::fprintf(out, "検索結果 %zu件  (%llu / %llu, 組み合わせ %u件, %lld ms)\n",
                 engine.results.size(), static_cast<unsigned long long>(engine.visited),
                 static_cast<unsigned long long>(engine.totalCombos), engine.hitCount, elapsedMs);
    if (searched != nullptr) {
        std::fprintf(out, "%s\n", StopWords(engine.stopReason, *searched).c_str());
    }
}

} // namespace

void PrintResults(std::FILE* out, const CSkillSearch& engine, int weaponSlots, long long elapsedMs,
                  bool json, const std::vector<SkillAdvice>& advice,
                  const CSearchCondition* searched, const std::function<bool()>& stopped) {
    if (json) {
        PrintJson(out, engine, weaponSlots, elapsedMs, advice, searched, stopped);
    } else {
        PrintTable(out, engine, weaponSlots, elapsedMs, searched, stopped);
        PrintAdvice(engine, advice);
    }
}
