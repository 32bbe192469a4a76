// The entry rule as a table: every way people write amounts, and what the
// prize rule and the count rule make of it.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "number_entry.h"

namespace
{

struct EntryRow
{
    const char *Typed;
    const char *Normalised;
    int32_t Decimals;
    bool PrizeAccepted;
    double Prize;
    bool CountAccepted;
    int32_t Count;
};

const EntryRow EntryRows[] = {
    {"1500", "1500", 0, true, 1500.0, true, 1500},
    {"1 500", "1500", 0, true, 1500.0, true, 1500},
    {"1 500 000", "1500000", 0, true, 1500000.0, true, 1500000},
    {" 7 ", "7", 0, true, 7.0, true, 7},
    {"\t12\t", "12", 0, true, 12.0, true, 12},
    {" 1 2 ", "12", 0, true, 12.0, true, 12},
    {"007", "007", 0, true, 7.0, true, 7},
    {"0", "0", 0, true, 0.0, true, 0},
    {"12,5", "12.5", 1, true, 12.5, false, 0},
    {"12.50", "12.50", 2, true, 12.5, false, 0},
    {"1 000,5", "1000.5", 1, true, 1000.5, false, 0},
    {"0.5", "0.5", 1, true, 0.5, false, 0},
    {"5.", "5.", 0, true, 5.0, false, 0},
    {"1. 5", "1.5", 1, true, 1.5, false, 0},
    {"1.5 5", "1.55", 2, true, 1.55, false, 0},
    {"1  5", "", 0, false, 0, false, 0},
    {"1.  5", "", 0, false, 0, false, 0},
    {"1 .5", "", 0, false, 0, false, 0},
    {".5", "", 0, false, 0, false, 0},
    {"1.2.3", "", 0, false, 0, false, 0},
    {"1,000.50", "", 0, false, 0, false, 0},
    {"1,5,0", "", 0, false, 0, false, 0},
    {"-3", "", 0, false, 0, false, 0},
    {"+3", "", 0, false, 0, false, 0},
    {"1e3", "", 0, false, 0, false, 0},
    {"1\t2", "", 0, false, 0, false, 0},
    {"12x", "", 0, false, 0, false, 0},
    {"", "", 0, false, 0, false, 0},
    {"   \t ", "", 0, false, 0, false, 0},
    {"0.1234567890", "0.1234567890", 10, true, 0.123456789, false, 0},
    {"99999999999", "99999999999", 0, true, 99999999999.0, true, 2147483647},
    {"2147483647", "2147483647", 0, true, 2147483647.0, true, 2147483647},
    {"1\xA0" "500", "", 0, false, 0, false, 0},  // no-break space does not group
    {"1'500", "", 0, false, 0, false, 0},        // nor does an apostrophe
    {"1 500\r", "", 0, false, 0, false, 0},      // only blanks and tabs are trimmed
    {"\xC3\xA9", "", 0, false, 0, false, 0},     // bytes above 0x7F
};

class EntryTable : public ::testing::TestWithParam<EntryRow>
{
};

TEST_P(EntryTable, NormaliserCountsDecimalsAndRewritesTheText)
{
    const EntryRow &row = GetParam();
    char text[64];
    std::strcpy(text, row.Typed);
    TrimBlanks(text, TrimBoth);
    char output[64];
    int32_t decimals = -7;
    NormalizeNumber(output, text, &decimals);
    EXPECT_STREQ(row.Normalised, output);
    EXPECT_EQ(row.Decimals, decimals);
}

TEST_P(EntryTable, PrizeRuleAcceptsOnlyWholeNonNegativeNumbers)
{
    const EntryRow &row = GetParam();
    char text[64];
    std::strcpy(text, row.Typed);
    double value = -1.0;
    int32_t decimals = -1;
    const bool accepted = ParsePayoutText(text, &value, &decimals);
    ASSERT_EQ(row.PrizeAccepted, accepted);
    EXPECT_STREQ(row.Normalised, text) << "the buffer is normalised in place";
    if (accepted)
    {
        EXPECT_EQ(row.Prize, value);
        EXPECT_EQ(row.Decimals, decimals);
    }
}

TEST_P(EntryTable, CountRuleAcceptsOnlyWholeIntegers)
{
    const EntryRow &row = GetParam();
    char text[64];
    std::strcpy(text, row.Typed);
    int32_t value = -1;
    const bool accepted = ParseCountText(text, &value);
    ASSERT_EQ(row.CountAccepted, accepted);
    if (accepted)
    {
        EXPECT_EQ(row.Count, value);
    }
}

void PrintTo(const EntryRow &row, std::ostream *out)
{
    *out << '"' << row.Typed << '"';
}

INSTANTIATE_TEST_SUITE_P(Rows, EntryTable, ::testing::ValuesIn(EntryRows));

TEST(NormalizeNumber, RejectionReturnsWhatWasWrittenBeforeTheBadCharacter)
{
    char output[16] = "junk";
    int32_t decimals = 5;
    EXPECT_EQ(2, NormalizeNumber(output, "12x", &decimals));
    EXPECT_STREQ("", output);
    EXPECT_EQ(0, decimals);
}

TEST(NormalizeNumber, NullArgumentsWriteNothing)
{
    int32_t decimals = 5;
    EXPECT_EQ(0, NormalizeNumber(nullptr, "12", &decimals));
    EXPECT_EQ(0, decimals);
    char output[4] = "abc";
    decimals = 5;
    EXPECT_EQ(0, NormalizeNumber(output, nullptr, &decimals));
    EXPECT_STREQ("", output);
    EXPECT_EQ(0, decimals);
    EXPECT_EQ(3, NormalizeNumber(output, "1.5", nullptr));
    EXPECT_STREQ("1.5", output);
}

TEST(NormalizeNumber, NeverLongerThanItsInputSoItRunsInPlace)
{
    char text[] = "1 2 3 4, 5 6";
    int32_t decimals = 0;
    EXPECT_EQ(7, NormalizeNumber(text, text, &decimals));
    EXPECT_STREQ("1234.56", text);
    EXPECT_EQ(2, decimals);
}

struct TrimRow
{
    const char *Text;
    int32_t Flags;
    const char *Result;
    int32_t Length;
};

TEST(TrimBlanks, TrimsBlanksAndTabsAtTheRequestedEndsOnly)
{
    const TrimRow rows[] = {
        {" \t12 3\t ", TrimBoth, "12 3", 4},
        {" \t12 3\t ", TrimLeading, "12 3\t ", 6},
        {" \t12 3\t ", TrimTrailing, " \t12 3", 6},
        {" \t12 3\t ", 0, " \t12 3\t ", 0},
        {" \t \t", TrimBoth, "", 0},
        {"\r12\n", TrimBoth, "\r12\n", 4},
        {"\xA0" "12", TrimBoth, "\xA0" "12", 3},
        {"", TrimBoth, "", 0},
    };
    for (const TrimRow &row : rows)
    {
        char text[32];
        std::strcpy(text, row.Text);
        EXPECT_EQ(row.Length, TrimBlanks(text, row.Flags)) << row.Text;
        EXPECT_STREQ(row.Result, text) << row.Text;
    }
    EXPECT_EQ(0, TrimBlanks(nullptr, TrimBoth));
}

TEST(ConvertInteger, SaturatesAtTheSigned32BitLimitAndConsumesEveryDigit)
{
    const struct
    {
        const char *Text;
        int32_t Value;
        int32_t Consumed;
    } rows[] = {
        {"2147483646", 2147483646, 10},
        {"2147483647", 2147483647, 10},
        {"2147483648", 2147483647, 10},
        {"99999999999999999999999", 2147483647, 23},
        {"12.5", 12, 2},
        {"", 0, 0},
    };
    for (const auto &row : rows)
    {
        int32_t consumed = -1;
        EXPECT_EQ(row.Value, ConvertInteger(row.Text, 10, &consumed)) << row.Text;
        EXPECT_EQ(row.Consumed, consumed) << row.Text;
    }
}

TEST(ConvertReal, ConsumesATrailingPoint)
{
    int32_t consumed = 0;
    EXPECT_EQ(5.0, ConvertReal("5.", &consumed));
    EXPECT_EQ(2, consumed);
}

TEST(BubbleRanges, BoundsAreInclusive)
{
    EXPECT_FALSE(CheckBubblePlayers(1));
    EXPECT_TRUE(CheckBubblePlayers(2));
    EXPECT_TRUE(CheckBubblePlayers(1000));
    EXPECT_FALSE(CheckBubblePlayers(1001));
    EXPECT_FALSE(CheckBubbleChips(9));
    EXPECT_TRUE(CheckBubbleChips(10));
    EXPECT_TRUE(CheckBubbleChips(100000));
    EXPECT_FALSE(CheckBubbleChips(100001));
}

} // namespace
