// Heap memory a search takes per listed set: every allocation of the process is counted as the
// allocator charges it (usable size plus its header), so the figures are what the sets, the hits
// and the result list really cost. Run from the build folder: bin/kestrova_memory_bench.

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>
#include <new>
#include <string>

#include <benchmark/benchmark.h>

#include "engine/search/skill_search.h"
#include "engine/tables/skill_systems.h"
#include "platform/sjis.h"

namespace {

std::atomic<std::size_t> g_live{0};
std::atomic<std::size_t> g_peak{0};

std::size_t Charged(void* block) {
    return malloc_usable_size(block) + sizeof(std::size_t);
}

constexpr std::uint32_t kSets = 1000000;

CSearchCondition ManySets(int skillCount) {
    CSearchCondition condition;
    condition.skillCount = skillCount;
    for (int k = 0; k < skillCount; ++k) {
        condition.skillRows[k] = k;
    }
    condition.maxDisplay = kSets;
    return condition;
}

// The bundled tables with one skill and a three-slot weapon: some hundred hits, each standing
// for thousands of sets.
void LoadBundled(CSkillSearch& engine, CSearchCondition& condition) {
    if (!engine.database.LoadTablesFrom(KESTROVA_SOURCE_DIR "/data/", 0)) {
        std::fprintf(stderr, "cannot read the bundled tables\n");
        std::exit(1);
    }
    const std::string name = platform::Utf8ToSjis("攻撃力UP【小】");
    const auto& skills = engine.database.Skills();
    int row = 0;
    while (name != skills[row]->skillName) {
        ++row;
    }
    condition = ManySets(1);
    condition.skillRows[0] = row;
    condition.weaponSlots = 3;
    condition.fixed.weaponSlots = 3;
}

// Tables where no two pieces of a slot are alike, so that every hit is a single set.
void BuildOneSetPerHit(CSkillSearch& engine, CSearchCondition& condition) {
    engine.database.Clear();
    const int systems[2] = {engine.database.AddSkillSystem("bench a"),
                            engine.database.AddSkillSystem("bench b")};
    for (const int system : systems) {
        CSkillData skill;
        skill.systemId = system;
        skill.threshold = 1;
        engine.database.AddSkill(skill);
    }
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (int i = 0; i < 40; ++i) {
            CEquipData piece;
            piece.kind = slot;
            piece.defenseAfter = 1;
            piece.skillId[0] = systems[0];
            piece.skillPoints[0] = 1 + i % 15;
            piece.skillId[1] = systems[1];
            piece.skillPoints[1] = 1 + i / 15;
            engine.database.AddArmor(slot, piece);
        }
    }
    condition = ManySets(2);
}

void MeasureSearch(benchmark::State& state, void (*prepare)(CSkillSearch&, CSearchCondition&)) {
    CSkillSearch engine(nullptr, nullptr);
    CSearchCondition condition;
    prepare(engine, condition);
    double retained = 0;
    double peak = 0;
    for (auto _ : state) {
        engine.results.clear();
        const std::size_t before = g_live.load();
        g_peak = before;
        engine.Search(condition);
        const double sets = static_cast<double>(engine.results.size());
        retained = static_cast<double>(g_live.load() - before) / sets;
        peak = static_cast<double>(g_peak.load() - before) / sets;
    }
    state.counters["sets"] = static_cast<double>(engine.results.size());
    state.counters["hits"] = static_cast<double>(engine.hitCount);
    state.counters["retained_bytes/set"] = retained;
    state.counters["peak_bytes/set"] = peak;
}

void BM_MemoryPerSet_Bundled(benchmark::State& state) {
    MeasureSearch(state, LoadBundled);
}
BENCHMARK(BM_MemoryPerSet_Bundled)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_MemoryPerSet_OneSetPerHit(benchmark::State& state) {
    MeasureSearch(state, BuildOneSetPerHit);
}
BENCHMARK(BM_MemoryPerSet_OneSetPerHit)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

void* operator new(std::size_t size) {
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) {
        throw std::bad_alloc();
    }
    const std::size_t live = g_live += Charged(block);
    std::size_t peak = g_peak.load();
    while (live > peak && !g_peak.compare_exchange_weak(peak, live)) {
    }
    return block;
}

void operator delete(void* block) noexcept {
    if (block != nullptr) {
        g_live -= Charged(block);
        std::free(block);
    }
}

void operator delete(void* block, std::size_t) noexcept {
    operator delete(block);
}

BENCHMARK_MAIN();
