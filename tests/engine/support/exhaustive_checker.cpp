#include "engine/support/exhaustive_checker.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

constexpr int kMaxSkills = kMaxChosenSkills;
using Points = std::array<int, kMaxSkills>;

template <typename List, typename T> bool Has(const List& list, const T* item) {
    return std::find(std::begin(list), std::end(list), item) != std::end(list);
}

// Whether a set may hold `piece` at `slot`: the fixed piece there, or one the condition allows.
bool Wearable(const CEquipData* piece, int slot, const CSearchCondition& c) {
    if (c.fixed.pieces[slot] != nullptr) {
        return piece == c.fixed.pieces[slot];
    }
    return !Has(c.excluded[slot], piece) && (!c.ownedOnly || Has(c.owned[slot], piece)) &&
           !(c.excludeDoubling && piece->bodyDoubling) &&
           (piece->job == 0 || piece->job == c.job) && (piece->sex == 0 || piece->sex == c.sex) &&
           piece->rarity >= 0 && piece->rarity < kRarityCount && c.rarityAllowed[piece->rarity];
}

// The engine also leaves out pieces whose points in a chosen skill do not fit its keys, and in a
// fast search those that help no chosen skill.
bool Allowed(const CEquipData* piece, int slot, const CSearchCondition& c,
             const std::vector<int>& ids) {
    bool helps = false;
    for (const int id : ids) {
        const int points = piece->PointsFor(id);
        helps = helps || points > 0;
        if (!piece->bodyDoubling && (points < -16 || points > 15)) {
            return false;
        }
    }
    const bool fastDrops = c.fastSearch && !piece->bodyDoubling && !helps && !c.fixed.pieces[slot];
    return !fastDrops && Wearable(piece, slot, c);
}

std::vector<int> ChosenIds(const CSearchCondition& c, const CEquipDatabase& database) {
    std::vector<int> ids;
    for (int k = 0; k < c.skillCount; ++k) {
        ids.push_back(database.Skills()[c.skillRows[k]]->systemId);
    }
    return ids;
}

bool Avoided(const CSearchCondition& c, int row) {
    return std::find(c.excludedSkillRows, c.excludedSkillRows + c.excludedSkillCount, row) !=
           c.excludedSkillRows + c.excludedSkillCount;
}

// Every multiset of usable decorations a holder of `capacity` slots can take.
void Fillings(const std::vector<const CDecoData*>& usable, int capacity, std::size_t from,
              std::vector<const CDecoData*>& current,
              std::vector<std::vector<const CDecoData*>>& out) {
    out.push_back(current);
    for (std::size_t i = from; i < usable.size(); ++i) {
        if (usable[i]->size <= capacity) {
            current.push_back(usable[i]);
            Fillings(usable, capacity - usable[i]->size, i, current, out);
            current.pop_back();
        }
    }
}

int Total(const CEquipSet& set, int id) {
    int total = 0;
    for (int slot = 0; slot < kSlotCount; ++slot) {
        const CEquipData* piece = set.pieces[slot];
        if (piece == nullptr) {
            continue;
        }
        if (!piece->bodyDoubling) {
            total += piece->PointsFor(id);
            continue;
        }
        total += set.pieces[kBody]->PointsFor(id);
        for (const CDecoData* deco : set.decos[kBody]) {
            total += deco ? deco->PointsFor(id) : 0;
        }
    }
    for (const auto& position : set.decos) {
        for (const CDecoData* deco : position) {
            total += deco ? deco->PointsFor(id) : 0;
        }
    }
    return total;
}

// Whether the chosen levels are reached and the avoided ones not, with `added` points on top.
bool MeetsLevels(const CEquipSet& set, const CSearchCondition& c, const CEquipDatabase& database,
                 const std::vector<int>& ids, const Points& added) {
    for (std::size_t k = 0; k < ids.size(); ++k) {
        const int row = c.skillRows[k];
        if (database.Skills()[row]->IsReached(Total(set, ids[k]) + added[k]) == Avoided(c, row)) {
            return false;
        }
    }
    return true;
}

std::string DecoFault(const CEquipSet& set, int position, const CSearchCondition& c) {
    int used = 0;
    for (int entry = 0; entry < 3; ++entry) {
        const CDecoData* deco = set.decos[position][entry];
        if (deco == nullptr) {
            continue;
        }
        if (entry > 0 && set.decos[position][entry - 1] == nullptr) {
            return "decorations not packed";
        }
        used += deco->size;
        if (!Has(c.fixed.decos[position], deco) &&
            (Has(c.excludedDecos, deco) || (c.ownedOnly && !Has(c.ownedDecos, deco)))) {
            return "decoration not allowed";
        }
    }
    const int slots = position == kWeaponPosition ? c.weaponSlots : set.pieces[position]->slots;
    return used <= slots ? "" : "decorations beyond the slots";
}

} // namespace

