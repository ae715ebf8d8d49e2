#include "cli/set_report.h"

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/condition_options.h"
#include "engine/advisor/advice_text.h"
#include "engine/search/stop_words.h"
#include "engine/sets/active_skills.h"
#include "engine/tables/shown_names.h"
#include "platform/sjis.h"

namespace {

using Json = nlohmann::ordered_json;

// A report line spells the weapon out; the slots go by their short names.
const char kWeaponLabel[] = "武器";

std::string Utf8(const char* sjis) {
    return platform::SjisToShownText(sjis);
}

// What listing a set needs of the tables, converted once: every set names the same few pieces,
// decorations and skills, and converting them again for each of hundreds of thousands of sets
// cost more than finding the sets.
class NameCache {
public:
    explicit NameCache(const CEquipDatabase& database) : finder_(database) {}

    const std::string& Text(const char* sjis) { return Entry(sjis).text; }
    // The name as a JSON string, quoted and escaped.
    const std::string& Quoted(const char* sjis) { return Entry(sjis).quoted; }
    const std::vector<int>& ActiveRows(const CEquipSet& set) {
        finder_.Find(set, rows_);
        return rows_;
    }

private:
    struct Name {
        std::string text;
        std::string quoted;
    };
    const Name& Entry(const char* sjis) {
        auto found = names_.find(sjis);
        if (found == names_.end()) {
            std::string text = Utf8(sjis);
            std::string quoted = Json(text).dump(-1, ' ', false, Json::error_handler_t::replace);
            found = names_.emplace(sjis, Name{std::move(text), std::move(quoted)}).first;
        }
        return found->second;
    }

