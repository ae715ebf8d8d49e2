// Searches on the bundled tables, and the piece-by-piece evaluation that grouping and the skips
// replace. Run from the build folder: bin/kestrova_bench (see README for the figures).

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include <sys/resource.h>

#include <benchmark/benchmark.h>

#include "engine/advisor/skill_advisor.h"
#include "engine/condition/candidates.h"
#include "engine/condition/chosen_skill_table.h"
#include "engine/fitting/rule_fitter.h"
#include "engine/search/group_enumeration.h"
#include "engine/search/skill_search.h"
#include "platform/sjis.h"

namespace {

// Chosen in this order; the first n make an n-skill search.
// Five skills that the bundled tables can just meet together, so the 5-skill search runs through
// every combination and still lists sets.
// The next three are, one after the other, levels the additional-skill search offers on top of
// those chosen before, for a search of more than five skills in the complete fitting.
constexpr const char* kSkillNames[] = {"先読み",         "重撃【小】", "剛腕", "解体上手",
                                       "龍攻撃UP【小】", "研ぎ上手",   "鉄壁", "氷攻撃UP【小】"};
constexpr int kMinDefense = 300;
// Piece combinations the baseline evaluates per iteration; all of them would take days.
constexpr std::uint64_t kBaselineCombos = 1U << 20;

// The bundled tables (scale 1) or those the sample-data generator made N times as large; 0 keeps
// the tables loaded last. Skill system ids are process-wide, so one set of tables is loaded at a
// time.
CSkillSearch& Engine(int scale = 1) {
    static CSkillSearch engine(nullptr, nullptr);
    static int loaded = 0;
    if (scale == 0 && loaded != 0) {
        return engine;
    }
    scale = scale == 0 ? 1 : scale;
    if (loaded != scale) {
        const std::string folder = scale == 1
                                       ? std::string(KESTROVA_SOURCE_DIR "/data/")
                                       : KESTROVA_BENCH_DATA "/x" + std::to_string(scale) + "/";
        if (!engine.database.LoadTablesFrom(folder, 0)) {
            std::fprintf(stderr, "cannot read the tables in %s\n", folder.c_str());
            std::exit(1);
        }
        loaded = scale;
    }
    return engine;
}

int SkillRow(const char* utf8) {
    const std::string name = platform::Utf8ToSjis(utf8);
    const std::vector<CSkillData*>& skills = Engine(0).database.Skills();
    for (std::size_t row = 0; row < skills.size(); ++row) {
        if (name == skills[row]->skillName) {
            return static_cast<int>(row);
        }
    }
    std::fprintf(stderr, "no skill %s in the bundled tables\n", utf8);
    std::exit(1);
}

CSearchCondition Condition(std::int64_t skills, bool minDefense, bool fast, std::int64_t weapon,
                           bool exact = false) {
    CSearchCondition condition;
    condition.exactFitting = exact ? 1 : 0;
    condition.skillCount = static_cast<int>(skills);
    for (int k = 0; k < condition.skillCount; ++k) {
        condition.skillRows[k] = SkillRow(kSkillNames[k]);
    }
    condition.minDefense = minDefense ? kMinDefense : 0;
    condition.fastSearch = fast ? 1 : 0;
    condition.weaponSlots = static_cast<int>(weapon);
    condition.fixed.weaponSlots = condition.weaponSlots;
    return condition;
}

struct Prepared {
    SkillTable table;
    CandidateList candidates[kSlotCount];
    GroupList groups[kSlotCount];

    explicit Prepared(const CSearchCondition& condition) {
        BuildSkillTable(condition, Engine().database, table);
        BuildCandidates(condition, Engine().database, table, candidates);
        GroupCandidates(candidates, table, groups);
    }