::testing::AssertionResult IsValidResult(const CEquipSet& set, const CSearchCondition& condition,
                                         const CEquipDatabase& database, bool refined) {
    for (int position = 0; position < kPositionCount; ++position) {
        const CEquipData* piece = set.pieces[position];
        std::string fault;
        if (position == kWeaponPosition) {
            fault = piece != nullptr ? "a piece at the weapon" : "";
        } else if (piece == nullptr || piece->kind != position) {
            fault = "no piece of its slot";
        } else if (!Wearable(piece, position, condition)) {
            fault = "piece not allowed";
        }
        if (fault.empty()) {
            fault = DecoFault(set, position, condition);
        }
        if (!fault.empty()) {
            return ::testing::AssertionFailure() << "position " << position << ": " << fault;
        }
    }
    const int defense = set.TotalDefense();
    if (refined ? defense <= condition.minDefense : defense < condition.minDefense) {
        return ::testing::AssertionFailure() << "defence " << defense << " below the minimum";
    }
    if (!MeetsLevels(set, condition, database, ChosenIds(condition, database), Points{})) {
        return ::testing::AssertionFailure() << "a chosen level missed or an avoided one reached";
    }
    return ::testing::AssertionSuccess();
}

void ExpectValidResults(const CSkillSearch& engine, const CSearchCondition& condition,
                        bool refined) {
    for (std::size_t i = 0; i < engine.results.size(); ++i) {
        EXPECT_TRUE(IsValidResult(*engine.results[i], condition, engine.database, refined))
            << "result " << i;
    }
}

namespace {

// Decorations the search may add: those that bring points to a chosen skill.
std::vector<const CDecoData*> UsableDecorations(const CSearchCondition& c,
                                                const CEquipDatabase& database,
                                                const std::vector<int>& ids) {
    std::vector<const CDecoData*> usable;
    for (const CDecoData* deco : database.Decos()) {
        const bool serves =
            std::any_of(ids.begin(), ids.end(), [deco](int id) { return deco->PointsFor(id) > 0; });
        if (serves && deco->size >= 1 && deco->size <= 3 && !Has(c.excludedDecos, deco) &&
            (!c.ownedOnly || Has(c.ownedDecos, deco))) {
            usable.push_back(deco);
        }
    }
    return usable;
}

int DoublingPieces(const CEquipSet& set) {
    int doubling = 0;
    for (const CEquipData* piece : set.pieces) {
        doubling += piece != nullptr && piece->bodyDoubling ? 1 : 0;
    }
    return doubling;
}

int FreeCapacity(const CEquipSet& set, int position) {
    const int slots = position == kWeaponPosition ? set.weaponSlots : set.pieces[position]->slots;
    return std::min(slots, 3) - set.DecoSize(position);
}

// The most points decorations can add to and take from each chosen skill in a holder of each
// capacity: a set whose levels lie beyond them has no addition, whatever its cost.
class AdditionReach {
public:
    AdditionReach(const std::vector<const CDecoData*>& usable, const std::vector<int>& ids)
        : ids_(ids) {
        for (int capacity = 1; capacity <= 3; ++capacity) {
            std::vector<const CDecoData*> current;
            std::vector<std::vector<const CDecoData*>> fillings;
            Fillings(usable, capacity, 0, current, fillings);
            for (const auto& filling : fillings) {
                for (std::size_t k = 0; k < ids.size(); ++k) {
                    int points = 0;
                    for (const CDecoData* deco : filling) {
                        points += deco->PointsFor(ids[k]);
                    }
                    gain_[capacity][k] = std::max(gain_[capacity][k], points);
                    loss_[capacity][k] = std::max(loss_[capacity][k], -points);
                }
            }
        }
    }

