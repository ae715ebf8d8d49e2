#include "cli/set_report.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/condition_options.h"
#include "cli/decimal_counter.h"
#include "cli/listed_set.h"
#include "cli/output_buffer.h"
#include "cli/set_texts.h"
#include "engine/advisor/advice_text.h"
#include "engine/search/stop_words.h"

namespace {

using Json = nlohmann::ordered_json;

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

// How far ahead of its turn a set is fetched into the cache.
constexpr std::size_t kFetchAhead = 8;
constexpr std::size_t kCacheLine = 64;

// Fetches the bytes of `set` up to `end` into the cache.
void Prefetch(const CEquipSet& set, std::size_t end) {
    const char* bytes = reinterpret_cast<const char*>(&set);
    for (std::size_t line = 0; line < end + kCacheLine; line += kCacheLine) {
        __builtin_prefetch(bytes + std::min(line, end - 1));
    }
}

// Writes the sets one by one with `write(set, index)`, until `stopped`. The sets of a ranked list
// lie scattered in memory: each is fetched a few sets ahead of its turn, so that writing one
// does not wait for it. A tagged set is listed without reading its decorations, and its
// neighbours are most likely tagged too.
template <class Write>
void ListSets(OutputBuffer& buffer, const CSkillSearch& engine, const Stopped& stopped,
              Write&& write) {
    const auto& results = engine.results;
    for (std::size_t i = 0; i < results.size() && !stopped(); ++i) {
        const CEquipSet& set = *results[i];
        if (i + kFetchAhead < results.size()) {
            Prefetch(*results[i + kFetchAhead],
                     set.decorationsTag != 0 ? offsetof(CEquipSet, decos) : sizeof(CEquipSet));
        }
        write(set, i);
        buffer.FlushWhenFull();
    }
}

// A list in the order found keeps the sets of one arrangement together, and finds each set's
// skills as cheaply as listed; a ranked one is found ahead, arrangement by arrangement.
void FindRankedAhead(SetTexts& texts, const CSkillSearch& engine,
                     const CSearchCondition* searched) {
    if (searched != nullptr && searched->rankKey != RankKey::kNone) {
        texts.FindAhead(engine.results);
    }
}

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
    OutputBuffer buffer(out);
    buffer.Append(head);
    buffer.Append(",\"results\":[");
    SetTexts texts(engine.database, SetTexts::Form::kJson);
    FindRankedAhead(texts, engine, searched);
    DecimalCounter number;
    ListSets(buffer, engine, stopped, [&](const CEquipSet& set, std::size_t i) {
        buffer.Append(i == 0 ? "" : ",");
        AppendSetJson(buffer, set, i, number.Next(), weaponSlots, texts);
    });
    buffer.Append("]");
    if (!advice.empty()) {
        Json lines = Json::array();
        for (const SkillAdvice& line : advice) {
            lines.push_back(AdviceJson(engine, line));
        }
        buffer.Append(",\"advice\":");
        buffer.Append(Dumped(lines));
    }
    buffer.Append("}\n");
}

// What each chosen skill or limit keeps out, for a search that found nothing.
void PrintAdvice(const CSkillSearch& engine, const std::vector<SkillAdvice>& advice) {
    for (const std::string& line : AdviceLines(engine.database, advice)) {
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}

void PrintTable(std::FILE* out, const CSkillSearch& engine, int weaponSlots, long long elapsedMs,
                const CSearchCondition* searched, const Stopped& stopped) {
    {
        OutputBuffer buffer(out);
        SetTexts texts(engine.database, SetTexts::Form::kReadable);
        FindRankedAhead(texts, engine, searched);
        DecimalCounter number;
        ListSets(buffer, engine, stopped, [&](const CEquipSet& set, std::size_t i) {
            AppendSetText(buffer, set, i, number.Next(), weaponSlots, texts);
        });
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
