#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "engine/sets/first_use_numbers.h"
#include "engine/tables/records.h"

class CEquipDatabase;
struct CEquipSet;
struct CSkillData;

// The activated skill-table rows of a set, in the order of its skill summary (by total, highest
// first, then by skill system), found without building the summary's rows. Listing many sets
// spends most of its time on their skills, and the sets of one hit share their decorations: the
// points of each piece and of each decoration arrangement are summed once, and a set is a
// handful of those sums, its shares.
//
// Sets listed one after the other mostly differ in a piece or two, and nearly always have the
// same skills: the totals of the set before are kept, only the shares that differ are taken
// back and added, and only the systems they touch are looked at again.
class ActiveSkillFinder {
public:
    // What the finder numbered in a set, 0, 1, ... in order of first use: its decoration
    // arrangement, each of its pieces (where it has one) and its list of activated rows. A caller
    // may key on them what it derives from the decorations, a piece or the skills.
    // `changedPieces` tells the slots whose piece may differ from the set found before: those that
    // changed when Find numbered the set, every slot otherwise.
    struct SetNumbers {
        std::size_t arrangement = 0;
        std::size_t pieces[kSlotCount] = {};
        std::size_t skills = 0;
        unsigned changedPieces = (1u << kSlotCount) - 1;
    };

    explicit ActiveSkillFinder(const CEquipDatabase& database);

    // The numbers of the set; valid until the next call.
    const SetNumbers& Find(const CEquipSet& set);
    // The activated rows of the list numbered `skills`; valid until the next call of Find.
    std::span<const int> ActiveRows(std::size_t skills) const { return rowLists_.KeyOf(skills); }
    // A set's SetNumbers in a sixth of the room, each piece's number one more and 0 for none,
    // and the set's position in its list. Left uninitialised, as FindAll writes every field and
    // its buffers span megabytes.
    struct PackedNumbers {
        std::uint32_t arrangement;
        std::uint32_t skills;
        std::uint32_t position;
        std::uint16_t pieces[kSlotCount];

        // The number Find gives the piece of `slot`: 0 for none as for the first piece.
        std::size_t PieceNumber(int slot) const {
            return pieces[slot] != 0 ? pieces[slot] - 1u : 0;
        }
        SetNumbers Unpacked() const {
            SetNumbers numbers{arrangement, {}, skills};
            for (int slot = 0; slot < kSlotCount; ++slot) {
                numbers.pieces[slot] = PieceNumber(slot);
            }
            return numbers;
        }
    };
    // The numbers of each set of `sets`, as Find would give them set after set. A ranked list
    // scatters the sets of one decoration arrangement far apart, so that Find sums nearly every
    // one afresh; here they are found arrangement by arrangement, each taking its totals from the
    // set before, as in a list in the order found. None when the sets hold more pieces than the
    // records number: then each set is to be found as it is listed.
    std::vector<PackedNumbers> FindAll(const std::vector<std::unique_ptr<CEquipSet>>& sets);

private:
    using Arrangement = std::array<const CDecoData*, kPositionCount * 3>;
    // Every listed set looks its arrangement up: each place's address is turned by its own
    // amount, so that the places fold into one word with no multiply but the last.
    struct ArrangementHash {
        std::uint64_t operator()(const Arrangement& arrangement) const;
    };
    struct Points {
        int id;
        int points;
    };
    // Lists of activated rows, and sums as their systems and points in turn.
    struct IntsHash {
        std::uint64_t operator()(const std::vector<int>& ints) const;
    };
    // A run of entries of pool_.
    struct Run {
        std::uint32_t begin = 0;
        std::uint32_t end = 0;

        bool operator==(const Run&) const = default;
    };
    // What an arrangement's decorations give at each position, at all of them together, and at
    // the body once more for a doubling piece. Only a set that lacks a piece counts them by
    // position: those are summed when first asked for.
    struct DecorationPoints {
        Run positions[kPositionCount];
        Run everywhere;
        Run bodyAgain;
        bool positionsSummed = false;

        bool operator==(const DecorationPoints&) const = default;
    };
    // A sum counted `times` times in a set; none counts 0 times.
    struct Share {
        Run run;
        int times = 0;

        bool operator==(const Share&) const = default;
    };
    // Each piece's, the body's decorations once more, each position's decorations (all of them
    // at the first position when the set has every piece).
    static constexpr int kAgainShare = kSlotCount;
    static constexpr int kFirstPositionShare = kSlotCount + 1;
    using Shares = std::array<Share, kFirstPositionShare + kPositionCount>;
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

    // A tag and the number of the arrangement its sets carry.
    struct Tagged {
        std::uint32_t tag = 0;
        std::size_t number = 0;
    };
    static constexpr std::size_t kTaggedPlaces = 256;

    // The pieces of a set's slots, kSlotCount of them.
    using SlotPieces = const CEquipData* const*;

