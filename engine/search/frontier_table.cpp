#include "engine/search/frontier_table.h"

#include <algorithm>

namespace {
// The exact fitting tells the slots of gains up to this; a larger gain needs as many as it.
constexpr int kWidestShortfall = 511;
} // namespace

void FrontierTable::Build(const std::vector<Choice>& choices, const ExactFitter& fitter,
                          int slotCap) {
    count_ = fitter.SkillCount();
    size_ = static_cast<int>(choices.size());
    stride_ = (size_ + kBlock - 1) / kBlock * kBlock;
    slotCap_ = slotCap;
    defense_.clear();
    slots_.assign(stride_, 0);
    mostChoiceSlots_ = 0;
    for (int e = 0; e < size_; ++e) {
        defense_.push_back(choices[e].defense);
        slots_[e] = static_cast<std::uint8_t>(std::clamp(choices[e].slots, 0, slotCap));
        mostChoiceSlots_ = std::max(mostChoiceSlots_, choices[e].slots);
    }
    anyShared_ = false;
    for (int k = 0; k < count_; ++k) {
        sharedWith_[k] = 0;
        for (int m = 0; m < count_; ++m) {
            if (m != k && fitter.ServesBoth(k, m)) {
                sharedWith_[k] |= std::uint32_t{1} << m;
                anyShared_ = true;
            }
        }
        if (size_ > 0) {
            BuildNeedRows(k, choices, fitter);
            BuildLackRows(k, choices);
        }
    }
}

// Row x holds, per choice, the slots skill k needs when the prefix is x points short and the
// choice brings its own: none from the choice's points up, and capped one above the most any
// combination holds, which also keeps their sum small. Past the last row the values stay those
// of the last, or all reach the cap.
void FrontierTable::BuildNeedRows(int k, const std::vector<Choice>& choices,
                                  const ExactFitter& fitter) {
    const int cap = slotCap_ + 1;
    std::vector<std::uint8_t> slotsFor(1, 0);
    for (int r = 1; r <= kWidestShortfall && slotsFor.back() < cap; ++r) {
        slotsFor.push_back(static_cast<std::uint8_t>(std::min(fitter.SkillSlotsNeeded(k, r), cap)));
    }
    const int widest = static_cast<int>(slotsFor.size()) - 1;
    const auto [least, most] =
        std::minmax_element(choices.begin(), choices.end(), [k](const Choice& a, const Choice& b) {
            return a.points[k] < b.points[k];
        });
    Rows& rows = need_[k];
    rows.first = least->points[k];
    rows.last = most->points[k] + widest;
    rows.bytes.assign(static_cast<std::size_t>(rows.last - rows.first + 1) * stride_,
                      static_cast<std::uint8_t>(cap));
    for (int x = rows.first; x <= rows.last; ++x) {
        std::uint8_t* row = &rows.bytes[static_cast<std::size_t>(x - rows.first) * stride_];
        for (int e = 0; e < size_; ++e) {
            row[e] = slotsFor[std::clamp(x - choices[e].points[k], 0, widest)];
        }
    }
}

// Row w, for w above the weakest choice's best, marks the choices whose best with decorations
// falls short of a prefix w short of the goal.
void FrontierTable::BuildLackRows(int k, const std::vector<Choice>& choices) {
    const auto [least, most] =
        std::minmax_element(choices.begin(), choices.end(), [k](const Choice& a, const Choice& b) {
            return a.with[k] < b.with[k];
        });
    Rows& rows = lack_[k];
    rows.first = least->with[k];
    rows.last = most->with[k];
    rows.bytes.assign(static_cast<std::size_t>(rows.last - rows.first) * stride_, 1);
    for (int w = rows.first + 1; w <= rows.last; ++w) {
        std::uint8_t* row = &rows.bytes[static_cast<std::size_t>(w - rows.first - 1) * stride_];
        for (int e = 0; e < size_; ++e) {
            row[e] = choices[e].with[k] < w ? 1 : 0;
        }
    }
}

int FrontierTable::Eligible(std::int64_t leastDefense) const {
    const auto end =
        std::partition_point(defense_.begin(), defense_.end(),
                             [leastDefense](std::int64_t d) { return d >= leastDefense; });
    return static_cast<int>(end - defense_.begin());
}

