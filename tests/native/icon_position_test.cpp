#include "icon_position.h"

#include <gtest/gtest.h>

namespace {

struct Centring {
    int client;
    int expected;
};

class CentredIcon : public ::testing::TestWithParam<Centring> {};

// A 32-pixel icon in square client areas around its size: the halves of
// odd and negative remainders round toward zero.
TEST_P(CentredIcon, StartsHalfTheSpareRoomIn) {
    const IconPosition at = centredIconPosition(GetParam().client, GetParam().client, 32, 32);
    EXPECT_EQ(at.x, GetParam().expected);
    EXPECT_EQ(at.y, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(ThirtyTwoPixels, CentredIcon,
                         ::testing::Values(Centring{36, 2}, Centring{33, 1}, Centring{30, 0},
                                           Centring{29, -1}));

TEST(CentredIconPosition, WidthAndHeightAreIndependent) {
    const IconPosition at = centredIconPosition(160, 29, 32, 16);
    EXPECT_EQ(at.x, 64);
    EXPECT_EQ(at.y, 7);
}

}  // namespace
