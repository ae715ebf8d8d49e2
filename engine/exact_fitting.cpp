#include "engine/exact_fitting.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::uint16_t kNoDeco = std::numeric_limits<std::uint16_t>::max();
// Past this many fillings of a holder, weeding out dominated ones would cost more than it saves.
constexpr std::size_t kMaxWeededFillings = 4000;
constexpr std::uint8_t kUnreachable = std::numeric_limits<std::uint8_t>::max();

bool AtLeast(const int* a, const int* b, int count) {
    for (int k = 0; k < count; ++k) {
        if (a[k] < b[k]) {
            return false;
        }
    }
    return true;
}

bool Equal(const int* a, const int* b, int count) {
    return std::equal(a, a + count, b);
}

std::uint64_t Pack16(int value) {
    const int clamped = std::clamp(value, -32768, 32767);
    return static_cast<std::uint64_t>(static_cast<std::uint16_t>(clamped));
}

} // namespace

ExactFitter::ExactFitter(const TrackedSkill* skills, int count,
                         const std::vector<CDecoData*>& usable)
    : count_(std::clamp(count, 0, kMaxTrackedSkills)) {
    std::copy_n(skills, count_, skills_);
    KeepUsefulDecorations(usable);
    BuildFillings();
    BuildSlotTables();
}

// Keeps decorations of a placeable size that help some tracked skill, minus those another kept
// decoration beats or equals everywhere at no greater size (of two equal ones, the first stays).
void ExactFitter::KeepUsefulDecorations(const std::vector<CDecoData*>& usable) {
    std::vector<CDecoData*> helpful;
    std::vector<std::array<int, kMaxTrackedSkills>> gains;
    for (CDecoData* deco : usable) {
        if (deco->size < 1 || deco->size > 3) {
            continue;
        }
        std::array<int, kMaxTrackedSkills> gain{};
        bool helps = false;
        for (int k = 0; k < count_; ++k) {
            gain[k] = skills_[k].Gain(deco->PointsFor(skills_[k].systemId));
            helps = helps || gain[k] > 0;
        }
        if (helps) {
            helpful.push_back(deco);
            gains.push_back(gain);
        }
    }
    for (std::size_t i = 0; i < helpful.size(); ++i) {
        bool dominated = false;
        for (std::size_t j = 0; j < helpful.size() && !dominated; ++j) {
            if (i == j || helpful[j]->size > helpful[i]->size ||
                !AtLeast(gains[j].data(), gains[i].data(), count_)) {
                continue;
            }
            const bool same = helpful[j]->size == helpful[i]->size &&
                              Equal(gains[j].data(), gains[i].data(), count_);
            dominated = !same || j < i;
        }
        if (!dominated && decos_.size() < kNoDeco) {
            decos_.push_back(helpful[i]);
            decoGain_.push_back(gains[i]);
        }
    }
}

namespace {

// Fillings compare as their decoration lists, an empty entry after any decoration.
bool EarlierList(const std::uint16_t* a, const std::uint16_t* b) {
    return std::lexicographical_compare(a, a + 3, b, b + 3);
}

template <typename Filling, typename Beats>
std::vector<Filling> WithoutDominated(const std::vector<Filling>& all, Beats beats) {
    if (all.size() > kMaxWeededFillings) {
        return all;
    }
    std::vector<Filling> kept;
    for (std::size_t i = 0; i < all.size(); ++i) {
        bool dominated = false;
        for (std::size_t j = 0; j < all.size() && !dominated; ++j) {
            // `all` is in list order, so of two equal fillings the earlier one stays.
            dominated = i != j && beats(all[j], all[i], j < i);
        }
        if (!dominated) {
            kept.push_back(all[i]);
        }
    }
    return kept;
}

} // namespace

void ExactFitter::BuildFillings() {
    std::vector<Filling> all;
    auto add = [&](std::initializer_list<std::size_t> items) {
        Filling filling;
        std::fill(filling.decos, filling.decos + 3, kNoDeco);
        for (const std::size_t index : items) {
            filling.decos[filling.count++] = static_cast<std::uint16_t>(index);
            filling.size += decos_[index]->size;
            for (int k = 0; k < count_; ++k) {
                filling.gain[k] += decoGain_[index][k];
            }
        }
        if (filling.size <= 3) {
            all.push_back(filling);
        }
    };
    const std::size_t n = decos_.size();
    add({});
    for (std::size_t i = 0; i < n; ++i) {
        add({i});
        for (std::size_t j = i; j < n; ++j) {
            if (decos_[i]->size + decos_[j]->size > 3) {
                continue;
            }
            add({i, j});
            for (std::size_t l = j; l < n; ++l) {
                if (decos_[i]->size + decos_[j]->size + decos_[l]->size <= 3) {
                    add({i, j, l});
                }
            }
        }
    }
    std::sort(all.begin(), all.end(),
              [](const Filling& a, const Filling& b) { return EarlierList(a.decos, b.decos); });
    const int count = count_;
    for (int capacity = 1; capacity <= 3; ++capacity) {
        std::vector<Filling> fitting;
        for (const Filling& filling : all) {
            if (filling.size <= capacity) {
                fitting.push_back(filling);
            }
        }
        fillings_[capacity] =
            WithoutDominated(fitting, [count](const Filling& a, const Filling& b, bool earlier) {
                if (!AtLeast(a.gain, b.gain, count)) {
                    return false;
                }
                return !Equal(a.gain, b.gain, count) || earlier;
            });
        arrangeFillings_[capacity] =
            WithoutDominated(fitting, [count](const Filling& a, const Filling& b, bool earlier) {
                if (a.size > b.size || a.count > b.count || !AtLeast(a.gain, b.gain, count)) {
                    return false;
                }
                const bool same =
                    a.size == b.size && a.count == b.count && Equal(a.gain, b.gain, count);
                return !same || earlier;
            });
        // Larger fillings first: the answer "can be met" tends to come sooner.
        std::stable_sort(fillings_[capacity].begin(), fillings_[capacity].end(),
                         [](const Filling& a, const Filling& b) { return a.size > b.size; });
    }
}

