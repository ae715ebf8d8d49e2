// .eql result files. A file refused before its header is read leaves the earlier results; one
// refused later leaves none; an accepted one holds only complete sets of real records and saves
// back to the same bytes it is read from.

#include <cstring>
#include <memory>
#include <string>

#include "engine/search/skill_search.h"
#include "fuzz_support.h"

namespace {

// The engine owns its tables, so one engine is kept for the whole run.
CSkillSearch* g_search = nullptr;

void PutEarlierResult() {
    g_search->results.clear();
    auto set = std::make_unique<CEquipSet>();
    for (int slot = 0; slot < kSlotCount; ++slot) {
        set->pieces[slot] = g_search->database.Armor(slot).front();
    }
    g_search->results.push_back(std::move(set));
}

// Past a good magic and version the earlier results are gone, whatever follows.
bool PassesHeaderTests(const std::uint8_t* data, std::size_t size) {
    static const std::uint8_t kHeader[] = {0x22, 0x02, 0, 0, 1, 0, 0, 0};
    return size >= sizeof kHeader && std::memcmp(data, kHeader, sizeof kHeader) == 0;
}

void CheckSets(int weaponSlots) {
    for (const auto& set : g_search->results) {
        for (int slot = 0; slot < kSlotCount; ++slot) {
            fuzz::Check(set->pieces[slot] != nullptr && set->pieces[slot]->kind == slot,
                        "a loaded result lacks a piece");
        }
        fuzz::Check(weaponSlots != 0 || set->decos[kWeaponPosition][0] == nullptr,
                    "weapon decorations without weapon slots");
    }
}

void CheckRoundTrip(int job, int sex, int weaponSlots) {
    const std::string first = fuzz::ScratchFolder() + "first.eql";
    const std::string second = fuzz::ScratchFolder() + "second.eql";
    fuzz::Check(g_search->SaveResults(first, job, sex, weaponSlots) == 1, "result save failed");
    int job2 = 0;
    int sex2 = 0;
    int weaponSlots2 = 0;
    fuzz::Check(g_search->LoadResults(first, job2, sex2, weaponSlots2) == 1,
                "a saved result file was refused");
    fuzz::Check(job2 == job && sex2 == sex && weaponSlots2 == weaponSlots,
                "result header does not read back as saved");
    fuzz::Check(g_search->SaveResults(second, job, sex, weaponSlots) == 1, "result save failed");
    fuzz::Check(fuzz::ReadFile(first) == fuzz::ReadFile(second),
                "result file does not read back as saved");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static fuzz::NullSink sink;
    static CSkillSearch search(nullptr, &sink);
    fuzz::LoadBundledTables(search.database);
    g_search = &search;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::ScratchFolder() + "input.eql";
    fuzz::WriteFile(path, data, size);
    PutEarlierResult();
    int job = -7;
    int sex = -7;
    int weaponSlots = -7;
    if (g_search->LoadResults(path, job, sex, weaponSlots) != 1) {
        fuzz::Check(job == -7 && sex == -7 && weaponSlots == -7,
                    "a refused result file set the condition");
        const std::size_t expected = PassesHeaderTests(data, size) ? 0 : 1;
        fuzz::Check(g_search->results.size() == expected,
                    "a refused result file left the wrong results behind");
        return 0;
    }
    fuzz::Check((job == 1 || job == 2) && (sex == 1 || sex == 2) && weaponSlots >= 0 &&
                    weaponSlots <= 3,
                "result header out of range");
    CheckSets(weaponSlots);
    if (!g_search->results.empty()) {
        CheckRoundTrip(job, sex, weaponSlots);
    }
    g_search->results.clear();
    return 0;
}
