#include "engine/sets/active_skills.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "engine/sets/equip_set.h"
#include "engine/sets/skill_summary.h"
#include "engine/tables/equip_database.h"

namespace {

// A record may name a system twice; like the summary, only the first entry counts.
bool NamedBefore(const std::int32_t* ids, int entry) {
    return std::find(ids, ids + entry, ids[entry]) != ids + entry;
}

// Wider ranges of thresholds than this walk their levels for each total.
constexpr long long kMostTabledTotals = 1024;

} // namespace

ActiveSkillFinder::ActiveSkillFinder(const CEquipDatabase& database)
    : skills_(database.Skills()), systemCount_(database.SkillSystems().Count()),
      levels_(static_cast<std::size_t>(std::max(systemCount_, 0))), activations_(levels_.size()),
      totals_(levels_.size()), isTouched_(levels_.size()), touched_(levels_.size() + 1),
      active_(levels_.size() + 1) {
    for (std::size_t row = 0; row < skills_.size(); ++row) {
        const int id = skills_[row]->systemId;
        if (id >= 0 && id < systemCount_) {
            levels_[static_cast<std::size_t>(id)].push_back(static_cast<int>(row));
        }
    }
    for (int id = 0; id < systemCount_; ++id) {
        TabulateActivation(id);
    }
}

// A positive threshold is reached by every total from it up, a minus one (or 0) by every total
// from it down: past the highest positive threshold and below the lowest of the others, what is
// reached stays the same.
void ActiveSkillFinder::TabulateActivation(int id) {
    long long lowest = 0;
    long long highest = 1;
    for (const int row : levels_[static_cast<std::size_t>(id)]) {
        const int threshold = skills_[static_cast<std::size_t>(row)]->threshold;
        lowest = std::min<long long>(lowest, threshold);
        highest = std::max<long long>(highest, threshold);
    }
    if (highest - lowest >= kMostTabledTotals) {
        return;
    }
    Activation& activation = activations_[static_cast<std::size_t>(id)];
    activation = {static_cast<int>(lowest), static_cast<int>(highest),
                  static_cast<std::uint32_t>(activationTable_.size()), true};
    for (long long total = lowest; total <= highest; ++total) {
        activationTable_.push_back(ActivatedByLevels(id, static_cast<int>(total)));
    }
}

void ActiveSkillFinder::ClearTotals() {
    int* totals = totals_.data();
    std::uint8_t* isTouched = isTouched_.data();
    const int* touched = touched_.data();
    for (std::size_t i = 0; i < touchedCount_; ++i) {
        const auto index = static_cast<std::size_t>(touched[i]);
        totals[index] = 0;
        isTouched[index] = 0;
    }
    touchedCount_ = 0;
}

// Without branches, and through local pointers: the byte-sized marks may alias any member, so
// the compiler would load every member again after each store.
void ActiveSkillFinder::AddEntries(const Points* entries, std::size_t count, int times) {
    int* totals = totals_.data();
    std::uint8_t* isTouched = isTouched_.data();
    int* touched = touched_.data();
    std::size_t touchedCount = touchedCount_;
    for (std::size_t i = 0; i < count; ++i) {
        const auto index = static_cast<std::size_t>(entries[i].id);
        touched[touchedCount] = entries[i].id;
        touchedCount += isTouched[index] ^ 1u;
        isTouched[index] = 1;
        totals[index] += entries[i].points * times;
    }
    touchedCount_ = touchedCount;
}

void ActiveSkillFinder::Add(Run run, int times) {
    AddEntries(pool_.data() + run.begin, run.end - run.begin, times);
}

template <class Record> void ActiveSkillFinder::SumRecord(const Record& record) {
    const int entries = static_cast<int>(std::size(record.skillId));
    for (int entry = 0; entry < entries; ++entry) {
        const int id = record.skillId[entry];
        const int points = record.skillPoints[entry];
        if (!NamedBefore(record.skillId, entry) && points != 0 && id >= 0 && id < systemCount_) {
            AddPoints(id, points);
        }
    }
}

// Appends the totals summed so far to the pool, and clears them.
ActiveSkillFinder::Run ActiveSkillFinder::EndSum() {
    const auto begin = static_cast<std::uint32_t>(pool_.size());
    for (std::size_t i = 0; i < touchedCount_; ++i) {
        pool_.push_back({touched_[i], totals_[static_cast<std::size_t>(touched_[i])]});
    }
    ClearTotals();
    return {begin, static_cast<std::uint32_t>(pool_.size())};
}

std::size_t ActiveSkillFinder::PieceOf(const CEquipData* piece) {
    bool isNew = false;
    const std::size_t number = pieces_.NumberOf(piece, isNew);
    if (isNew) {
        SumRecord(*piece);
        piecePoints_.push_back(EndSum());
    }
    return number;
}