bool FrontierTable::AnyMayMeet(const int* pointsShort, const int* withShort, int slots,
                               std::int64_t leastDefense) const {
    if (size_ == 0) {
        return false;
    }
    // The rows' cap holds only while no prefix and choice hold more slots than it.
    if (slots + mostChoiceSlots_ > slotCap_) {
        return true;
    }
    const std::uint8_t* need[kMaxTrackedSkills];
    const std::uint8_t* lack[kMaxTrackedSkills];
    int skillOf[kMaxTrackedSkills];
    int needCount = 0;
    int lackCount = 0;
    for (int k = 0; k < count_; ++k) {
        const Rows& needRows = need_[k];
        if (pointsShort[k] > needRows.first) {
            const int x = std::min(pointsShort[k], needRows.last) - needRows.first;
            need[needCount] = &needRows.bytes[static_cast<std::size_t>(x) * stride_];
            skillOf[needCount++] = k;
        }
        const Rows& lackRows = lack_[k];
        if (withShort[k] > lackRows.last) {
            return false;
        }
        if (withShort[k] > lackRows.first) {
            const int w = withShort[k] - lackRows.first - 1;
            lack[lackCount++] = &lackRows.bytes[static_cast<std::size_t>(w) * stride_];
        }
    }
    const int end = Eligible(leastDefense);
    for (int base = 0; base < end; base += kBlock) {
        const bool any =
            anyShared_
                ? AnySharedInBlock(base, end, need, skillOf, needCount, lack, lackCount, slots)
                : AnyInBlock(base, end, need, needCount, lack, lackCount, slots);
        if (any) {
            return true;
        }
    }
    return false;
}

// Written lane by lane over fixed blocks so that the compiler turns each loop into a few vector
// instructions.
bool FrontierTable::AnyInBlock(int base, int end, const std::uint8_t* const* need, int needCount,
                               const std::uint8_t* const* lack, int lackCount, int slots) const {
    std::uint16_t total[kBlock] = {};
    std::uint8_t lacking[kBlock] = {};
    for (int j = 0; j < needCount; ++j) {
        const std::uint8_t* row = need[j] + base;
        for (int i = 0; i < kBlock; ++i) {
            total[i] = static_cast<std::uint16_t>(total[i] + row[i]);
        }
    }
    for (int j = 0; j < lackCount; ++j) {
        const std::uint8_t* row = lack[j] + base;
        for (int i = 0; i < kBlock; ++i) {
            lacking[i] = static_cast<std::uint8_t>(lacking[i] | row[i]);
        }
    }
    const int lanes = std::min(kBlock, end - base);
    const std::uint8_t* own = slots_.data() + base;
    bool any = false;
    for (int i = 0; i < kBlock; ++i) {
        any |= (i < lanes) & (lacking[i] == 0) & (total[i] <= slots + own[i]);
    }
    return any;
}

// Where one decoration helps two skills that both still need points, their slots may overlap:
// only the neediest skill's count is sure, as the exact fitting's bound takes it.
bool FrontierTable::AnySharedInBlock(int base, int end, const std::uint8_t* const* need,
                                     const int* skillOf, int needCount,
                                     const std::uint8_t* const* lack, int lackCount,
                                     int slots) const {
    const int lanes = std::min(kBlock, end - base);
    for (int i = base; i < base + lanes; ++i) {
        bool lacking = false;
        for (int j = 0; j < lackCount && !lacking; ++j) {
            lacking = lack[j][i] != 0;
        }
        if (lacking) {
            continue;
        }
        int total = 0;
        int most = 0;
        std::uint32_t needing = 0;
        std::uint32_t sharing = 0;
        for (int j = 0; j < needCount; ++j) {
            const int value = need[j][i];
            if (value > 0) {
                total += value;
                most = std::max(most, value);
                needing |= std::uint32_t{1} << skillOf[j];
                sharing |= sharedWith_[skillOf[j]];
            }
        }
        if (((needing & sharing) != 0 ? most : total) <= slots + slots_[i]) {
            return true;
        }
    }
    return false;
}
