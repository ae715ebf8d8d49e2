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

std::optional<Cost> CheapestAddition(const CEquipSet& set, const CSearchCondition& c,
                                     const CEquipDatabase& database) {
    const std::vector<int> ids = ChosenIds(c, database);
    std::vector<const CDecoData*> usable;
    for (const CDecoData* deco : database.Decos()) {
        const bool serves =
            std::any_of(ids.begin(), ids.end(), [deco](int id) { return deco->PointsFor(id) > 0; });
        if (serves && deco->size >= 1 && deco->size <= 3 && !Has(c.excludedDecos, deco) &&
            (!c.ownedOnly || Has(c.ownedDecos, deco))) {
            usable.push_back(deco);
        }
    }
    int doubling = 0;
    for (const CEquipData* piece : set.pieces) {
        doubling += piece != nullptr && piece->bodyDoubling ? 1 : 0;
    }
    // Reachable added points, each with the cheapest cost that reaches them.
    std::map<Points, Cost> reachable{{Points{}, Cost{0, 0}}};
    for (int position = 0; position < kPositionCount; ++position) {
        const int slots =
            position == kWeaponPosition ? set.weaponSlots : set.pieces[position]->slots;
        const int capacity = std::min(slots, 3) - set.DecoSize(position);
        if (capacity <= 0) {
            continue;
        }
        std::vector<const CDecoData*> current;
        std::vector<std::vector<const CDecoData*>> fillings;
        Fillings(usable, capacity, 0, current, fillings);
        const int times = position == kBody ? 1 + doubling : 1;
        // What each filling adds, worked out once for all the reachable points.
        std::map<Points, Cost> gains;
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
            auto [entry, added] = gains.try_emplace(gain, cost);
            entry->second = added ? cost : std::min(entry->second, cost);
        }
        std::map<Points, Cost> next;
        for (const auto& [points, cost] : reachable) {
            for (const auto& [gain, extra] : gains) {
                Points sum = points;
                for (std::size_t k = 0; k < ids.size(); ++k) {
                    sum[k] += gain[k];
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
            if (const std::optional<Cost> cost = CheapestAddition(set, c, database)) {
                valid.emplace(tuple, *cost);
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
