#include "exhaustive_checker.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kMaxSkills = 6;
using Points = std::array<int, kMaxSkills>;

template <typename List, typename T> bool Has(const List& list, const T* item) {
    return std::find(std::begin(list), std::end(list), item) != std::end(list);
}

// The engine leaves out pieces whose points in a chosen skill do not fit its keys.
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
    if (c.fixed.pieces[slot] != nullptr) {
        return piece == c.fixed.pieces[slot];
    }
    return !Has(c.excluded[slot], piece) && (!c.ownedOnly || Has(c.owned[slot], piece)) &&
           !(c.excludeDoubling && piece->bodyDoubling) &&
           !(c.fastSearch && !piece->bodyDoubling && !helps) &&
           (piece->job == 0 || piece->job == c.job) && (piece->sex == 0 || piece->sex == c.sex) &&
           piece->rarity >= 0 && piece->rarity < kRarityCount && c.rarityAllowed[piece->rarity];
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

} // namespace

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
        std::map<Points, Cost> next;
        for (const auto& [points, cost] : reachable) {
            for (const auto& filling : fillings) {
                Points sum = points;
                Cost total = cost;
                for (const CDecoData* deco : filling) {
                    for (std::size_t k = 0; k < ids.size(); ++k) {
                        sum[k] += times * deco->PointsFor(ids[k]);
                    }
                    total.first += deco->size;
                    total.second += 1;
                }
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
        bool meets = true;
        for (std::size_t k = 0; k < ids.size() && meets; ++k) {
            const int row = c.skillRows[k];
            const bool reached = database.Skills()[row]->IsReached(Total(set, ids[k]) + points[k]);
            meets = reached != Avoided(c, row);
        }
        if (meets && (!best || cost < *best)) {
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