    bool MayMeet(const CEquipSet& set, const CSearchCondition& c,
                 const CEquipDatabase& database) const {
        Points gain{};
        Points loss{};
        const int doubling = DoublingPieces(set);
        for (int position = 0; position < kPositionCount; ++position) {
            const int capacity = std::max(FreeCapacity(set, position), 0);
            const int times = position == kBody ? 1 + doubling : 1;
            for (std::size_t k = 0; k < ids_.size(); ++k) {
                gain[k] += times * gain_[capacity][k];
                loss[k] += times * loss_[capacity][k];
            }
        }
        for (std::size_t k = 0; k < ids_.size(); ++k) {
            const int row = c.skillRows[k];
            const CSkillData& skill = *database.Skills()[row];
            const int total = Total(set, ids_[k]);
            // A level reached at or above its threshold is reached by the most points, one at or
            // below it by the fewest; an avoided one must be missed by one of the two.
            const bool upward = skill.threshold > 0;
            const int most = total + gain[k];
            const int least = total - loss[k];
            const bool reachable = skill.IsReached(upward ? most : least);
            const bool missable = !skill.IsReached(upward ? least : most);
            if (Avoided(c, row) ? !missable : !reachable) {
                return false;
            }
        }
        return true;
    }

private:
    const std::vector<int>& ids_;
    Points gain_[4] = {};
    Points loss_[4] = {};
};

// What decides the cheapest addition of a set: the chosen skills' points, each position's free
// capacity and the doubling pieces.
std::vector<int> AdditionKey(const CEquipSet& set, const std::vector<int>& ids) {
    std::vector<int> key;
    for (const int id : ids) {
        key.push_back(Total(set, id));
    }
    for (int position = 0; position < kPositionCount; ++position) {
        key.push_back(FreeCapacity(set, position));
    }
    key.push_back(DoublingPieces(set));
    return key;
}

} // namespace

std::optional<Cost> CheapestAddition(const CEquipSet& set, const CSearchCondition& c,
                                     const CEquipDatabase& database) {
    const std::vector<int> ids = ChosenIds(c, database);
    const std::vector<const CDecoData*> usable = UsableDecorations(c, database, ids);
    const int doubling = DoublingPieces(set);
    std::vector<std::map<Points, Cost>> gainsByPosition;
    // The most and the fewest points each holder adds, then each with those of the holders after.
    std::vector<Points> most;
    std::vector<Points> fewest;
    for (int position = 0; position < kPositionCount; ++position) {
        const int capacity = FreeCapacity(set, position);
        if (capacity <= 0) {
            continue;
        }
        std::vector<const CDecoData*> current;
        std::vector<std::vector<const CDecoData*>> fillings;
        Fillings(usable, capacity, 0, current, fillings);
        const int times = position == kBody ? 1 + doubling : 1;
        // What each filling adds, worked out once for all the reachable points.
        std::map<Points, Cost>& gains = gainsByPosition.emplace_back();
        Points high{};
        Points low{};
        for (const auto& filling : fillings) {
            Points gain{};
            Cost cost{0, 0};
            for (const CDecoData* deco : filling) {
                for (std::size_t k = 0; k < ids.size(); ++k) {
                    gain[k] += times * deco->PointsFor(ids[k]);
                }
                cost.first += deco->size;
                cost.second += 1;
            }
            for (std::size_t k = 0; k < ids.size(); ++k) {
                high[k] = std::max(high[k], gain[k]);
                low[k] = std::min(low[k], gain[k]);
            }
            auto [entry, added] = gains.try_emplace(gain, cost);
            entry->second = added ? cost : std::min(entry->second, cost);
        }
        most.push_back(high);
        fewest.push_back(low);
    }
    for (std::size_t n = most.size(); n-- > 1;) {
        for (std::size_t k = 0; k < ids.size(); ++k) {
            most[n - 1][k] += most[n][k];
            fewest[n - 1][k] += fewest[n][k];
        }
    }
    // A level is decided by whether the added points reach `split`. Points so far past it that no
    // later holder can bring them back are all alike, and are held at one value: that keeps the
    // reachable points few.
    Points split{};
    for (std::size_t k = 0; k < ids.size(); ++k) {
        const CSkillData& skill = *database.Skills()[c.skillRows[k]];
        split[k] = skill.threshold - Total(set, ids[k]) + (skill.threshold > 0 ? 0 : 1);
    }
    // Reachable added points, each with the cheapest cost that reaches them.
    std::map<Points, Cost> reachable{{Points{}, Cost{0, 0}}};
    for (std::size_t n = 0; n < gainsByPosition.size(); ++n) {
        const std::map<Points, Cost>& gains = gainsByPosition[n];
        const Points later = n + 1 < most.size() ? most[n + 1] : Points{};
        const Points laterFewest = n + 1 < fewest.size() ? fewest[n + 1] : Points{};
        std::map<Points, Cost> next;
        for (const auto& [points, cost] : reachable) {
            for (const auto& [gain, extra] : gains) {
                Points sum = points;
                for (std::size_t k = 0; k < ids.size(); ++k) {
                    sum[k] = std::clamp(sum[k] + gain[k], split[k] - 1 - later[k],
                                        split[k] - laterFewest[k]);
                }
                const Cost total{cost.first + extra.first, cost.second + extra.second};
                auto [entry, added] = next.try_emplace(sum, total);
                if (!added) {
                    entry->second = std::min(entry->second, total);
                }
            }
        }
        reachable = std::move(next);
    }
    std::optional<Cost> best;
    for (const auto& [points, cost] : reachable) {
        if (MeetsLevels(set, c, database, ids, points) && (!best || cost < *best)) {
            best = cost;
        }
    }
    return best;
}

