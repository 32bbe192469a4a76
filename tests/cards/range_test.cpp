// Range text: what each notation holds (counted from its definition), the
// errors that name the bad token, the written form, and the round trip.
#include <gtest/gtest.h>

#include <random>

#include "preflop.h"
#include "range.h"

namespace
{

using namespace ostrel::cards;

Range Parsed(const std::string &text)
{
    Range range;
    const ostrel::Status status = ParseRange(text, range);
    EXPECT_TRUE(status.Ok) << text << ": " << status.Message;
    return range;
}

int CombosOf(const Range &range)
{
    return LiveCombos(range, 0);
}

double WeightOf(const Range &range, const char *className)
{
    int handClass = -1;
    EXPECT_TRUE(ParseClassName(className, handClass)) << className;
    int combos[MaxClassCombos];
    CombosOfClass(handClass, combos);
    return range.Weight[static_cast<size_t>(combos[0])];
}

TEST(Range, WhatEachNotationHolds)
{
    struct Row
    {
        const char *Text;
        int Combos;
        const char *In;  // a class in the range
        const char *Out; // a class not in it
    };
    const Row rows[] = {
        {"TT", 6, "TT", "JJ"},
        {"TT+", 5 * 6, "AA", "99"},
        {"22-55", 4 * 6, "44", "66"},
        {"55-22", 4 * 6, "22", "66"},
        {"AKs", 4, "AKs", "AKo"},
        {"AKo", 12, "AKo", "AKs"},
        {"AK", 16, "AKs", "AQs"},
        {"A2s+", 12 * 4, "A2s", "KQs"},
        {"KTo+", 3 * 12, "KQo", "K9o"},
        {"K9+", 4 * 16, "KJo", "K8s"},
        {"T9s-T6s", 4 * 4, "T7s", "T5s"},
        {"T6s-T9s", 4 * 4, "T9s", "T9o"},
        {"random", 1326, "72o", ""},
        {"RANDOM", 1326, "32s", ""},
        {"tt+, aks", 34, "AKs", "AKo"},
        {" AA ,  KK ", 12, "KK", "QQ"},
        {"AhKh", 1, "", "AKo"},
        {"AhKh, AsKs", 2, "", "AKo"},
        {"100%", 1326, "72o", ""},
        {"0%", 0, "", "AA"},
        {"AA, KK:0.5, AA:0", 6, "KK", "AA"},
        {"", 0, "", "AA"},
    };
    for (const Row &row : rows)
    {
        const Range range = Parsed(row.Text);
        EXPECT_EQ(row.Combos, CombosOf(range)) << row.Text;
        if (row.In[0] != '\0')
        {
            EXPECT_GT(WeightOf(range, row.In), 0.0) << row.Text;
        }
        if (row.Out[0] != '\0')
        {
            EXPECT_EQ(0.0, WeightOf(range, row.Out)) << row.Text;
        }
    }
    Card ah = 0;
    Card kh = 0;
    ASSERT_TRUE(ParseCard("Ah", ah) && ParseCard("Kh", kh));
    EXPECT_EQ(1.0, Parsed("AhKh").Weight[static_cast<size_t>(ComboIndex(ah, kh))]);
    EXPECT_EQ(0.5, WeightOf(Parsed("AKs:0.5"), "AKs"));
    EXPECT_EQ(0.25, WeightOf(Parsed("AA, KK: 0.25"), "KK"));
}

TEST(Range, BadTokensAreNamed)
{
    struct Row
    {
        const char *Text;
        const char *Named;
    };
    const Row rows[] = {
        {"AA, KX", "\"KX\""},          {"AKs, ", "empty"},       {"AA,,KK", "empty"},
        {"AKx", "\"AKx\""},            {"AsAs", "\"AsAs\""},     {"AK:1.5", "\"AK:1.5\""},
        {"AK:-0.5", "\"AK:-0.5\""},    {"AK:", "\"AK:\""},       {"AK:x", "\"AK:x\""},
        {"101%", "\"101%\""},          {"-5%", "\"-5%\""},       {"%", "\"%\""},
        {"T9s-T6o", "\"T9s-T6o\""},    {"T9s-86s", "\"T9s-86s\""}, {"22-AKs", "\"22-AKs\""},
        {"AA+x", "\"AA+x\""},          {"KA", "\"KA\""},         {"AKs junk", "\"AKs junk\""},
        {"AK:nan", "\"AK:nan\""},      {"AK:inf", "\"AK:inf\""}, {"randomly", "\"randomly\""},
    };
    for (const Row &row : rows)
    {
        Range range;
        const ostrel::Status status = ParseRange(row.Text, range);
        EXPECT_FALSE(status.Ok) << row.Text;
        EXPECT_NE(std::string::npos, status.Message.find(row.Named)) << row.Text << ": " << status.Message;
    }
}

TEST(Range, WrittenCompactly)
{
    struct Row
    {
        const char *Text;
        const char *Written;
    };
    const Row rows[] = {
        {"22+, A2s+, K9s+, AJo+", "22+, A2s+, K9s+, AJo+"},
        {"AJo+, K9s+, A2s+, 22+", "22+, A2s+, K9s+, AJo+"},
        {"QQ, JJ, TT", "TT-QQ"},
        {"AA, KK, QQ", "QQ+"},
        {"T9s-T6s", "T6s+"},
        {"T8s, T7s, T6s", "T8s-T6s"},
        {"KQo-K9o, 87s", "87s, K9o+"},
        {"AK", "AKs, AKo"},
        {"AKs:0.5", "AKs:0.5"},
        {"AKs:0.1", "AKs:0.1"},
        {"AhKh", "AhKh"},
        {"AK, AhKh:0.5", "AKo, AcKc, AdKd, AhKh:0.5, AsKs"},
        {"random", "random"},
        {"random:0.5", nullptr},
        {"", ""},
    };
    for (const Row &row : rows)
    {
        const std::string written = FormatRange(Parsed(row.Text));
        EXPECT_EQ(Parsed(row.Text).Weight, Parsed(written).Weight) << row.Text << " -> " << written;
        if (row.Written != nullptr)
        {
            EXPECT_EQ(row.Written, written) << row.Text;
        }
    }
}

// Random ranges, some classes whole with random weights, some combos alone:
// written and read back bit for bit.
TEST(Range, RoundTripOfRandomRanges)
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (int trial = 0; trial < 200; ++trial)
    {
        Range range;
        for (int c = 0; c < ClassCount; ++c)
        {
            const uint64_t draw = random() % 4;
            if (draw == 1)
                SetClass(range, c, 1.0);
            else if (draw == 2)
                SetClass(range, c, trial % 2 ? unit(random) : 0.5);
            else if (draw == 3)
            {
                int combos[MaxClassCombos];
                const int count = CombosOfClass(c, combos);
                range.Weight[static_cast<size_t>(combos[random() % static_cast<uint64_t>(count)])] = unit(random);
            }
        }
        Range back;
        const std::string text = FormatRange(range);
        ASSERT_TRUE(ParseRange(text, back).Ok) << text;
        ASSERT_EQ(range.Weight, back.Weight) << text;
    }
}