    // Which slots hold another piece than in the set before, and whether each of them swaps
    // alike.
    struct Changes {
        unsigned slots = 0;
        bool alike = true;
    };
    const SetNumbers& FindChanged(Changes changes, std::size_t arrangement);
    // Inline, as it runs for every set listed: a set tagged `tag` is told by it without reading
    // its decorations.
    std::size_t ArrangementOf(const CEquipSet& set, std::uint32_t tag) {
        Tagged& tagged = tagged_[tag % kTaggedPlaces];
        return tag != 0 && tagged.tag == tag ? tagged.number
                                             : ArrangementByDecorations(set, tagged);
    }
    std::size_t ArrangementByDecorations(const CEquipSet& set, Tagged& tagged);
    std::size_t NumberArrangement(const CEquipSet& set);
    DecorationPoints SumArrangement(const CEquipSet& set);
    void SumPosition(const CDecoData* const* decos);
    std::size_t PieceOf(const CEquipData* piece);
    Changes NumberPieces(SlotPieces pieces);
    Changes TakePacked(const PackedNumbers& packed);
    bool SameDecorationShares(SlotPieces pieces, std::size_t before);
    const DecorationPoints& PositionsOf(std::size_t arrangement);
    static bool SwapsAlike(const CEquipData* before, const CEquipData* piece);
    void SwapPieceShares(unsigned changed);
    template <class Record> void SumRecord(const Record& record);
    Run EndSum();
    void Add(Run run);
    void AddPoints(int id, int points);
    void ClearTotals();
    Shares SharesOf(SlotPieces pieces);
    void MoveTo(const Shares& shares);
    void ForgetTotals();
    void Count(Share share, int sign);
    bool ActiveRowsChanged();
    // Whether some set was found before, so that the totals and lists kept are its.
    bool AnyListed() const { return rowLists_.Count() > 0; }
    std::size_t NumberActiveRows();
    int ActivatedByLevels(int id, int total) const;
    // Inline, as it runs for every system a listed set's changes touch.
    int ActivatedRow(int id, int total) const {
        const Activation& activation = activations_[static_cast<std::size_t>(id)];
        if (!activation.tabled) {
            return ActivatedByLevels(id, total);
        }
        const int clamped = total < activation.lowest    ? activation.lowest
                            : total > activation.highest ? activation.highest
                                                         : total;
        return activationTable_[activation.offset +
                                static_cast<std::uint32_t>(clamped - activation.lowest)];
    }
    void TabulateActivation(int id);

    const std::vector<CSkillData*>& skills_;
    const int systemCount_;
    std::vector<std::vector<int>> levels_; // the skill rows of each system, in table order
    std::vector<Activation> activations_;
    std::vector<int> activationTable_;
    std::vector<Points> pool_;
    // Each distinct sum once, keyed by its systems and points in turn: the sets of one hit often
    // hold the same decorations in other places, and shares that sum alike are then one run,
    // which a set after another takes as it is.
    FirstUseNumbers<std::vector<int>, IntsHash> sums_;
    std::vector<Run> sumRuns_;
    std::vector<int> sumKey_;
    FirstUseNumbers<Arrangement, ArrangementHash> arrangements_;
    std::vector<DecorationPoints> arrangementPoints_;
    // The arrangements of the last two sets that differed in theirs, the latest first: the sets
    // of a hit whose doubling profiles need other decorations take turns between two.
    struct Recent {
        Arrangement arrangement = {};
        std::size_t number = SIZE_MAX;
    };
    Recent recent_[2];
    // The arrangements of tagged sets, each at the place its tag's low bits name: a hit's blocks
    // have tags in a row, so that those of one hit, however many take turns, keep their places.
    std::array<Tagged, kTaggedPlaces> tagged_ = {};
    FirstUseNumbers<const CEquipData*, AddressHash> pieces_;
    std::vector<Run> piecePoints_;
    const CEquipData* lastPieces_[kSlotCount] = {};
    // The totals of a record or arrangement being summed, zero for every system not touched;
    // points that add up to nothing still touch a system, as they give it a row in the summary.
    std::vector<int> totals_;
    std::vector<std::uint8_t> isTouched_;
    std::vector<int> touched_;
    std::size_t touchedCount_ = 0;
    // The set before: its shares, each system's total and the number of its shares that touch
    // the system, and the activated row and total of each system as its list of rows shows them.
    Shares shares_ = {};
    std::vector<int> setTotals_;
    std::vector<int> touches_;
    std::vector<int> shownRows_;
    std::vector<int> shownTotals_;
    std::vector<int> activeIds_;
    // The systems the shares that differ touch, each once.
    std::vector<int> dirty_;
    std::size_t dirtyCount_ = 0;
    std::vector<std::uint8_t> isDirty_;
    std::vector<Active> active_;
    FirstUseNumbers<std::vector<int>, IntsHash> rowLists_;
    std::vector<int> rows_;
    SetNumbers numbers_;
};
