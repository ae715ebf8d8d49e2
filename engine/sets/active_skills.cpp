#include "engine/sets/active_skills.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <functional>
#include <iterator>
#include <numeric>
#include <utility>

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

// Past this many shares that differ, taking back the old ones costs more than summing afresh.
constexpr int kMostSharesMoved = 2;

// The slots where `pieces` and `last` differ, as bits. Unrolled, as every set listed compares
// its slots.
template <std::size_t... Slot>
unsigned ChangedSlots(const CEquipData* const* pieces, const CEquipData* const* last,
                      std::index_sequence<Slot...>) {
    return ((static_cast<unsigned>(pieces[Slot] != last[Slot]) << Slot) | ...);
}

// A PackedNumbers holds each piece's number one more, in 16 bits.
constexpr std::size_t kMostPackedPieces = UINT16_MAX;

} // namespace

ActiveSkillFinder::ActiveSkillFinder(const CEquipDatabase& database)
    : skills_(database.Skills()), systemCount_(database.SkillSystems().Count()),
      levels_(static_cast<std::size_t>(std::max(systemCount_, 0))), activations_(levels_.size()),
      totals_(levels_.size()), isTouched_(levels_.size()), touched_(levels_.size() + 1),
      setTotals_(levels_.size()), touches_(levels_.size()), shownRows_(levels_.size(), -1),
      shownTotals_(levels_.size()), dirty_(levels_.size() + 1), isDirty_(levels_.size()),
      active_(levels_.size()) {
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

void ActiveSkillFinder::AddPoints(int id, int points) {
    const auto index = static_cast<std::size_t>(id);
    touched_[touchedCount_] = id;
    touchedCount_ += isTouched_[index] ^ 1u;
    isTouched_[index] = 1;
    totals_[index] += points;
}

void ActiveSkillFinder::Add(Run run) {
    for (std::uint32_t i = run.begin; i < run.end; ++i) {
        AddPoints(pool_[i].id, pool_[i].points);
    }
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

// Appends the totals summed so far to the pool, by system, and clears them. A sum met before is
// taken back out for the run that holds it already.
ActiveSkillFinder::Run ActiveSkillFinder::EndSum() {
    const auto begin = static_cast<std::uint32_t>(pool_.size());
    for (std::size_t i = 0; i < touchedCount_; ++i) {
        pool_.push_back({touched_[i], totals_[static_cast<std::size_t>(touched_[i])]});
    }
    ClearTotals();
    std::sort(pool_.begin() + begin, pool_.end(),
              [](const Points& a, const Points& b) { return a.id < b.id; });
    sumKey_.clear();
    for (auto entry = pool_.begin() + begin; entry != pool_.end(); ++entry) {
        sumKey_.insert(sumKey_.end(), {entry->id, entry->points});
    }
    bool isNew = false;
    const std::size_t number = sums_.NumberOf(sumKey_, isNew);
    if (isNew) {
        sumRuns_.push_back({begin, static_cast<std::uint32_t>(pool_.size())});
    } else {
        pool_.resize(begin);
    }
    return sumRuns_[number];
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
    for (const auto& position : set.decos) {
        SumPosition(position);
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

void ActiveSkillFinder::SumPosition(const CDecoData* const* decos) {
    for (const CDecoData* const* deco = decos; deco != decos + 3 && *deco != nullptr; ++deco) {
        SumRecord(**deco);
    }
}

const ActiveSkillFinder::DecorationPoints& ActiveSkillFinder::PositionsOf(std::size_t arrangement) {
    DecorationPoints& points = arrangementPoints_[arrangement];
    if (!points.positionsSummed) {
        const Arrangement& decos = arrangements_.KeyOf(arrangement);
        for (int position = 0; position < kPositionCount; ++position) {
            SumPosition(decos.data() + 3 * position);
            points.positions[position] = EndSum();
        }
        points.positionsSummed = true;
    }
    return points;
}

std::size_t ActiveSkillFinder::NumberArrangement(const CEquipSet& set) {
    Arrangement arrangement;
    static_assert(sizeof arrangement == sizeof set.decos);
    std::memcpy(arrangement.data(), set.decos, sizeof set.decos);
    bool isNew = false;
    const std::size_t number = arrangements_.NumberOf(arrangement, isNew);
    if (isNew) {
        arrangementPoints_.push_back(SumArrangement(set));
    }
    return number;
}

// The sets of one hit come one after the other and mostly share their decorations. The set's tag,
// if any, is kept at `tagged` for the sets after it.
std::size_t ActiveSkillFinder::ArrangementByDecorations(const CEquipSet& set, Tagged& tagged) {
    const std::uint32_t tag = set.decorationsTag;
    const auto isRecent = [&set](const Recent& recent) {
        return recent.number != SIZE_MAX &&
               std::memcmp(recent.arrangement.data(), set.decos, sizeof recent.arrangement) == 0;
    };
    Recent& latest = recent_[0];
    if (!isRecent(latest)) {
        std::swap(recent_[0], recent_[1]);
        if (!isRecent(latest)) {
            std::memcpy(latest.arrangement.data(), set.decos, sizeof set.decos);
            latest.number = NumberArrangement(set);
        }
    }
    tagged = {tag, latest.number};
    return latest.number;
}

namespace {

using PackedNumbers = ActiveSkillFinder::PackedNumbers;

// Orders `from` into `to` by `keyOf`, a number below `keys`, in one counting pass that keeps the
// order of the entries it finds alike.
template <class KeyOf>
void SortByKey(const std::vector<PackedNumbers>& from, std::vector<PackedNumbers>& to,
               std::size_t keys, KeyOf keyOf) {
    std::vector<std::uint32_t> next(keys + 1, 0);
    for (const PackedNumbers& entry : from) {
        ++next[keyOf(entry) + 1];
    }
    std::partial_sum(next.begin(), next.end(), next.begin());
    for (const PackedNumbers& entry : from) {
        to[next[keyOf(entry)]++] = entry;
    }
}

} // namespace

// The sets are numbered in the order of the list, which a ranked list lays out in memory, and
// found in that of their numbers: sorted by the piece of each slot but the last, the later slots
// first, then by arrangement, so that the sets that follow one another within an arrangement mostly
// differ in the pieces of the last slots alone, as in a list in the order found.
std::vector<PackedNumbers>
ActiveSkillFinder::FindAll(const std::vector<std::unique_ptr<CEquipSet>>& sets) {
    std::vector<PackedNumbers> found(sets.size());
    const CEquipData* lastPiece[kSlotCount] = {};
    std::size_t lastNumber[kSlotCount] = {};
    for (std::size_t i = 0; i < sets.size(); ++i) {
        PackedNumbers& entry = found[i];
        entry.position = static_cast<std::uint32_t>(i);
        entry.arrangement = static_cast<std::uint32_t>(NumberArrangement(*sets[i]));
        for (int slot = 0; slot < kSlotCount; ++slot) {
            const CEquipData* piece = sets[i]->pieces[slot];
            if (piece != lastPiece[slot]) {
                lastPiece[slot] = piece;
                lastNumber[slot] = piece != nullptr ? PieceOf(piece) + 1 : 0;
                if (lastNumber[slot] > kMostPackedPieces) {
                    return {};
                }
            }
            entry.pieces[slot] = static_cast<std::uint16_t>(lastNumber[slot]);
        }
    }
    std::vector<PackedNumbers> sorted(sets.size());
    // Not by the last slot: the sets alike in all the others differ in its piece one after the
    // other, in whatever order they come.
    for (int slot = kSlotCount - 2; slot >= 0; --slot) {
        SortByKey(found, sorted, pieces_.Count() + 1,
                  [slot](const PackedNumbers& entry) { return entry.pieces[slot]; });
        found.swap(sorted);
    }
    SortByKey(found, sorted, arrangements_.Count(),
              [](const PackedNumbers& entry) { return entry.arrangement; });
    for (const PackedNumbers& entry : sorted) {
        const Changes changes = TakePacked(entry);
        PackedNumbers& numbers = found[entry.position];
        numbers = entry;
        numbers.skills = static_cast<std::uint32_t>(FindChanged(changes, entry.arrangement).skills);
    }
    return found;
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

// The common case of a listing: a changed slot holds a piece again, doubling the body as the one
// before did or not.
bool ActiveSkillFinder::SwapsAlike(const CEquipData* before, const CEquipData* piece) {
    return piece != nullptr && before != nullptr &&
           (piece->bodyDoubling != 0) == (before->bodyDoubling != 0);
}

// The slots are compared first and only those that changed are numbered: nearly every set
// changes one.
ActiveSkillFinder::Changes ActiveSkillFinder::NumberPieces(SlotPieces pieces) {
    Changes changes;
    changes.slots = ChangedSlots(pieces, lastPieces_, std::make_index_sequence<kSlotCount>());
    for (unsigned left = changes.slots; left != 0; left &= left - 1) {
        const int slot = std::countr_zero(left);
        const CEquipData* piece = pieces[slot];
        changes.alike = changes.alike && SwapsAlike(lastPieces_[slot], piece);
        numbers_.pieces[slot] = piece != nullptr ? PieceOf(piece) : 0;
        lastPieces_[slot] = piece;
    }
    return changes;
}

// As NumberPieces, for pieces FindAll numbered already.
ActiveSkillFinder::Changes ActiveSkillFinder::TakePacked(const PackedNumbers& packed) {
    Changes changes;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const std::size_t packedBefore =
            lastPieces_[slot] != nullptr ? numbers_.pieces[slot] + 1 : 0;
        if (packed.pieces[slot] != packedBefore) {
            const CEquipData* piece =
                packed.pieces[slot] != 0 ? pieces_.KeyOf(packed.PieceNumber(slot)) : nullptr;
            changes.alike = changes.alike && SwapsAlike(lastPieces_[slot], piece);
            numbers_.pieces[slot] = packed.PieceNumber(slot);
            lastPieces_[slot] = piece;
            changes.slots |= 1u << slot;
        }
    }
    return changes;
}

const ActiveSkillFinder::SetNumbers& ActiveSkillFinder::Find(const CEquipSet& set) {
    const std::size_t arrangement = ArrangementOf(set, set.decorationsTag);
    const Changes changes = NumberPieces(set.pieces);
    numbers_.changedPieces = changes.slots;
    return FindChanged(changes, arrangement);
}

// The set is that of the pieces last taken, with `changes` from the set before. With the same
// decorations, or others that add up alike at every position, and pieces that swap alike, no
// share but the changed pieces' own differs.
const ActiveSkillFinder::SetNumbers& ActiveSkillFinder::FindChanged(Changes changes,
                                                                    std::size_t arrangement) {
    const SlotPieces pieces = lastPieces_;
    const std::size_t arrangementBefore = numbers_.arrangement;
    numbers_.arrangement = arrangement;
    if (AnyListed() && changes.alike &&
        (arrangement == arrangementBefore || SameDecorationShares(pieces, arrangementBefore))) {
        SwapPieceShares(changes.slots);
    } else {
        MoveTo(SharesOf(pieces));
    }
    if (ActiveRowsChanged() || !AnyListed()) {
        numbers_.skills = NumberActiveRows();
    }
    return numbers_;
}

// Whether the decorations count as those of another arrangement `before` did, with the pieces of
// the slots the set before left alone: a set with every piece counts them all together.
bool ActiveSkillFinder::SameDecorationShares(SlotPieces pieces, std::size_t before) {
    if (std::all_of(pieces, pieces + kSlotCount,
                    [](const CEquipData* piece) { return piece != nullptr; })) {
        const DecorationPoints& now = arrangementPoints_[numbers_.arrangement];
        const DecorationPoints& then = arrangementPoints_[before];
        return now.everywhere == then.everywhere && now.bodyAgain == then.bodyAgain;
    }
    return PositionsOf(numbers_.arrangement) == PositionsOf(before);
}

// A doubling piece outside the body counts for nothing of its own: its share stays empty.
void ActiveSkillFinder::SwapPieceShares(unsigned changed) {
    for (unsigned left = changed; left != 0; left &= left - 1) {
        const int slot = std::countr_zero(left);
        Share& share = shares_[static_cast<std::size_t>(slot)];
        if (share.times == 0) {
            continue;
        }
        const Run run = piecePoints_[numbers_.pieces[slot]];
        if (share.run != run) {
            Count(share, -1);
            share.run = run;
            Count(share, 1);
        }
    }
}

// Counts what the summary counts: a piece's points, or the body's and its decorations' once more
// for a doubling piece; a position's decorations only under a piece, the weapon's always.
ActiveSkillFinder::Shares ActiveSkillFinder::SharesOf(SlotPieces pieces) {
    Shares shares;
    const DecorationPoints& decos = arrangementPoints_[numbers_.arrangement];
    bool allPieces = true;
    int doubling = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const CEquipData* piece = pieces[slot];
        allPieces = allPieces && piece != nullptr;
        if (piece == nullptr) {
            continue;
        }
        if (piece->bodyDoubling) {
            ++doubling;
        } else if (slot != kBody) {
            shares[slot] = {piecePoints_[numbers_.pieces[slot]], 1};
        }
    }
    const CEquipData* body = pieces[kBody];
    if (body != nullptr) {
        shares[kBody] = {piecePoints_[numbers_.pieces[kBody]],
                         (body->bodyDoubling ? 0 : 1) + doubling};
        if (doubling > 0) {
            shares[kAgainShare] = {decos.bodyAgain, doubling};
        }
    }
    if (allPieces) {
        shares[kFirstPositionShare] = {decos.everywhere, 1};
        return shares;
    }
    const DecorationPoints& byPosition = PositionsOf(numbers_.arrangement);
    for (int position = 0; position < kPositionCount; ++position) {
        if (position == kWeaponPosition || pieces[position] != nullptr) {
            shares[kFirstPositionShare + position] = {byPosition.positions[position], 1};
        }
    }
    return shares;
}

// Takes back the set before's shares that differ and adds the new ones; a set that shares little
// with the one before, as in a ranked list, is summed afresh.
void ActiveSkillFinder::MoveTo(const Shares& shares) {
    const auto differing = std::inner_product(shares.begin(), shares.end(), shares_.begin(), 0,
                                              std::plus<>(), std::not_equal_to<>());
    if (differing > kMostSharesMoved) {
        ForgetTotals();
        for (const Share& share : shares) {
            Count(share, 1);
        }
    } else {
        for (std::size_t i = 0; i < shares.size(); ++i) {
            if (shares[i] != shares_[i]) {
                Count(shares_[i], -1);
                Count(shares[i], 1);
            }
        }
    }
    shares_ = shares;
}

// Only the activated systems need looking at again: the others had no row and are left with none.
void ActiveSkillFinder::ForgetTotals() {
    std::fill(setTotals_.begin(), setTotals_.end(), 0);
    std::fill(touches_.begin(), touches_.end(), 0);
    for (const int id : activeIds_) {
        isDirty_[static_cast<std::size_t>(id)] = 1;
        dirty_[dirtyCount_++] = id;
    }
}

// Without branches, and through local pointers: the byte-sized marks may alias any member, so
// the compiler would load every member again after each store.
void ActiveSkillFinder::Count(Share share, int sign) {
    if (share.times == 0) {
        return;
    }
    const Points* entries = pool_.data();
    int* totals = setTotals_.data();
    int* touches = touches_.data();
    std::uint8_t* isDirty = isDirty_.data();
    int* dirty = dirty_.data();
    std::size_t dirtyCount = dirtyCount_;
    const int times = share.times * sign;
    for (std::uint32_t i = share.run.begin; i < share.run.end; ++i) {
        const auto id = static_cast<std::size_t>(entries[i].id);
        totals[id] += entries[i].points * times;
        touches[id] += sign;
        dirty[dirtyCount] = entries[i].id;
        dirtyCount += isDirty[id] ^ 1u;
        isDirty[id] = 1;
    }
    dirtyCount_ = dirtyCount;
}

// The list of rows stays as it was unless a system the new shares touch gained or lost its row,
// or an activated one changed its total, which orders the list.
bool ActiveSkillFinder::ActiveRowsChanged() {
    bool changed = false;
    for (std::size_t i = 0; i < dirtyCount_; ++i) {
        const int id = dirty_[i];
        const auto index = static_cast<std::size_t>(id);
        isDirty_[index] = 0;
        const int total = setTotals_[index];
        const int row = touches_[index] > 0 ? ActivatedRow(id, total) : -1;
        const int shown = shownRows_[index];
        if (row == shown && (row < 0 || total == shownTotals_[index])) {
            continue;
        }
        changed = true;
        if (shown < 0) {
            activeIds_.push_back(id);
        } else if (row < 0) {
            activeIds_.erase(std::find(activeIds_.begin(), activeIds_.end(), id));
        }
        shownRows_[index] = row;
        shownTotals_[index] = total;
    }
    dirtyCount_ = 0;
    return changed;
}

// The summary orders its active rows by total, then by system. Lists met before keep their
// number.
std::size_t ActiveSkillFinder::NumberActiveRows() {
    active_.clear();
    for (const int id : activeIds_) {
        const auto index = static_cast<std::size_t>(id);
        active_.push_back({id, shownTotals_[index], shownRows_[index]});
    }
    std::sort(active_.begin(), active_.end(), [](const Active& a, const Active& b) {
        return a.points != b.points ? a.points > b.points : a.id < b.id;
    });
    rows_.clear();
    for (const Active& active : active_) {
        rows_.push_back(active.row);
    }
    if (AnyListed() && rows_ == rowLists_.KeyOf(numbers_.skills)) {
        return numbers_.skills;
    }
    bool isNew = false;
    return rowLists_.NumberOf(rows_, isNew);
}

std::uint64_t ActiveSkillFinder::IntsHash::operator()(const std::vector<int>& ints) const {
    std::uint64_t hash = ints.size();
    for (const int value : ints) {
        hash = (hash ^ static_cast<std::uint32_t>(value)) * 0x9E3779B97F4A7C15ull;
        hash ^= hash >> 29;
    }
    return hash;
}

namespace {

// Unrolled, as the turn of each place is then a constant.
template <class Arrangement, std::size_t... Place>
std::uint64_t FoldPlaces(const Arrangement& arrangement, std::index_sequence<Place...>) {
    return (std::rotl(reinterpret_cast<std::uintptr_t>(arrangement[Place]),
                      static_cast<int>(Place * 7)) ^
            ...);
}

} // namespace

std::uint64_t ActiveSkillFinder::ArrangementHash::operator()(const Arrangement& arrangement) const {
    return MixWord(0, FoldPlaces(arrangement, std::make_index_sequence<kPositionCount * 3>()));
}
