// Fixed-decimals output. The table holds the correctly rounded texts, so the
// native and the Windows build, which both run it, print the same texts for
// the same doubles: three and four decimals, exact halfway cases (ties to
// even), values just beside a halfway point, large values and infinity.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <string>

#include "number_entry.h"

namespace
{

struct FormatRow
{
    double Value;
    int32_t Decimals;
    const char *Text;
};

const FormatRow FormatRows[] = {
    {12.5, 2, "12.50"},
    {1500.0, 0, "1500"},
    {0.123456789, 10, "0.1234567890"},
    {0.125, 2, "0.12"},
    {0.375, 2, "0.38"},
    {2.5, 0, "2"},
    {3.5, 0, "4"},
    {0.5, 0, "0"},
    {1.5, 0, "2"},
    {2.675, 2, "2.67"},
    {0.0005, 3, "0.001"},
    {0.0015, 3, "0.002"},
    {1.00005, 4, "1.0001"},
    {38.39285714285714, 3, "38.393"},
    {32.75, 3, "32.750"},
    {28.857142857142858, 3, "28.857"},
    {2.7777777777777777, 4, "2.7778"},
    {1.1842105263157896, 4, "1.1842"},
    {18.444444444444443, 4, "18.4444"},
    {1e+20, 3, "100000000000000000000.000"},
    {123456789012.3456, 3, "123456789012.346"},
    {1e+300, 4,
        "1000000000000000052504760255204420248704468581108159154915854115511802"
        "4579889081957863713750804478640437044438328838781769425232353604305756"
        "4479218478670698284838720092657580373783023379478809005936895323497079"
        "9945081119038967640880074652742780142494579258788820056842838115669472"
        "196386865459400540160.0000"},
    {0.1, 25, "0.1000000000000000055511151"},
    {0.3333333333333333, 12, "0.333333333333"},
    {5e-324, 4, "0.0000"},
    {2147483647.0, 0, "2147483647"},
    {99999999999.0, 0, "99999999999"},
    {1.7976931348623157e+308, 3,
        "1797693134862315708145274237317043567980705675258449965989174768031572"
        "6078002853876058955863276687817154045895351438246423432132688946418276"
        "8467546703537516986049910576551282076245490090389328944075868508455133"
        "9423045832369032229481658085593321233482747978262041447231687381771809"
        "19299881250404026184124858368.000"},
    {std::numeric_limits<double>::infinity(), 4, "inf"},
    {-std::numeric_limits<double>::infinity(), 4, "-inf"},
    {-0.0, 2, "-0.00"},
};

TEST(FormatFixed, PrintsTheCorrectlyRoundedTextWithExactlyTheGivenDecimals)
{
    for (const FormatRow &row : FormatRows)
    {
        char text[FixedTextCapacity];
        EXPECT_STREQ(row.Text, FormatFixed(text, sizeof text, row.Value, row.Decimals))
            << row.Value << " with " << row.Decimals;
    }
}

TEST(FormatFixed, PrintsLikeThreeDecimalPrintfOfTheSeatResults)
{
    for (const FormatRow &row : FormatRows)
    {
        if (row.Decimals != 3)
            continue;
        char text[FixedTextCapacity];
        std::snprintf(text, sizeof text, "%0.3f", row.Value);
        EXPECT_STREQ(row.Text, text);
    }
}

TEST(FormatFixed, TheTemplateCarriesTheLastPrecisionDigit)
{
    char text[FixedTextCapacity];
    FormatFixed(text, sizeof text, 1.0, 7);
    EXPECT_STREQ("%0.7f", FixedFormatTemplate);
    FormatFixed(text, sizeof text, 1.0, 0);
    EXPECT_STREQ("%0.0f", FixedFormatTemplate);
}

TEST(FormatFixed, TenOrMoreDecimalsGiveExactlyThatManyDigits)
{
    for (int32_t decimals = 10; decimals <= 253; ++decimals)
    {
        char text[FixedTextCapacity];
        const std::string printed = FormatFixed(text, sizeof text, 12.5, decimals);
        ASSERT_EQ(std::string("12.50"), printed.substr(0, 5));
        EXPECT_EQ(static_cast<size_t>(3 + decimals), printed.size());
        EXPECT_EQ(std::string::npos, printed.find_first_not_of("0123456789.")) << printed;
    }
}

TEST(FormatFixed, TheRejectedMarkGivesTheEmptyText)
{
    char text[FixedTextCapacity] = "stale";
    EXPECT_STREQ("", FormatFixed(text, sizeof text, 150.0, -1));
}

TEST(FormatFixed, AnAcceptedPrizeSurvivesFormattingAndASecondParse)
{
    const char *typed[] = {"12.50", "1 500", "0.1234567890", "5.", "007", "99999999999.125", "0,30"};
    for (const char *entry : typed)
    {
        char text[64];
        std::snprintf(text, sizeof text, "%s", entry);
        double value = 0;
        int32_t decimals = 0;
        ASSERT_TRUE(ParsePayoutText(text, &value, &decimals)) << entry;
        char printed[FixedTextCapacity];
        FormatFixed(printed, sizeof printed, value, decimals);
        double again = 0;
        int32_t decimalsAgain = 0;
        ASSERT_TRUE(ParsePayoutText(printed, &again, &decimalsAgain)) << printed;
        EXPECT_EQ(value, again) << entry;
        EXPECT_EQ(decimals, decimalsAgain) << entry;
    }
}

} // namespace