CEquipSet WithFixedDecorations(const PieceTuple& tuple, const CSearchCondition& c) {
    CEquipSet set;
    std::copy(tuple.begin(), tuple.end(), set.pieces);
    set.weaponSlots = c.weaponSlots;
    for (int position = 0; position < kPositionCount; ++position) {
        if (position < kSlotCount && c.fixed.pieces[position] == nullptr) {
            continue;
        }
        const int slots = position == kWeaponPosition ? c.weaponSlots : tuple[position]->slots;
        for (CDecoData* deco : c.fixed.decos[position]) {
            if (deco != nullptr && set.DecoSize(position) + deco->size <= std::min(slots, 3)) {
                set.AddDeco(position, deco);
            }
        }
    }
    return set;
}

std::map<PieceTuple, Cost> EveryValidSet(const CSearchCondition& c,
                                         const CEquipDatabase& database) {
    const std::vector<int> ids = ChosenIds(c, database);
    std::vector<CEquipData*> allowed[kSlotCount];
    for (int slot = 0; slot < kSlotCount; ++slot) {
        for (CEquipData* piece : database.Armor(slot)) {
            if (Allowed(piece, slot, c, ids)) {
                allowed[slot].push_back(piece);
            }
        }
    }
    const AdditionReach reach(UsableDecorations(c, database, ids), ids);
    std::map<std::vector<int>, std::optional<Cost>> known;
    std::map<PieceTuple, Cost> valid;
    PieceTuple tuple{};
    auto visit = [&](auto&& self, int slot) -> void {
        if (slot == kSlotCount) {
            const CEquipSet set = WithFixedDecorations(tuple, c);
            int defense = 0;
            for (const CEquipData* piece : tuple) {
                defense += piece->EffectiveDefense();
            }
            if (defense < c.minDefense) {
                return;
            }
            if (!reach.MayMeet(set, c, database)) {
                return;
            }
            auto [entry, added] = known.try_emplace(AdditionKey(set, ids));
            if (added) {
                entry->second = CheapestAddition(set, c, database);
            }
            if (entry->second) {
                valid.emplace(tuple, *entry->second);
            }
            return;
        }
        for (CEquipData* piece : allowed[slot]) {
            tuple[slot] = piece;
            self(self, slot + 1);
        }
    };
    visit(visit, 0);
    return valid;
}

PieceTuple TupleOf(const CEquipSet& set) {
    PieceTuple tuple{};
    std::copy_n(set.pieces, kSlotCount, tuple.begin());
    return tuple;
}

Cost AddedCost(const CEquipSet& set, const CEquipSet& before) {
    Cost cost{0, 0};
    for (int position = 0; position < kPositionCount; ++position) {
        for (const CDecoData* deco : set.decos[position]) {
            cost.first += deco ? deco->size : 0;
            cost.second += deco ? 1 : 0;
        }
        for (const CDecoData* deco : before.decos[position]) {
            cost.first -= deco ? deco->size : 0;
            cost.second -= deco ? 1 : 0;
        }
    }
    return cost;
}

std::size_t ExpectEveryValidSet(const CSkillSearch& engine, const CSearchCondition& condition,
                                int round) {
    const std::map<PieceTuple, Cost> expected = EveryValidSet(condition, engine.database);
    EXPECT_EQ(engine.results.size(), expected.size()) << "round " << round;
    for (const auto& set : engine.results) {
        const auto found = expected.find(TupleOf(*set));
        if (found == expected.end()) {
            ADD_FAILURE() << "round " << round << " lists a set that is not valid";
            continue;
        }
        EXPECT_EQ(AddedCost(*set, WithFixedDecorations(found->first, condition)), found->second)
            << "round " << round;
    }
    return expected.size();
}
