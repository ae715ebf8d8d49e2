#include <algorithm>
#include <initializer_list>
#include <utility>

#include "engine/fitting/rule_fitter.h"

DecorationFitter::Entry DecorationFitter::MakeEntry(int skill, int size) const {
    return Entry{table_.decoFor[skill][size], skill, size};
}

DecorationFitter::Snapshot DecorationFitter::Save() const {
    Snapshot snapshot;
    std::copy_n(holders_, kPositionCount, snapshot.holders);
    std::copy_n(need_, count_, snapshot.need);
    snapshot.freeSlots = freeSlots_;
    return snapshot;
}

void DecorationFitter::Restore(const Snapshot& snapshot) {
    std::copy_n(snapshot.holders, kPositionCount, holders_);
    std::copy_n(snapshot.need, count_, need_);
    freeSlots_ = snapshot.freeSlots;
}

// Body decorations count once more for every doubling piece, so the body slots are filled first.
bool DecorationFitter::DoublingFit() {
    // Every retry starts from the holders as the fixed decorations left them, the weapon's
    // included, so a failed attempt leaves nothing behind and fixed decorations stay in place.
    const Snapshot saved = Save();
    const int capacity = holders_[kBody].free;
    FillBodyFirst();
    if (NormalFit()) {
        return true;
    }
    return TryBodyFillings(saved, capacity);
}

void DecorationFitter::FillBodyFirst() {
    int order[kMaxChosenSkills];
    for (int k = 0; k < count_; ++k) {
        order[k] = k;
    }
    std::stable_sort(order, order + count_, [this](int a, int b) { return need_[a] > need_[b]; });

    Entry fill[3];
    int filled = 0;
    int room = holders_[kBody].free;
    for (int i = 0; i < count_; ++i) {
        const int k = order[i];
        while (need_[k] > 0 && room > 0) {
            int size = 0;
            if (room > 2 && Points(k, 3) != 0 && factor_ * Points(k, 3) <= need_[k]) {
                size = 3;
            } else if (room > 1 && Points(k, 2) != 0 && factor_ * Points(k, 2) <= need_[k]) {
                size = 2;
            } else if (Points(k, 1) != 0 && factor_ * Points(k, 1) <= need_[k]) {
                size = 1;
            } else {
                break;
            }
            fill[filled++] = MakeEntry(k, size);
            room -= size;
            need_[k] -= factor_ * Points(k, size);
            ApplySideEffects(k, size, factor_);
        }
    }
    // The last slots go to the neediest skill that has a size-1 decoration; their minus points
    // are not counted here, the final recount does.
    while (room > 0) {
        const int k = NeediestWithSizeOne();
        if (k < 0) {
            break;
        }
        fill[filled++] = MakeEntry(k, 1);
        room -= 1;
        need_[k] -= factor_ * Points(k, 1);
    }
    PlaceInBody(fill, filled);
}

int DecorationFitter::NeediestWithSizeOne() const {
    int best = -1;
    for (int k = 0; k < count_; ++k) {
        if (tracked_[k] && need_[k] > 0 && Points(k, 1) != 0 &&
            (best < 0 || need_[k] > need_[best])) {
            best = k;
        }
    }
    return best;
}

void DecorationFitter::PlaceInBody(const Entry* entries, int count) {
    for (int size = 3; size >= 1; --size) {
        for (int i = 0; i < count; ++i) {
            if (entries[i].size == size && holders_[kBody].Place(entries[i].deco)) {
                freeSlots_ -= size;
            }
        }
    }
}

// A filling whose needs the free slots cannot hold is passed over before anything is placed;
// one with more decorations than the body has empty entries is simply tried.
bool DecorationFitter::TryBodyFillings(const Snapshot& saved, int capacity) {
    const FillingRange& range = FillingsFor(saved.need, capacity);
    int free = 0;
    for (const SocketHolder& holder : saved.holders) {
        free += holder.free;
    }
    const SocketHolder& body = saved.holders[kBody];
    const int emptyEntries =
        static_cast<int>(std::count(body.decos, body.decos + body.slots, nullptr));
    for (int f = range.start; f < range.start + range.count; ++f) {
        const Filling& filling = fillings_[static_cast<std::size_t>(f)];
        if (filling.count <= emptyEntries && !FillingMayFit(filling, saved.need, free)) {
            continue;
        }
        Restore(saved);
        PlaceInBody(filling.items, filling.count);
        for (int k = 0; k < count_; ++k) {
            need_[k] -= factor_ * filling.drop[k];
        }
        ClearLists();
        if (NormalFit()) {
            return true;
        }
    }
    return false;
}