    double PieceCombos() const {
        double product = 1;
        for (const CandidateList& list : candidates) {
            product *= static_cast<double>(list.size());
        }
        return product;
    }
};

// Phase 1 once more, outside the timing, to count the evaluations the search makes.
std::uint64_t CountEvaluations(const CSearchCondition& condition, const Prepared& prepared) {
    SearchProgress progress;
    SearchOutcome outcome;
    DecorationFitter fitter(prepared.table, condition);
    SearchHits hits;
    GroupEnumeration(progress, outcome, condition, prepared.groups, fitter, hits).Run();
    return fitter.Evaluations();
}

// The same evaluation on piece combinations in enumeration order, without groups or skips.
std::uint64_t RunBaseline(const CSearchCondition& condition, const Prepared& prepared,
                          DecorationFitter& fitter) {
    const CandidateList* lists = prepared.candidates;
    FitRequest request;
    request.weaponSlots = condition.weaponSlots;
    DecoBlock block;
    std::uint64_t done = 0;
    std::uint64_t hits = 0;
    for (const CEquipData* head : lists[kHead]) {
        for (const CEquipData* body : lists[kBody]) {
            for (const CEquipData* arm : lists[kArm]) {
                for (const CEquipData* waist : lists[kWaist]) {
                    for (const CEquipData* leg : lists[kLeg]) {
                        const CEquipData* pieces[kSlotCount] = {head, body, arm, waist, leg};
                        int defense = 0;
                        for (int slot = 0; slot < kSlotCount; ++slot) {
                            request.keys[slot] = pieces[slot]->groupKey;
                            defense += pieces[slot]->EffectiveDefense();
                        }
                        if (defense >= condition.minDefense &&
                            fitter.FitDecorations(request, block)) {
                            ++hits;
                        }
                        if (++done == kBaselineCombos) {
                            return hits;
                        }
                    }
                }
            }
        }
    }
    return hits;
}

void BM_Search(benchmark::State& state) {
    CSkillSearch& engine = Engine();
    const CSearchCondition condition =
        Condition(state.range(0), state.range(1) != 0, state.range(2) != 0, state.range(3),
                  state.range(4) != 0);
    for (auto _ : state) {
        engine.Search(condition);
    }
    const Prepared prepared(condition);
    using benchmark::Counter;
    state.counters["group_combos/s"] =
        Counter(static_cast<double>(engine.visited), Counter::kIsIterationInvariantRate);
    state.counters["evaluations/s"] =
        Counter(static_cast<double>(CountEvaluations(condition, prepared)),
                Counter::kIsIterationInvariantRate);
    state.counters["group_combos"] = static_cast<double>(engine.totalCombos);
    state.counters["sets"] = static_cast<double>(engine.results.size());
}
BENCHMARK(BM_Search)
    ->ArgNames({"skills", "min_def", "fast", "weapon", "exact"})
    ->ArgsProduct({{1, 3, 5}, {0, 1}, {0, 1}, {0, 3}, {0}})
    ->ArgsProduct({{5}, {0, 1}, {0, 1}, {0, 3}, {1}})
    ->Unit(benchmark::kMillisecond);

// The 5-skill search on tables 1, 2, 4 and 8 times the bundled size, in both modes, with limits
// high enough that every search walks to the end: `limit` says whether one was reached all the
// same, so that a faster figure is never less work. `pruned` counts the group combinations of
// `walked` that the bounds ruled out without judging them.
void RunScaling(benchmark::State& state, int minDefense) {
    CSkillSearch& engine = Engine(static_cast<int>(state.range(0)));
    CSearchCondition condition = Condition(5, false, false, 0, state.range(1) != 0);
    condition.minDefense = minDefense;
    condition.maxDisplay = 10000000;
    condition.maxCalc = 10000000;
    for (auto _ : state) {
        engine.Search(condition);
    }
    state.counters["group_combos"] = static_cast<double>(engine.totalCombos);
    state.counters["walked"] = static_cast<double>(engine.visited);
    state.counters["pruned"] = static_cast<double>(engine.pruned);
    state.counters["hits"] = static_cast<double>(engine.hitCount);
    state.counters["sets"] = static_cast<double>(engine.results.size());
    state.counters["limit"] = engine.stopReason == SearchStop::kCompleted ? 0 : 1;
}

// At this minimum defence the complete fitting lists none at 1x and hundreds of thousands of sets
// at 8x, so its time follows its answer.
constexpr int kScalingMinDefense = 380;
// At this one both fittings list at most a few sets at every scale, so the time shows what the
// size of the tables alone costs.
constexpr int kFewSetsMinDefense = 420;

void BM_Scaling(benchmark::State& state) {
    RunScaling(state, kScalingMinDefense);
}
BENCHMARK(BM_Scaling)
    ->ArgNames({"scale", "exact"})
    ->ArgsProduct({{1, 2, 4, 8}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_ScalingFewSets(benchmark::State& state) {
    RunScaling(state, kFewSetsMinDefense);
}
BENCHMARK(BM_ScalingFewSets)
    ->ArgNames({"scale", "exact"})
    ->ArgsProduct({{1, 2, 4, 8}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// A 3-skill search with a minimum defence on tables 8 times the bundled size, in both modes, at
// the default calculation limit and a display limit of 100000. At 420 one hit of the rule-based
// search expands into more sets too weak to list than the calculation limit, which stops it; the
// complete fitting never builds them and walks on to the display limit. `stop` is 0 for a complete
// walk, 2 for the display limit and 3 for the calculation limit.
void BM_MinDefenseAt8x(benchmark::State& state) {
    CSkillSearch& engine = Engine(8);
    CSearchCondition condition = Condition(3, false, false, 0, state.range(1) != 0);
    condition.minDefense = static_cast<int>(state.range(0));
    condition.maxDisplay = 100000;
    for (auto _ : state) {
        engine.Search(condition);
    }
    state.counters["sets"] = static_cast<double>(engine.results.size());
    state.counters["hits"] = static_cast<double>(engine.hitCount);
    state.counters["stop"] = static_cast<double>(engine.stopReason);
}
BENCHMARK(BM_MinDefenseAt8x)
    ->ArgNames({"min_def", "exact"})
    ->ArgsProduct({{420, 435}, {0, 1}})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

// The ranked complete search against the rule-based one in the order found, on the same
// 5-skill search and in one run, so that the load of the machine weighs on both alike. `key` is
// 1 defence, 2 free slots, 3 fire resistance; `ratio` is the ranked search's CPU time over the
// rule-based one's.
double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Mean CPU milliseconds of two searches run one after the other in each iteration, so that the
// load of the machine weighs on both alike; `firstCut` says the first one stopped early.
struct SearchesInTurn {
    double firstMs = 0;
    double secondMs = 0;
    bool firstCut = false;
};

SearchesInTurn TimeInTurn(benchmark::State& state, CSkillSearch& engine,
                          const CSearchCondition& first, const CSearchCondition& second) {
    SearchesInTurn times;
    for (auto _ : state) {
        const double start = CpuSeconds();
        engine.Search(first);
        times.firstCut = engine.stopReason != SearchStop::kCompleted;
        const double middle = CpuSeconds();
        engine.Search(second);
        times.firstMs += (middle - start) * 1000;
        times.secondMs += (CpuSeconds() - middle) * 1000;
    }
    const double runs = static_cast<double>(state.iterations());
    times.firstMs /= runs;
    times.secondMs /= runs;
    return times;
}

void BM_RankedVsRules(benchmark::State& state) {
    CSkillSearch& engine = Engine();
    const CSearchCondition rules =
        Condition(5, state.range(0) != 0, state.range(1) != 0, state.range(2));
    CSearchCondition ranked =
        Condition(5, state.range(0) != 0, state.range(1) != 0, state.range(2), true);
    ranked.rankKey = static_cast<RankKey>(state.range(3));
    const SearchesInTurn times = TimeInTurn(state, engine, rules, ranked);
    state.counters["rules_ms"] = times.firstMs;
    state.counters["ranked_ms"] = times.secondMs;
    state.counters["ratio"] = times.secondMs / times.firstMs;
    state.counters["sets"] = static_cast<double>(engine.results.size());
    state.counters["hits"] = static_cast<double>(engine.hitCount);
    state.counters["limit"] = engine.stopReason == SearchStop::kCompleted ? 0 : 1;
}
BENCHMARK(BM_RankedVsRules)
    ->ArgNames({"min_def", "fast", "weapon", "key"})
    ->ArgsProduct({{0, 1}, {0, 1}, {0, 3}, {1, 2, 3}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// The complete search with 6 or 8 skills against the same search with the first five, in one
// run, ranked by defence (`key` 1) or in the order found (`key` 0), weapon slots 3; `ratio` is
// the larger search's CPU time over the 5-skill one's. `five_limit` 1 says the 5-skill search in
// the order found stopped at the display limit, so it measures less than a whole walk.
void BM_ManySkills(benchmark::State& state) {
    CSkillSearch& engine = Engine();
    CSearchCondition five = Condition(5, false, false, 3, true);
    CSearchCondition many = Condition(state.range(0), false, false, 3, true);
    five.rankKey = many.rankKey = static_cast<RankKey>(state.range(1));
    const SearchesInTurn times = TimeInTurn(state, engine, five, many);
    state.counters["five_ms"] = times.firstMs;
    state.counters["many_ms"] = times.secondMs;
    state.counters["ratio"] = times.secondMs / times.firstMs;
    state.counters["sets"] = static_cast<double>(engine.results.size());
    state.counters["limit"] = engine.stopReason == SearchStop::kCompleted ? 0 : 1;
    state.counters["five_limit"] = times.firstCut ? 1 : 0;
}
BENCHMARK(BM_ManySkills)
    ->ArgNames({"skills", "key"})
    ->ArgsProduct({{6, 8}, {0, 1}})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// The ranked complete search with 3 skills, top 10000 by `key` (as above).
void BM_Ranked3(benchmark::State& state) {
    CSkillSearch& engine = Engine();
    CSearchCondition condition = Condition(3, false, false, state.range(0), true);
    condition.rankKey = static_cast<RankKey>(state.range(1));
    for (auto _ : state) {
        engine.Search(condition);
    }
    state.counters["sets"] = static_cast<double>(engine.results.size());
    state.counters["hits"] = static_cast<double>(engine.hitCount);
    state.counters["limit"] = engine.stopReason == SearchStop::kCompleted ? 0 : 1;
}
BENCHMARK(BM_Ranked3)
    ->ArgNames({"weapon", "key"})
    ->ArgsProduct({{0, 3}, {1, 2, 3}})
    ->Unit(benchmark::kMillisecond);

// Every set of the 5-skill search with a three-slot weapon listed by kestrova-cli as JSON to
// /dev/null, against the same complete search in this process, which only finds and holds the
// sets. Both in CPU time: the program's as a child of this one, tables and all. A process of its
// own starts cold, its sets' memory unfaulted, where this one's has been used before: the
// program's listing is also set against the search as the program itself timed it. `key` 0
// lists in the order found; 2 and 3 rank all the sets by free slots or fire resistance.
constexpr const char* kBestNames[] = {"none", "defense", "slots", "fire"};

double ChildCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Without where its output goes.
std::string ListingCommand(int key) {
    std::string command = KESTROVA_CLI " search --weapon-slots 3 --max-display 1000000 --json";
    // The five skills of the search it is timed against.
    for (int k = 0; k < 5; ++k) {
        command += std::string(" --skill '") + kSkillNames[k] + "'";
    }
    return command + " --best " + kBestNames[key];
}

// The search's own milliseconds as the program reports them at the head of its document, from
// a run of `command` read through a pipe; the rest of the document is read and dropped. -1 when
// the program fails or reports none.
long long ReportedSearchMs(const std::string& command) {
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return -1;
    }
    constexpr std::size_t kChunk = std::size_t{1} << 16;
    std::string head(kChunk, '\0');
    head.resize(std::fread(head.data(), 1, head.size(), pipe));
    std::string rest(kChunk, '\0');
    while (std::fread(rest.data(), 1, rest.size(), pipe) == rest.size()) {
    }
    const bool succeeded = pclose(pipe) == 0;
    const std::string field = "\"elapsedMs\":";
    const std::size_t at = head.find(field);
    if (!succeeded || at == std::string::npos) {
        return -1;
    }
    return std::strtoll(head.c_str() + at + field.size(), nullptr, 10);
}

void BM_ListAllSets(benchmark::State& state) {
    CSkillSearch& engine = Engine();
    const int key = static_cast<int>(state.range(0));
    CSearchCondition condition = Condition(5, false, false, 3, true);
    condition.rankKey = static_cast<RankKey>(key);
    condition.maxDisplay = 1000000;
    const std::string command = ListingCommand(key);
    const std::string timedCommand = command + " >/dev/null";
    double searchSeconds = 0;
    double listSeconds = 0;
    double programSearchSeconds = 0;
    for (auto _ : state) {
        const double start = CpuSeconds();
        engine.Search(condition);
        searchSeconds += CpuSeconds() - start;
        const double childStart = ChildCpuSeconds();
        if (std::system(timedCommand.c_str()) != 0) {
            state.SkipWithError("kestrova-cli failed");
            return;
        }
        listSeconds += ChildCpuSeconds() - childStart;
        // A run of its own, outside the benchmark's time: a pipe would slow the timed run's
        // writing down.
        state.PauseTiming();
        const long long reportedMs = ReportedSearchMs(command);
        state.ResumeTiming();
        if (reportedMs < 0) {
            state.SkipWithError("kestrova-cli reported no elapsedMs");
            return;
        }
        programSearchSeconds += static_cast<double>(reportedMs) / 1000;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["search_s"] = searchSeconds / runs;
    state.counters["list_s"] = listSeconds / runs;
    state.counters["ratio"] = listSeconds / searchSeconds;
    state.counters["program_search_s"] = programSearchSeconds / runs;
    state.counters["program_ratio"] = listSeconds / programSearchSeconds;
    state.counters["sets"] = static_cast<double>(engine.results.size());
    state.counters["limit"] = engine.stopReason == SearchStop::kCompleted ? 0 : 1;
}
BENCHMARK(BM_ListAllSets)
    ->ArgNames({"key"})
    ->Arg(0)
    ->Arg(2)
    ->Arg(3)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_PieceBaseline(benchmark::State& state) {
    const CSearchCondition condition = Condition(5, false, false, 0);
    const Prepared prepared(condition);
    DecorationFitter fitter(prepared.table, condition);
    for (auto _ : state) {
        benchmark::DoNotOptimize(RunBaseline(condition, prepared, fitter));
    }
    state.counters["piece_combos/s"] = benchmark::Counter(
        static_cast<double>(kBaselineCombos), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_PieceBaseline)->Unit(benchmark::kMillisecond);

// Piece combinations per second of the 5-skill search, fast search off, against the baseline.
void BM_GroupingGain(benchmark::State& state) {
    using Clock = std::chrono::steady_clock;
    const CSearchCondition condition = Condition(5, false, false, 0);
    const Prepared prepared(condition);
    DecorationFitter fitter(prepared.table, condition);
    CSkillSearch& engine = Engine();
    double searchSeconds = 0;
    double baselineSeconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        engine.Search(condition);
        const auto middle = Clock::now();
        benchmark::DoNotOptimize(RunBaseline(condition, prepared, fitter));
        const auto end = Clock::now();
        searchSeconds += std::chrono::duration<double>(middle - start).count();
        baselineSeconds += std::chrono::duration<double>(end - middle).count();
    }
    const double runs = static_cast<double>(state.iterations());
    const double searchRate = prepared.PieceCombos() * runs / searchSeconds;
    const double baselineRate = static_cast<double>(kBaselineCombos) * runs / baselineSeconds;
    state.counters["search_piece_combos/s"] = searchRate;
    state.counters["baseline_piece_combos/s"] = baselineRate;
    state.counters["ratio"] = searchRate / baselineRate;
}
BENCHMARK(BM_GroupingGain)->Unit(benchmark::kMillisecond)->Iterations(3);

// The additional-skill search with the first 3 or 5 skills, weapon 1, on two threads.
void BM_ExtraSkills(benchmark::State& state) {
    CSkillSearch& engine = Engine();
    const CSearchCondition condition = Condition(state.range(0), false, false, 1);
    std::size_t found = 0;
    for (auto _ : state) {
        bool aborted = false;
        SearchProgress progress;
        found = FindAddableSkills(engine.database, condition, 2, progress, aborted).size();
    }
    state.counters["levels"] = static_cast<double>(found);
}
BENCHMARK(BM_ExtraSkills)
    ->ArgNames({"skills"})
    ->Arg(3)
    ->Arg(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// What the first set of the 3-skill search (weapon 3) can still take.
void BM_SetExtras(benchmark::State& state) {
    CSkillSearch& engine = Engine();
    const CSearchCondition condition = Condition(3, false, false, 3, true);
    engine.Search(condition);
    const CEquipSet set = *engine.results.front();
    std::size_t found = 0;
    for (auto _ : state) {
        found = AddableSkillsOfSet(engine.database, condition, set).size();
    }
    state.counters["levels"] = static_cast<double>(found);
}
BENCHMARK(BM_SetExtras)->Unit(benchmark::kMillisecond);

// From the abort flag being set to the additional-skill search returning, 50 ms into a run.
class AbortAfter final : public SearchHost {
public:
    explicit AbortAfter(SearchProgress& progress) : progress_(progress) {}
    void Post(unsigned, std::uint64_t, std::uint64_t) override {}
    void PumpMessages() override {
        if (std::chrono::steady_clock::now() - start_ > std::chrono::milliseconds(50) &&
            progress_.abortRequested == 0) {
            progress_.abortRequested = 1;
            abortedAt_ = std::chrono::steady_clock::now();
        }
    }
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::chrono::steady_clock::time_point abortedAt_;

private:
    SearchProgress& progress_;
};

void BM_ExtraSkillsAbort(benchmark::State& state) {
    CSkillSearch& engine = Engine();
    const CSearchCondition condition = Condition(5, false, false, 3);
    double seconds = 0;
    for (auto _ : state) {
        SearchProgress progress;
        AbortAfter host(progress);
        progress.owner = &host;
        bool aborted = false;
        FindAddableSkills(engine.database, condition, 2, progress, aborted);
        const auto end = std::chrono::steady_clock::now();
        if (aborted) {
            seconds =
                std::max(seconds, std::chrono::duration<double>(end - host.abortedAt_).count());
        }
    }
    state.counters["abort_answered_ms"] = seconds * 1000;
}
BENCHMARK(BM_ExtraSkillsAbort)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
