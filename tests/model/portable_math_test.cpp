// The model library's own exp, expm1, log and log1p: their special values,
// and their error in units in the last place against the long double
// functions on random arguments over every range the reductions treat apart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>

#include "portable_math.h"

namespace
{

using ostrel::PortableExp, ostrel::PortableExpm1, ostrel::PortableLog, ostrel::PortableLog1p;
const double Inf = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(PortableMath, SpecialValues)
{
    const struct
    {
        double (*Function)(double);
        double X, Expected;
    } rows[] = {
        // clang-format off
        {PortableExp, 0, 1},             {PortableExp, -Inf, 0},     {PortableExp, Inf, Inf},
        {PortableExp, 709.8, Inf},       {PortableExp, NaN, NaN},    {PortableExpm1, 1e-300, 1e-300},
        {PortableExpm1, -Inf, -1},       {PortableExpm1, 710, Inf},  {PortableLog, 1, 0},
        {PortableLog, 0, -Inf},          {PortableLog, -1, NaN},     {PortableLog, Inf, Inf},
        {PortableLog1p, 1e-300, 1e-300}, {PortableLog1p, -1, -Inf},  {PortableLog1p, -2, NaN},
        // clang-format on
    };
    for (const auto &row : rows)
    {
        const double got = row.Function(row.X);
        EXPECT_TRUE(got == row.Expected || (std::isnan(got) && std::isnan(row.Expected)))
            << row.X << " gives " << got;
    }
}

// |got - exact| in units in the last place of the double nearest `exact`.
double UlpError(double got, long double exact)
{
    int exponent = 0;
    std::frexp(static_cast<double>(exact), &exponent);
    const long double ulp = std::ldexp(1.0L, std::max(exponent - 53, -1074));
    return static_cast<double>(std::fabs(static_cast<long double>(got) - exact) / ulp);
}

TEST(PortableMath, WithinAnUlpEverywhere)
{
    using Exact = long double (*)(long double);
    const Exact exactExp = [](long double x) { return std::exp(x); };
    const Exact exactExpm1 = [](long double x) { return std::expm1(x); };
    const Exact exactLog = [](long double x) { return std::log(x); };
    const Exact exactLog1p = [](long double x) { return std::log1p(x); };
    const struct
    {
        double (*Portable)(double);
        Exact Oracle;
        double Low, High; // x from Low to High, on a log scale when of one sign and far apart
    } rows[] = {
        {PortableExp, exactExp, -0.011, 0.011},                                           // no table entry
        {PortableExp, exactExp, -708, 709},         {PortableExp, exactExp, 709, 709.78}, // near overflow
        {PortableExp, exactExp, -744, -708.5},                                            // subnormal results
        {PortableExpm1, exactExpm1, 1e-300, 0.011}, {PortableExpm1, exactExpm1, -0.011, -1e-300},
        {PortableExpm1, exactExpm1, -0.7, 0.7}, // small results from the table
        {PortableExpm1, exactExpm1, -50, 50},       {PortableExpm1, exactExpm1, 0.7, 709},
        {PortableExpm1, exactExpm1, 709, 709.78},   {PortableLog, exactLog, 0.5, 2},
        {PortableLog, exactLog, 0.999, 1.001},      {PortableLog, exactLog, 5e-324, 1e308},
        {PortableLog1p, exactLog1p, 1e-300, 1},     {PortableLog1p, exactLog1p, -0.999, -1e-300},
        {PortableLog1p, exactLog1p, 1, 1e300},
    };
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (const auto &row : rows)
    {
        const bool logScale =
            row.Low * row.High > 0 && std::max(row.High / row.Low, row.Low / row.High) > 1e3;
        double worst = 0.0, worstAt = 0.0;
        for (int trial = 0; trial < 20000; ++trial)
        {
            const double u = unit(random);
            const double x = logScale ? row.Low * std::exp(u * std::log(row.High / row.Low))
                                      : row.Low + u * (row.High - row.Low);
            const double error = UlpError(row.Portable(x), row.Oracle(static_cast<long double>(x)));
            if (error > worst)
            {
                worst = error;
                worstAt = x;
            }
        }
        EXPECT_LE(worst, 1.0) << "at " << worstAt << " (" << row.Low << " to " << row.High << ")";
    }
}

// sin(pi x) and cos(pi x): exact at the multiples of 1/2 and their
// symmetries, and within 2 ulp of long double elsewhere, where the oracle
// reduces x itself (exactly, in long double) so that its own pi x is good.
TEST(PortableMath, SineAndCosineOfPiX)
{
    const double Half = 0.7071067811865476; // sqrt(1/2), rounded
    const struct
    {
        double X, Sine, Cosine;
    } exact[] = {{0, 0, 1}, {0.5, 1, 0}, {1, 0, -1}, {1.5, -1, 0}, {-0.5, -1, 0}, {2, 0, 1}, {1e17, 0, 1}};
    for (const auto &row : exact)
    {
        EXPECT_EQ(ostrel::PortableSinPi(row.X), row.Sine) << row.X;
        EXPECT_EQ(ostrel::PortableCosPi(row.X), row.Cosine) << row.X;
    }
    EXPECT_NEAR(ostrel::PortableSinPi(0.25), Half, 2e-16);
    EXPECT_NEAR(ostrel::PortableCosPi(-0.75), -Half, 2e-16);
    EXPECT_TRUE(std::isnan(ostrel::PortableSinPi(Inf)) && std::isnan(ostrel::PortableCosPi(NaN)));
    const long double pi = 3.141592653589793238462643383279502884L;
    const auto sinePi = [pi](long double x) {
        long double r = x - 2.0L * std::floor(x / 2.0L);
        const long double sign = r >= 1.0L ? -1.0L : 1.0L;
        r = r >= 1.0L ? r - 1.0L : r;
        return sign * std::sin(pi * std::min(r, 1.0L - r));
    };
    std::mt19937_64 random(23);
    std::uniform_real_distribution<double> wide(-20.0, 20.0);
    double worst = 0.0;
    for (int trial = 0; trial < 40000; ++trial)
    {
        // Half the arguments are the dyadic fractions a transform's roots use.
        const double x =
            trial % 2 == 0 ? wide(random) : std::ldexp(static_cast<double>(random() % 65536), -14);
        worst = std::max(worst, UlpError(ostrel::PortableSinPi(x), sinePi(x)));
        worst =
            std::max(worst, UlpError(ostrel::PortableCosPi(x), sinePi(static_cast<long double>(x) + 0.5L)));
    }
    EXPECT_LE(worst, 2.0);
}

} // namespace
