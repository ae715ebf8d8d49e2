#include <gtest/gtest.h>

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

} // namespace

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