void ExactFitter::BuildSlotTables() {
    for (int capacity = 1; capacity <= 3; ++capacity) {
        for (int k = 0; k < count_; ++k) {
            int best = 0;
            int worst = 0;
            for (const Filling& filling : fillings_[capacity]) {
                best = std::max(best, filling.gain[k]);
                worst = std::min(worst, filling.gain[k]);
            }
            bestGain_[capacity][k] = best;
            worstGain_[capacity][k] = worst;
        }
    }
    for (int k = 0; k < count_; ++k) {
        std::vector<std::uint8_t>& table = minSlots_[k];
        table.assign(kMinSlotsRange, kUnreachable);
        table[0] = 0;
        for (int r = 1; r < kMinSlotsRange; ++r) {
            int best = kUnreachable;
            for (std::size_t d = 0; d < decos_.size(); ++d) {
                const int gain = decoGain_[d][k];
                if (gain > 0) {
                    const int rest = table[std::max(0, r - gain)];
                    best = std::min(best, rest + decos_[d]->size);
                }
            }
            table[r] = static_cast<std::uint8_t>(std::min<int>(best, kUnreachable));
        }
        for (int m = 0; m < count_; ++m) {
            for (std::size_t d = 0; d < decos_.size(); ++d) {
                shared_[k][m] =
                    shared_[k][m] || (m != k && decoGain_[d][k] > 0 && decoGain_[d][m] > 0);
            }
        }
    }
}

int ExactFitter::MinSlots(int k, int required) const {
    if (required <= 0) {
        return 0;
    }
    // The table grows with the gain, so a gain beyond it needs at least its last entry.
    return minSlots_[k][std::min(required, kMinSlotsRange - 1)];
}

// Slots needed by different skills add up unless one decoration can serve two of them; then
// only the neediest skill is counted.
bool ExactFitter::SlotsMayReach(const int* required, int slots) const {
    int sum = 0;
    int most = 0;
    bool shared = false;
    for (int k = 0; k < count_; ++k) {
        if (required[k] <= 0) {
            continue;
        }
        const int needed = MinSlots(k, required[k]);
        if (needed == kUnreachable) {
            return false;
        }
        sum += needed;
        most = std::max(most, needed);
        for (int m = 0; m < k; ++m) {
            shared = shared || (required[m] > 0 && shared_[k][m]);
        }
    }
    return (shared ? most : sum) <= slots;
}

// Rules out what the holders surely cannot reach, and raises each requirement that every choice
// meets to the least gain a choice can give, so that equal sub-problems meet in the memo.
bool ExactFitter::Bounded(const Holders& holders, int* required) const {
    int slots = holders.weightedTimes * holders.weightedCapacity;
    for (int capacity = 1; capacity <= 3; ++capacity) {
        slots += capacity * holders.single[capacity];
    }
    for (int k = 0; k < count_; ++k) {
        int most = holders.weightedTimes * bestGain_[holders.weightedCapacity][k];
        int least = holders.weightedTimes * worstGain_[holders.weightedCapacity][k];
        for (int capacity = 1; capacity <= 3; ++capacity) {
            most += holders.single[capacity] * bestGain_[capacity][k];
            least += holders.single[capacity] * worstGain_[capacity][k];
        }
        if (required[k] > most) {
            return false;
        }
        required[k] = std::max(required[k], least);
    }
    return SlotsMayReach(required, slots);
}

