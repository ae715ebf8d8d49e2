#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "engine/exact/exact_fitting.h"

namespace {

CDecoData Decoration(int size, int system, int points, int otherSystem = 0, int otherPoints = 0) {
    CDecoData deco;
    deco.size = size;
    deco.skillId[0] = system;
    deco.skillPoints[0] = points;
    deco.skillId[1] = otherSystem;
    deco.skillPoints[1] = otherPoints;
    return deco;
}

// The fillings of one holder: every choice of decorations, in table order, that fits `capacity`.
std::vector<std::vector<const CDecoData*>> FillingsOf(const std::vector<CDecoData*>& decos,
                                                      int capacity, std::size_t from = 0) {
    std::vector<std::vector<const CDecoData*>> fillings = {{}};
    for (std::size_t d = from; d < decos.size(); ++d) {
        if (decos[d]->size > capacity) {
            continue;
        }
        for (auto rest : FillingsOf(decos, capacity - decos[d]->size, d)) {
            rest.insert(rest.begin(), decos[d]);
            fillings.push_back(rest);
        }
    }
    return fillings;
}

constexpr int kRandomSkills = 3;
constexpr int kRandomHolders = 3;
constexpr int kUnmet = 99 * 64;

// The least cost (64 per slot and 1 per decoration) of decorations in the first holders of `room`
// that meet every skill, by trying every filling of each; kUnmet where none does.
int BruteForceLeastCost(const TrackedSkill* skills, const std::vector<CDecoData*>& decos,
                        const FreeRoom& room) {
    std::vector<std::vector<const CDecoData*>> fillings[kRandomHolders];
    for (int p = 0; p < kRandomHolders; ++p) {
        fillings[p] = FillingsOf(decos, room.capacity[p]);
    }
    int least = kUnmet;
    for (const auto& a : fillings[0]) {
        for (const auto& b : fillings[1]) {
            for (const auto& c : fillings[2]) {
                const std::vector<const CDecoData*>* chosen[kRandomHolders] = {&a, &b, &c};
                std::array<int, kRandomSkills> gains{};
                int cost = 0;
                for (int p = 0; p < kRandomHolders; ++p) {
                    for (const CDecoData* deco : *chosen[p]) {
                        cost += 64 * deco->size + 1;
                        for (int k = 0; k < kRandomSkills; ++k) {
                            gains[k] +=
                                room.times[p] * skills[k].Gain(deco->PointsFor(skills[k].systemId));
                        }
                    }
                }
                bool met = true;
                for (int k = 0; k < kRandomSkills; ++k) {
                    met = met && gains[k] >= skills[k].Required(0);
                }
                least = met ? std::min(least, cost) : least;
            }
        }
    }
    return least;
}

} // namespace

// Small random cases against trying every filling: decorations that take points from another
// skill, a body counted twice, goals that only the larger fillings reach. The fitter passes over
// most fillings unweighed by its bounds; none that a least arrangement needs may be among them.
TEST(ExactFittingTest, DecidesAndArrangesAsTryingEveryFilling) {
    std::mt19937 random(11);
    auto draw = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    for (int round = 0; round < 3000; ++round) {
        TrackedSkill skills[kRandomSkills];
        for (int k = 0; k < kRandomSkills; ++k) {
            skills[k] = {k + 1, 1, draw(1, 7)};
        }
        std::vector<CDecoData> owned;
        for (int d = 0; d < 5; ++d) {
            const int skill = draw(1, kRandomSkills);
            const int other = skill % kRandomSkills + 1;
            owned.push_back(Decoration(draw(1, 3), skill, draw(1, 3), other, draw(-2, 2)));
        }
        std::vector<CDecoData*> decos;
        for (CDecoData& deco : owned) {
            decos.push_back(&deco);
        }
        FreeRoom room;
        for (int p = 0; p < kPositionCount; ++p) {
            room.capacity[p] = p < kRandomHolders ? draw(0, 3) : 0;
        }
        room.times[1] = draw(1, 2);
        ExactFitter fitter(skills, kRandomSkills, decos);
        const int base[kRandomSkills] = {};
        const int least = BruteForceLeastCost(skills, decos, room);
        SCOPED_TRACE(round);
        ASSERT_EQ(fitter.CanMeet(room, base), least != kUnmet);
        if (least != kUnmet) {
            EXPECT_TRUE(fitter.TakesAtMost(room, base, least / 64));
            EXPECT_FALSE(fitter.TakesAtMost(room, base, least / 64 - 1));
            DecoBlock added;
            ASSERT_TRUE(fitter.Arrange(room, base, added));
            int cost = 0;
            for (const auto& position : added.decos) {
                for (const CDecoData* deco : position) {
                    cost += deco != nullptr ? 64 * deco->size + 1 : 0;
                }
            }
            EXPECT_EQ(cost, least);
        }
    }
}

// The only arrangement puts a surplus into a skill that is met already, as the decoration the
// other skill needs takes a point from it: arranging must not pass over the surplus.
TEST(ExactFittingTest, ArrangesTheSurplusALaterDecorationTakesAway) {
    const TrackedSkill skills[2] = {{1, 1, 1}, {2, 1, 0}};
    CDecoData surplus = Decoration(3, 2, 1);
    CDecoData wanted = Decoration(1, 1, 1, 2, -1);
    ExactFitter fitter(skills, 2, {&surplus, &wanted});
    FreeRoom room;
    room.capacity[0] = 3;
    room.capacity[1] = 1;
    const int base[2] = {0, 0};
    DecoBlock added;
    ASSERT_TRUE(fitter.CanMeet(room, base));
    ASSERT_TRUE(fitter.Arrange(room, base, added));
    EXPECT_EQ(added.decos[0][0], &surplus);
    EXPECT_EQ(added.decos[1][0], &wanted);
}

// Under a doubled body the first arrangement found takes one decoration more than the least, in
// as many slots: the bound that stops the search there must count the decorations exactly.
TEST(ExactFittingTest, ArrangesTheFewestDecorationsUnderADoubledBody) {
    const TrackedSkill skills[3] = {{1, 1, 7}, {2, 1, 3}, {3, 1, 4}};
    CDecoData small = Decoration(1, 3, 3, 1, -1);
    CDecoData large = Decoration(3, 2, 2, 3, -1);
    CDecoData middle = Decoration(2, 1, 3);
    ExactFitter fitter(skills, 3, {&small, &large, &middle});
    FreeRoom room;
    room.capacity[0] = 2;
    room.capacity[1] = 3;
    room.capacity[2] = 3;
    room.capacity[3] = 3;
    room.times[1] = 2;
    const int base[3] = {0, 0, 0};
    DecoBlock added;
    ASSERT_TRUE(fitter.Arrange(room, base, added));
    int slots = 0;
    int count = 0;
    for (const auto& position : added.decos) {
        for (const CDecoData* deco : position) {
            slots += deco != nullptr ? deco->size : 0;
            count += deco != nullptr ? 1 : 0;
        }
    }
    EXPECT_EQ(slots, 11);
    EXPECT_EQ(count, 5);
}