// A position's decorations end at its first empty place; the body's, given again for a doubling
// piece, are every one it holds.
ActiveSkillFinder::DecorationPoints ActiveSkillFinder::SumArrangement(const CEquipSet& set) {
    DecorationPoints points;
    for (int position = 0; position < kPositionCount; ++position) {
        for (const CDecoData* deco : set.decos[position]) {
            if (deco == nullptr) {
                break;
            }
            SumRecord(*deco);
        }
        points.positions[position] = EndSum();
    }
    for (const Run& run : points.positions) {
        Add(run);
    }
    points.everywhere = EndSum();
    for (const CDecoData* deco : set.decos[kBody]) {
        if (deco != nullptr) {
            SumRecord(*deco);
        }
    }
    points.bodyAgain = EndSum();
    return points;
}

// The sets of one hit come one after the other and mostly share their decorations.
std::size_t ActiveSkillFinder::ArrangementOf(const CEquipSet& set) {
    if (lastArrangementNumber_ != SIZE_MAX &&
        std::memcmp(lastArrangement_.data(), &set.decos[0][0], sizeof lastArrangement_) == 0) {
        return lastArrangementNumber_;
    }
    std::copy_n(&set.decos[0][0], lastArrangement_.size(), lastArrangement_.begin());
    bool isNew = false;
    lastArrangementNumber_ = arrangements_.NumberOf(lastArrangement_, isNew);
    if (isNew) {
        arrangementPoints_.push_back(SumArrangement(set));
    }
    return lastArrangementNumber_;
}

// As ActivatedSkill finds it, over the system's own rows only.
int ActiveSkillFinder::ActivatedByLevels(int id, int total) const {
    int best = -1;
    for (const int row : levels_[static_cast<std::size_t>(id)]) {
        const CSkillData& skill = *skills_[static_cast<std::size_t>(row)];
        if (skill.IsReached(total) &&
            TakesPlaceOf(skill, best < 0 ? nullptr : skills_[static_cast<std::size_t>(best)])) {
            best = row;
        }
    }
    return best;
}

// The summary orders its active rows by total, then by system. Written over local pointers, as
// the loop runs for every system of every set listed.
void ActiveSkillFinder::CollectActive(std::vector<int>& rows) {
    const int* totals = totals_.data();
    const int* touched = touched_.data();
    const Activation* activations = activations_.data();
    const int* table = activationTable_.data();
    Active* active = active_.data();
    std::size_t activeCount = 0;
    for (std::size_t i = 0; i < touchedCount_; ++i) {
        const int id = touched[i];
        const int total = totals[id];
        const Activation& activation = activations[id];
        const int row = activation.tabled
                            ? table[activation.offset +
                                    static_cast<std::uint32_t>(
                                        std::clamp(total, activation.lowest, activation.highest) -
                                        activation.lowest)]
                            : ActivatedByLevels(id, total);
        active[activeCount] = {id, total, row};
        activeCount += row >= 0 ? 1 : 0;
    }
    ClearTotals();
    std::sort(active, active + activeCount, [](const Active& a, const Active& b) {
        return a.points != b.points ? a.points > b.points : a.id < b.id;
    });
    rows.resize(activeCount);
    for (std::size_t i = 0; i < activeCount; ++i) {
        rows[i] = active[i].row;
    }
}

void ActiveSkillFinder::NumberPieces(const CEquipSet& set) {
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const CEquipData* piece = set.pieces[slot];
        if (piece != lastPieces_[slot]) {
            numbers_.pieces[slot] = piece != nullptr ? PieceOf(piece) : 0;
            lastPieces_[slot] = piece;
        }
    }
}

// Counts what the summary counts: a piece's points, or the body's and its decorations' once more
// for a doubling piece; a position's decorations only under a piece, the weapon's always. Each
// sum is added once, as often as it counts.
const ActiveSkillFinder::SetNumbers& ActiveSkillFinder::Find(const CEquipSet& set,
                                                             std::vector<int>& rows) {
    numbers_.arrangement = ArrangementOf(set);
    NumberPieces(set);
    const DecorationPoints& decos = arrangementPoints_[numbers_.arrangement];
    bool allPieces = true;
    int doubling = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const CEquipData* piece = set.pieces[slot];
        allPieces = allPieces && piece != nullptr;
        if (piece == nullptr) {
            continue;
        }
        if (piece->bodyDoubling) {
            ++doubling;
        } else if (slot != kBody) {
            Add(piecePoints_[numbers_.pieces[slot]]);
        }
    }
    const CEquipData* body = set.pieces[kBody];
    if (body != nullptr) {
        Add(piecePoints_[numbers_.pieces[kBody]], (body->bodyDoubling ? 0 : 1) + doubling);
        if (doubling > 0) {
            Add(decos.bodyAgain, doubling);
        }
    }
    if (allPieces) {
        Add(decos.everywhere);
    } else {
        for (int position = 0; position < kPositionCount; ++position) {
            if (position == kWeaponPosition || set.pieces[position] != nullptr) {
                Add(decos.positions[position]);
            }
        }
    }
    CollectActive(rows);
    return numbers_;
}
