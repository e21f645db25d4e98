// The text rules of the unsigned number fields.

#include "number_field.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct FieldText {
    const wchar_t* text;
    bool accepted;
    std::uint32_t value;  // when accepted
};

class ParseUnsignedField : public ::testing::TestWithParam<FieldText> {};

TEST_P(ParseUnsignedField, FollowsTheFieldRules) {
    const FieldText& c = GetParam();
    std::uint32_t value = 12345;  // a rejected text must leave it alone
    EXPECT_EQ(parseUnsignedField(c.text, value), c.accepted);
    EXPECT_EQ(value, c.accepted ? c.value : 12345u);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseUnsignedField,
                         ::testing::Values(FieldText{L"7", true, 7}, FieldText{L" \t7 \t", true, 7},
                                           FieldText{L"+5", true, 5}, FieldText{L"0", true, 0},
                                           FieldText{L"000", true, 0}, FieldText{L"007", true, 7},
                                           FieldText{L"  0  ", true, 0},
                                           FieldText{L"4294967295", true, 4294967295u},
                                           FieldText{L"4294967296", true, 4294967295u},
                                           FieldText{L"99999999999999999999", true, 4294967295u},
                                           FieldText{L"", false, 0}, FieldText{L"   ", false, 0},
                                           FieldText{L"abc", false, 0}, FieldText{L"-3", false, 0},
                                           FieldText{L" -0", false, 0}, FieldText{L"+0", false, 0},
                                           FieldText{L"+", false, 0}, FieldText{L"7x", false, 0},
                                           FieldText{L"7 7", false, 0}, FieldText{L"0x7", false, 0},
                                           FieldText{L"7.0", false, 0},
                                           FieldText{L"+-5", false, 0}));

TEST(ParseUnsignedFieldLimit, ReadsOnlyTheFirst31Characters) {
    std::uint32_t value = 0;
    // 40 digits: the first 31 already overflow 32 bits.
    EXPECT_TRUE(parseUnsignedField(L"1234567890123456789012345678901234567890", value));
    EXPECT_EQ(value, 4294967295u);

    // What follows the 31st character is never looked at.
    const std::wstring thirtyOne = std::wstring(30, L' ') + L"5";
    EXPECT_TRUE(parseUnsignedField(thirtyOne + L"garbage", value));
    EXPECT_EQ(value, 5u);
    // A digit beyond the limit does not count either.
    EXPECT_FALSE(parseUnsignedField(std::wstring(31, L' ') + L"5", value));
}

TEST(RangeMessage, NamesBothBounds) {
    EXPECT_EQ(rangeMessage(1, 9), L"Please enter an integer between 1 and 9.");
    EXPECT_EQ(rangeMessage(0, 4095), L"Please enter an integer between 0 and 4095.");
    EXPECT_EQ(rangeMessage(0, 4294967295u), L"Please enter an integer between 0 and 4294967295.");
}

}  // namespace