    std::unordered_map<const char*, Name> names_;
    ActiveSkillFinder finder_;
    std::vector<int> rows_;
};

std::vector<std::string> DecoNames(const CEquipSet& set, int position, NameCache& names) {
    std::vector<std::string> list;
    for (const CDecoData* deco : set.decos[position]) {
        if (deco != nullptr) {
            list.push_back(names.Text(deco->name));
        }
    }
    return list;
}

// The activated skills, in the order of the set's skill summary.
std::vector<std::string> ActiveSkills(const CEquipSet& set, const std::vector<CSkillData*>& skills,
                                      NameCache& names) {
    std::vector<std::string> list;
    for (const int row : names.ActiveRows(set)) {
        list.push_back(names.Text(skills[row]->skillName));
    }
    return list;
}

int FreeSlots(const CEquipSet& set, int weaponSlots) {
    return set.FreeArmorSlots() + set.FreeSlots(weaponSlots, kWeaponPosition);
}

std::string PieceName(const CEquipSet& set, int slot, NameCache& names) {
    return set.pieces[slot] != nullptr ? names.Text(set.pieces[slot]->name) : "";
}

std::string Joined(const std::vector<std::string>& parts, const char* separator) {
    std::string text;
    for (const std::string& part : parts) {
        text += (text.empty() ? "" : separator) + part;
    }
    return text;
}

// One set's object, written as the JSON library writes it, straight into `out`.
void AppendSetJson(std::string& out, const CEquipSet& set, int number, const CSkillSearch& engine,
                   int weaponSlots, NameCache& names) {
    out += "{\"number\":" + std::to_string(number) + ",\"pieces\":[";
    for (int slot = 0; slot < kSlotCount; ++slot) {
        out += slot == 0 ? "" : ",";
        out += set.pieces[slot] != nullptr ? names.Quoted(set.pieces[slot]->name) : "\"\"";
    }
    out += "],\"decorations\":[";
    for (int position = 0; position < kPositionCount; ++position) {
        out += position == 0 ? "[" : ",[";
        bool first = true;
        for (const CDecoData* deco : set.decos[position]) {
            if (deco != nullptr) {
                out += first ? "" : ",";
                out += names.Quoted(deco->name);
                first = false;
            }
        }
        out += "]";
    }
    out += "],\"defense\":" + std::to_string(set.TotalDefense()) + ",\"resist\":[";
    for (int element = 0; element < 5; ++element) {
        out += (element == 0 ? "" : ",") + std::to_string(set.TotalResist(element));
    }
    out += "],\"freeSlots\":" + std::to_string(FreeSlots(set, weaponSlots)) + ",\"skills\":[";
    bool first = true;
    for (const int row : names.ActiveRows(set)) {
        out += first ? "" : ",";
        out += names.Quoted(engine.database.Skills()[row]->skillName);
        first = false;
    }
    out += "]}";
}

std::string Dumped(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// A chosen skill by its name, a limit by the option that sets it; the complete fitting is what
// the search would switch to.
Json AdviceJson(const CSkillSearch& engine, const SkillAdvice& line) {
    Json entry;
    switch (line.kind) {
    case AdviceKind::kSkill:
        entry["without"] = AdvisedSkillName(engine.database, line);
        break;
    case AdviceKind::kMinDefence:
        entry["without"] = "--min-defense";
        break;
    case AdviceKind::kOwnedOnly:
        entry["without"] = "owned only";
        break;
    case AdviceKind::kFixed:
        entry["without"] = "fixed pieces";
        break;
    case AdviceKind::kExactFitting:
        entry["with"] = "--fitting exact";
        break;
    }
    entry["sets"] = line.sets;
    entry["atLeast"] = line.atLeast;
    return entry;
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

// The document is written a set at a time, exactly as dumping it whole would write it: built
// whole, it took some three kilobytes a set, ten times the sets themselves.
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
    NameCache names(engine.database);
    std::string text;
    for (std::size_t i = 0; i < engine.results.size() && !stopped(); ++i) {
        text.clear();
        text += i == 0 ? "" : ",";
        AppendSetJson(text, *engine.results[i], static_cast<int>(i) + 1, engine, weaponSlots,
                      names);
        std::fwrite(text.data(), 1, text.size(), out);
    }
    std::fprintf(out, "]");
    if (!advice.empty()) {
        Json lines = Json::array();
        for (const SkillAdvice& line : advice) {
            lines.push_back(AdviceJson(engine, line));
        }
        std::fprintf(out, ",\"advice\":%s", Dumped(lines).c_str());
    }
    std::fprintf(out, "}\n");
}

// What each chosen skill or limit keeps out, for a search that found nothing.
void PrintAdvice(const CSkillSearch& engine, const std::vector<SkillAdvice>& advice) {
    for (const std::string& line : AdviceLines(engine.database, advice)) {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}

void PrintSet(std::FILE* out, const CEquipSet& set, int number, const CSkillSearch& engine,
              int weaponSlots, NameCache& names) {
    std::string resist;
    for (int element = 0; element < 5; ++element) {
        resist += std::string(element == 0 ? "" : " ") + shown::kElementNames[element] +
                  std::to_string(set.TotalResist(element));
    }
    std::fprintf(out, "No.%d  防御 %d  耐性 %s  空き %d\n", number, set.TotalDefense(),
                 resist.c_str(), FreeSlots(set, weaponSlots));
    const int positions = weaponSlots != 0 ? kPositionCount : kSlotCount;
    for (int position = 0; position < positions; ++position) {
        std::string line = position < kSlotCount ? PieceName(set, position, names) : "";
        const std::vector<std::string> decos = DecoNames(set, position, names);
        if (!decos.empty()) {
            line += (line.empty() ? "[" : "  [") + Joined(decos, ", ") + "]";
        }
        const char* label = position < kSlotCount ? shown::kSlotNames[position] : kWeaponLabel;
        std::fprintf(out, "  %s  %s\n", label, line.c_str());
    }
    std::fprintf(out, "  スキル  %s\n",
                 Joined(ActiveSkills(set, engine.database.Skills(), names), " / ").c_str());
}

void PrintTable(std::FILE* out, const CSkillSearch& engine, int weaponSlots, long long elapsedMs,
                const CSearchCondition* searched, const Stopped& stopped) {
    NameCache names(engine.database);
    for (std::size_t i = 0; i < engine.results.size() && !stopped(); ++i) {
        PrintSet(out, *engine.results[i], static_cast<int>(i) + 1, engine, weaponSlots, names);
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