// The ranking is the order of equity against a random hand, which the class
// table gives; a top share takes classes until it reaches its combos.
TEST(Range, TopSharesFollowTheRanking)
{
    const auto &ranking = ClassRanking();
    EXPECT_EQ("AA", ClassName(ranking[0]));
    EXPECT_EQ("KK", ClassName(ranking[1]));
    EXPECT_EQ("32o", ClassName(ranking[ClassCount - 1]));
    auto versusRandom = [](int handClass) {
        double points = 0.0;
        double showdowns = 0.0;
        for (int b = 0; b < ClassCount; ++b)
        {
            const MatchupCounts counts = ClassVsClass(handClass, b);
            points += static_cast<double>(counts.Wins) + 0.5 * static_cast<double>(counts.Ties);
            showdowns += static_cast<double>(counts.Showdowns);
        }
        return points / showdowns;
    };
    for (size_t i = 1; i < ClassCount; ++i)
        EXPECT_GE(versusRandom(ranking[i - 1]), versusRandom(ranking[i])) << i;
    // The fewest leading classes holding at least the share.
    for (double percent : {0.5, 1.0, 5.0, 15.0, 33.3, 50.0, 99.9})
    {
        const Range top = TopShare(percent);
        const int combos = CombosOf(top);
        const double wanted = percent / 100.0 * ComboCount;
        EXPECT_GE(combos, wanted) << percent;
        int lastClass = -1;
        int taken = 0;
        for (uint8_t c : ranking)
            if (WeightOf(top, ClassName(c).c_str()) > 0.0)
            {
                lastClass = c;
                taken += 1;
            }
        ASSERT_GE(lastClass, 0);
        EXPECT_LT(combos - ComboCountOfClass(lastClass), wanted) << percent;
        for (int i = 0; i < taken; ++i)
            EXPECT_EQ(1.0, WeightOf(top, ClassName(ranking[static_cast<size_t>(i)]).c_str())) << percent;
    }
}

} // namespace