bool ExactFitter::Solve(const Holders& holders, const int* requiredIn) {
    int required[kMaxTrackedSkills] = {};
    std::copy_n(requiredIn, count_, required);
    if (!Bounded(holders, required)) {
        return false;
    }
    if (std::all_of(required, required + count_, [](int r) { return r <= 0; })) {
        return true;
    }
    FitMemo::Key key;
    key.a = Pack16(required[0]) | Pack16(required[1]) << 16 | Pack16(required[2]) << 32 |
            Pack16(required[3]) << 48;
    key.b = Pack16(required[4]) | Pack16(required[5]) << 16 |
            static_cast<std::uint64_t>(holders.single[1]) << 32 |
            static_cast<std::uint64_t>(holders.single[2]) << 36 |
            static_cast<std::uint64_t>(holders.single[3]) << 40 |
            static_cast<std::uint64_t>(holders.weightedCapacity) << 44 |
            static_cast<std::uint64_t>(holders.weightedTimes) << 48;
    if (const int known = memo_.Find(key); known != 0) {
        return known == 2;
    }
    Holders rest = holders;
    int capacity = 0;
    int times = 1;
    if (holders.weightedCapacity > 0) {
        capacity = holders.weightedCapacity;
        times = holders.weightedTimes;
        rest.weightedCapacity = 0;
        rest.weightedTimes = 0;
    } else {
        capacity = holders.single[3] > 0 ? 3 : holders.single[2] > 0 ? 2 : 1;
        --rest.single[capacity];
    }
    bool canMeet = false;
    int after[kMaxTrackedSkills] = {};
    for (const Filling& filling : fillings_[capacity]) {
        for (int k = 0; k < count_; ++k) {
            after[k] = required[k] - times * filling.gain[k];
        }
        if (Solve(rest, after)) {
            canMeet = true;
            break;
        }
    }
    memo_.Store(key, canMeet);
    return canMeet;
}

// A lower bound on the slots an arrangement of the holders needs. A slot of the weighted holder
// does the work of `weightedTimes` others, so it is spent first.
int ExactFitter::LeastSlots(const Holders& holders, const int* required) const {
    int most = 0;
    for (int k = 0; k < count_; ++k) {
        most = std::max(most, MinSlots(k, required[k]));
    }
    const int times = std::max(holders.weightedTimes, 1);
    const int weighted = std::min(holders.weightedCapacity, (most + times - 1) / times);
    return weighted + std::max(0, most - weighted * times);
}

ExactFitter::Holders ExactFitter::RemainingFrom(int position, const FreeRoom& room) const {
    Holders holders;
    for (int p = position; p < kPositionCount; ++p) {
        const int capacity = std::clamp(room.capacity[p], 0, 3);
        if (capacity == 0) {
            continue;
        }
        if (room.times[p] > 1 && holders.weightedCapacity == 0) {
            holders.weightedCapacity = capacity;
            holders.weightedTimes = std::min(room.times[p], 7);
        } else {
            ++holders.single[capacity];
        }
    }
    return holders;
}

bool ExactFitter::CanMeet(const FreeRoom& room, const int* base) {
    int required[kMaxTrackedSkills] = {};
    for (int k = 0; k < count_; ++k) {
        required[k] = skills_[k].Required(base[k]);
    }
    return Solve(RemainingFrom(0, room), required);
}

bool ExactFitter::Arrange(const FreeRoom& room, const int* base, DecoBlock& added) {
    added = DecoBlock{};
    int required[kMaxTrackedSkills] = {};
    for (int k = 0; k < count_; ++k) {
        required[k] = skills_[k].Required(base[k]);
    }
    found_ = false;
    SearchArrangement(0, room, required, 0, 0);
    if (!found_) {
        return false;
    }
    for (int position = 0; position < kPositionCount; ++position) {
        const Filling* filling = best_[position];
        for (int i = 0; filling != nullptr && i < filling->count; ++i) {
            added.decos[position][i] = decos_[filling->decos[i]];
        }
    }
    return true;
}

// Depth first over the positions in order, each trying its fillings in list order: the first
// arrangement found at the lowest cost is the one the tie rule prefers. A branch whose remaining
// positions cannot meet the requirements, or cannot beat the best so far, is left at once.
bool ExactFitter::SearchArrangement(int position, const FreeRoom& room, int* required, int slots,
                                    int decos) {
    if (position == kPositionCount) {
        if (std::any_of(required, required + count_, [](int r) { return r > 0; })) {
            return false;
        }
        std::copy_n(chosen_, kPositionCount, best_);
        bestSlots_ = slots;
        bestDecos_ = decos;
        found_ = true;
        return true;
    }
    if (!Solve(RemainingFrom(position, room), required)) {
        return false;
    }
    const int leastSlots = LeastSlots(RemainingFrom(position, room), required);
    const int leastDecos = leastSlots > 0 ? 1 : 0;
    if (found_ &&
        std::pair(slots + leastSlots, decos + leastDecos) >= std::pair(bestSlots_, bestDecos_)) {
        return false;
    }
    const int capacity = std::clamp(room.capacity[position], 0, 3);
    chosen_[position] = nullptr;
    if (capacity == 0) {
        return SearchArrangement(position + 1, room, required, slots, decos);
    }
    const int times = room.times[position];
    int after[kMaxTrackedSkills] = {};
    for (const Filling& filling : arrangeFillings_[capacity]) {
        if (found_ && std::pair(slots + filling.size, decos + filling.count) >=
                          std::pair(bestSlots_, bestDecos_)) {
            continue;
        }
        for (int k = 0; k < count_; ++k) {
            after[k] = required[k] - times * filling.gain[k];
        }
        chosen_[position] = filling.count > 0 ? &filling : nullptr;
        SearchArrangement(position + 1, room, after, slots + filling.size, decos + filling.count);
    }
    chosen_[position] = nullptr;
    return found_;
}
