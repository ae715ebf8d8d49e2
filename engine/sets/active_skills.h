#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/sets/first_use_numbers.h"
#include "engine/tables/records.h"

class CEquipDatabase;
struct CEquipSet;
struct CSkillData;

// The activated skill-table rows of a set, in the order of its skill summary (by total, highest
// first, then by skill system), found without building the summary's rows. Listing many sets
// spends most of its time on their skills, and the sets of one hit share their decorations: the
// points of each piece and of each decoration arrangement are summed once, and a set adds up a
// handful of those sums.
class ActiveSkillFinder {
public:
    // What the finder numbered in a set, 0, 1, ... in order of first use: its decoration
    // arrangement and each of its pieces (where it has one). A caller may key on them what it
    // derives from the decorations or a piece.
    struct SetNumbers {
        std::size_t arrangement = 0;
        std::size_t pieces[kSlotCount] = {};
    };

    explicit ActiveSkillFinder(const CEquipDatabase& database);

    // Replaces `rows` with the set's activated rows; the numbers are valid until the next call.
    const SetNumbers& Find(const CEquipSet& set, std::vector<int>& rows);

private:
    using Arrangement = std::array<const CDecoData*, kPositionCount * 3>;
    struct Points {
        int id;
        int points;
    };
    // A run of entries of pool_.
    struct Run {
        std::uint32_t begin = 0;
        std::uint32_t end = 0;
    };
    // What an arrangement's decorations give at each position, at all of them together, and at
    // the body once more for a doubling piece.
    struct DecorationPoints {
        Run positions[kPositionCount];
        Run everywhere;
        Run bodyAgain;
    };
    struct Active {
        int id;
        int points;
        int row;
    };
    // The activated row of a system for each total from `lowest` to `highest`: beyond them the
    // same levels are reached, so a total is clamped into the range. A system whose thresholds
    // lie too far apart for a table has none and walks its levels.
    struct Activation {
        int lowest = 0;
        int highest = 0;
        std::uint32_t offset = 0;
        bool tabled = false;
    };

    std::size_t ArrangementOf(const CEquipSet& set);
    DecorationPoints SumArrangement(const CEquipSet& set);
    std::size_t PieceOf(const CEquipData* piece);
    void NumberPieces(const CEquipSet& set);
    template <class Record> void SumRecord(const Record& record);
    Run EndSum();
    void Add(Run run, int times = 1);
    void AddPoints(int id, int points) {
        const Points entry{id, points};
        AddEntries(&entry, 1, 1);
    }
    void AddEntries(const Points* entries, std::size_t count, int times);
    void ClearTotals();
    int ActivatedByLevels(int id, int total) const;
    void TabulateActivation(int id);
    void CollectActive(std::vector<int>& rows);

    const std::vector<CSkillData*>& skills_;
    const int systemCount_;
    std::vector<std::vector<int>> levels_; // the skill rows of each system, in table order
    std::vector<Activation> activations_;
    std::vector<int> activationTable_;
    std::vector<Points> pool_;
    FirstUseNumbers<Arrangement, AddressRunHash> arrangements_;
    std::vector<DecorationPoints> arrangementPoints_;
    Arrangement lastArrangement_ = {};
    std::size_t lastArrangementNumber_ = SIZE_MAX;
    FirstUseNumbers<const CEquipData*, AddressHash> pieces_;
    std::vector<Run> piecePoints_;
    // Sets listed one after the other mostly differ in a piece or two.
    const CEquipData* lastPieces_[kSlotCount] = {};
    // The totals being summed, zero for every system not touched; points that add up to nothing
    // still touch a system, as they give it a row in the summary.
    std::vector<int> totals_;
    std::vector<std::uint8_t> isTouched_;
    std::vector<int> touched_;
    std::size_t touchedCount_ = 0;
    std::vector<Active> active_;
    SetNumbers numbers_;
};