// The test the normal fitting starts with, made on the needs and free slots the filling would
// leave. Those are known before placing when the body has an empty entry for each of its
// decorations: together they take no more than the body's free slots, so all of them get in.
bool DecorationFitter::FillingMayFit(const Filling& filling, const int* savedNeed, int free) const {
    int need[kMaxChosenSkills];
    for (int k = 0; k < count_; ++k) {
        need[k] = savedNeed[k] - factor_ * filling.drop[k];
    }
    return SlotsMayHold(need, free - filling.slots);
}

void DecorationFitter::CountDrops(Filling& filling) const {
    for (int i = 0; i < filling.count; ++i) {
        const Entry& item = filling.items[i];
        filling.slots += item.size;
        filling.drop[item.skill] += Points(item.skill, item.size);
        for (int m = 0; m < count_; ++m) {
            if (tracked_[m]) {
                filling.drop[m] += table_.decoMinus[item.skill][m][item.size];
            }
        }
    }
}

const DecorationFitter::FillingRange& DecorationFitter::FillingsFor(const int* savedNeed,
                                                                    int capacity) {
    int needy = 0;
    for (int k = 0; k < count_; ++k) {
        if (tracked_[k] && savedNeed[k] > 0) {
            needy |= 1 << k;
        }
    }
    FillingRange& range = fillingRanges_[capacity][needy];
    if (range.start < 0) {
        Filling gathered[kMaxFillings];
        range.count = CollectFillings(savedNeed, capacity, gathered);
        for (int f = 0; f < range.count; ++f) {
            CountDrops(gathered[f]);
        }
        range.start = static_cast<int>(fillings_.size());
        fillings_.insert(fillings_.end(), gathered, gathered + range.count);
    }
    return range;
}

// The same decorations in another order are one filling; a missing decoration leaves its place
// empty.
int DecorationFitter::CollectFillings(const int* savedNeed, int capacity, Filling* fillings) const {
    static_assert(3 * 8 + kMaxRuleFittingSkills <= 31,
                  "a filling's code packs a decoration in 5 bits");
    int count = 0;
    auto add = [&](std::initializer_list<std::pair<int, int>> parts) {
        Filling filling;
        int codes[3] = {};
        for (const auto& [skill, size] : parts) {
            if (table_.decoFor[skill][size] != nullptr) {
                filling.items[filling.count] = MakeEntry(skill, size);
                codes[filling.count++] = size * 8 + skill + 1;
            }
        }
        std::sort(codes, codes + 3);
        filling.code = codes[0] | codes[1] << 5 | codes[2] << 10;
        const bool seen = std::any_of(fillings, fillings + count,
                                      [&](const Filling& f) { return f.code == filling.code; });
        if (filling.count > 0 && !seen) {
            fillings[count++] = filling;
        }
    };
    int needy[kMaxChosenSkills];
    int n = 0;
    for (int k = 0; k < count_; ++k) {
        if (tracked_[k] && savedNeed[k] > 0) {
            needy[n++] = k;
        }
    }
    for (int a = 0; a < n; ++a) {
        const int i = needy[a];
        const bool hasOne = table_.decoFor[i][1] != nullptr;
        if (capacity == 1) {
            add({{i, 1}});
            continue;
        }
        if (capacity == 2) {
            add({{i, 2}});
            for (int b = 0; hasOne && b < n; ++b) {
                add({{i, 1}, {needy[b], 1}});
            }
            continue;
        }
        if (capacity != 3) {
            continue;
        }
        add({{i, 3}});
        for (int b = 0; b < n; ++b) {
            if (hasOne && table_.decoFor[i][2] != nullptr) {
                add({{i, 2}, {needy[b], 1}});
            }
            for (int c = 0; hasOne && c < n; ++c) {
                add({{i, 1}, {needy[b], 1}, {needy[c], 1}});
            }
        }
    }
    return count;
}
