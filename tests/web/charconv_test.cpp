/*
 * The page module's to_chars and from_chars for doubles (web/wasm/
 * charconv_floats.h) against the native C++ library's, which every native
 * build writes with: the same text for every double written in the forms
 * the sources use (shortest, shortest scientific), and the same double, end
 * and error for every text read (general and fixed).
 */
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../../web/wasm/charconv_floats.h"

namespace
{

double FromBits(uint64_t bits)
{
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Native and page texts of `value` in a form (0 shortest, 1 scientific).
std::string Native(double value, int form)
{
    char text[400];
    const std::to_chars_result written =
        form == 1 ? std::to_chars(text, text + sizeof text, value, std::chars_format::scientific)
                  : std::to_chars(text, text + sizeof text, value);
    return std::string(text, written.ptr);
}

std::string Page(double value, int form)
{
    char text[400];
    const std::to_chars_result written = ostrel_web::WriteDouble(text, text + sizeof text, value, form);
    return std::string(text, written.ptr);
}

// The doubles compared: what the calculator writes (chips, money in cents,
// percentages, equities) and the double's hard cases (powers of two, where
// the gap below halves; subnormals; the extremes; random bit patterns).
std::vector<double> Doubles()
{
    std::vector<double> values = {0.0,
                                  -0.0,
                                  1.0,
                                  0.1,
                                  0.3,
                                  1e23,
                                  5e-324,
                                  2.2250738585072014e-308,
                                  2.2250738585072009e-308,
                                  1.7976931348623157e308,
                                  9007199254740993.0,
                                  123456789012345680000.0,
                                  1e21,
                                  1e22,
                                  0.0001,
                                  0.00001,
                                  1.0 / 3.0,
                                  2.0 / 3.0,
                                  std::numeric_limits<double>::infinity(),
                                  -std::numeric_limits<double>::infinity()};
    for (int power = -1074; power <= 1023; ++power)
    {
        values.push_back(std::ldexp(1.0, power));
        values.push_back(std::nextafter(std::ldexp(1.0, power), 0.0));
    }
    for (int cents = 0; cents < 10000; ++cents)
    {
        values.push_back(cents / 100.0);
        values.push_back(cents * 0.01);
        values.push_back(cents / 7.0);
    }
    std::mt19937_64 random(29);
    for (int i = 0; i < 30000; ++i)
    {
        const double value = FromBits(random());
        if (!std::isnan(value))
            values.push_back(value);
        values.push_back(std::uniform_real_distribution<double>(0.0, 1.0)(random));
        values.push_back(std::floor(std::uniform_real_distribution<double>(0.0, 1e16)(random)));
    }
    return values;
}

TEST(PageCharconv, WritesEveryDoubleAsTheNativeLibrary)
{
    int differing = 0;
    for (const double value : Doubles())
    {
        for (const int form : {0, 1})
        {
            const std::string native = Native(value, form);
            const std::string page = Page(value, form);
            if (native != page && ++differing <= 10)
            {
                ADD_FAILURE() << "form " << form << ": native " << native << ", page " << page;
            }
        }
    }
    EXPECT_EQ(differing, 0);
}

TEST(PageCharconv, WritesExactTexts)
{
    struct Case
    {
        double Value;
        int Form;
        const char *Text;
    };
    const Case cases[] = {
        {0.1, 0, "0.1"},       {1e23, 0, "1e+23"},       {100.0, 0, "100"},   {1234.5, 1, "1.2345e+03"},
        {5e-324, 0, "5e-324"}, {0.0001, 0, "1e-04"},    {0.0, 1, "0e+00"},   {-2.5, 0, "-2.5"},
        {1e100, 1, "1e+100"},  {123456.0, 0, "123456"}, {36028797018963968.0, 0, "36028797018963968"}, {1e-7, 0, "1e-07"}, {0.3, 1, "3e-01"},
    };
    for (const Case &one : cases)
    {
        EXPECT_EQ(Page(one.Value, one.Form), one.Text) << one.Value;
    }
}

TEST(PageCharconv, WritesNothingWhereItDoesNotFit)
{
    char text[4];
    const std::to_chars_result written = ostrel_web::WriteDouble(text, text + sizeof text, 0.125, 0);
    EXPECT_EQ(written.ec, std::errc::value_too_large);
    EXPECT_EQ(written.ptr, text + sizeof text);
}

// The texts read: what a person types, and what the reader must refuse.
TEST(PageCharconv, ReadsEveryTextAsTheNativeLibrary)
{
    std::vector<std::string> texts = {"0",      "1.5",   "-2",     ".5",     "5.",     "1e5",    "1E5",  "1e",
                                      "1e+",    "1e-3x", "abc",    "",       "-",      "+1",     " 1",   "inf",
                                      "-INF",   "nan",   "1e400",  "1e-400", "0x10",   "1..2",   "12,5", "Infinity",
                                      "007.50", "1e-5",  "2450,0", "1.0e1",  "99999999999999999999999", "4.9e-324"};
    std::mt19937_64 random(7);
    const char alphabet[] = "0123456789.e-+";
    for (int i = 0; i < 40000; ++i)
    {
        std::string text;
        const size_t length = 1 + random() % 12;
        for (size_t c = 0; c < length; ++c)
        {
            text += alphabet[random() % (sizeof alphabet - 1)];
        }
        texts.push_back(text);
        texts.push_back(Native(FromBits(random()) , 0));
    }
    int differing = 0;
    for (const std::string &text : texts)
    {
        for (const int form : {0, 2})
        {
            const std::chars_format format = form == 2 ? std::chars_format::fixed : std::chars_format::general;
            double native = -7.0;
            double page = -7.0;
            const char *first = text.data();
            const char *last = first + text.size();
            const std::from_chars_result theirs = std::from_chars(first, last, native, format);
            const std::from_chars_result ours = ostrel_web::ReadDouble(first, last, page, form);
            const bool same = theirs.ptr == ours.ptr && theirs.ec == ours.ec &&
                              (std::memcmp(&native, &page, sizeof native) == 0 ||
                               (std::isnan(native) && std::isnan(page)));
            if (!same && ++differing <= 10)
            {
                ADD_FAILURE() << "form " << form << " \"" << text << "\": native " << native << " ends "
                              << (theirs.ptr - first) << ", page " << page << " ends " << (ours.ptr - first);
            }
        }
    }
    EXPECT_EQ(differing, 0);
}

} // namespace
