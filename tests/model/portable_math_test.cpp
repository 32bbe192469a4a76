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

using Function = double (*)(double);
using Exact = long double (*)(long double);

long double ExpL(long double x)
{
    return std::exp(x);
}
long double Expm1L(long double x)
{
    return std::expm1(x);
}
long double LogL(long double x)
{
    return std::log(x);
}
long double Log1pL(long double x)
{
    return std::log1p(x);
}

const double Infinity = std::numeric_limits<double>::infinity();
const double NaN = std::numeric_limits<double>::quiet_NaN();

TEST(PortableMath, SpecialValues)
{
    struct Row
    {
        const char *Name;
        Function Portable;
        double X;
        double Expected;
    };
    const Row rows[] = {
        {"exp", ostrel::PortableExp, 0.0, 1.0},
        {"exp", ostrel::PortableExp, -Infinity, 0.0},
        {"exp", ostrel::PortableExp, Infinity, Infinity},
        {"exp", ostrel::PortableExp, -746.0, 0.0},
        {"exp", ostrel::PortableExp, 709.8, Infinity},
        {"exp", ostrel::PortableExp, NaN, NaN},
        {"expm1", ostrel::PortableExpm1, 0.0, 0.0},
        {"expm1", ostrel::PortableExpm1, 1e-300, 1e-300},
        {"expm1", ostrel::PortableExpm1, -Infinity, -1.0},
        {"expm1", ostrel::PortableExpm1, -50.0, -1.0},
        {"expm1", ostrel::PortableExpm1, 710.0, Infinity},
        {"expm1", ostrel::PortableExpm1, NaN, NaN},
        {"log", ostrel::PortableLog, 1.0, 0.0},
        {"log", ostrel::PortableLog, 0.0, -Infinity},
        {"log", ostrel::PortableLog, Infinity, Infinity},
        {"log", ostrel::PortableLog, -1.0, NaN},
        {"log", ostrel::PortableLog, NaN, NaN},
        {"log1p", ostrel::PortableLog1p, 0.0, 0.0},
        {"log1p", ostrel::PortableLog1p, 1e-300, 1e-300},
        {"log1p", ostrel::PortableLog1p, -1.0, -Infinity},
        {"log1p", ostrel::PortableLog1p, -2.0, NaN},
        {"log1p", ostrel::PortableLog1p, Infinity, Infinity},
    };
    for (const Row &row : rows)
    {
        const double got = row.Portable(row.X);
        if (std::isnan(row.Expected))
        {
            EXPECT_TRUE(std::isnan(got)) << row.Name << "(" << row.X << ") = " << got;
        }
        else
        {
            EXPECT_EQ(got, row.Expected) << row.Name << "(" << row.X << ")";
        }
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
    struct Row
    {
        const char *Name;
        Function Portable;
        Exact Oracle;
        double Low, High; // |x| from Low to High
        bool Negative;    // x = -|x|
        bool LogScale;    // |x| spread evenly on a log scale, else evenly
    };
    const Row rows[] = {
        {"exp", ostrel::PortableExp, ExpL, 0.0, 0.011, true, false}, // j = 0, no table
        {"exp", ostrel::PortableExp, ExpL, 0.0, 1.0, false, false},
        {"exp", ostrel::PortableExp, ExpL, 0.0, 708.0, true, false},
        {"exp", ostrel::PortableExp, ExpL, 1.0, 709.7, false, false},
        {"exp, subnormal results", ostrel::PortableExp, ExpL, 708.5, 744.0, true, false},
        {"exp, near overflow", ostrel::PortableExp, ExpL, 709.0, 709.78, false, false},
        {"expm1", ostrel::PortableExpm1, Expm1L, 1e-300, 0.011, false, true},
        {"expm1", ostrel::PortableExpm1, Expm1L, 1e-300, 0.011, true, true},
        {"expm1", ostrel::PortableExpm1, Expm1L, 0.011, 0.7, false, false}, // small results from the table
        {"expm1", ostrel::PortableExpm1, Expm1L, 0.011, 0.7, true, false},
        {"expm1", ostrel::PortableExpm1, Expm1L, 0.7, 50.0, true, false},
        {"expm1", ostrel::PortableExpm1, Expm1L, 0.7, 709.7, false, true},
        {"expm1, near overflow", ostrel::PortableExpm1, Expm1L, 709.0, 709.78, false, false},
        {"log", ostrel::PortableLog, LogL, 0.5, 2.0, false, false},
        {"log", ostrel::PortableLog, LogL, 0.999, 1.001, false, false},
        {"log", ostrel::PortableLog, LogL, 5e-324, 1e308, false, true},
        {"log1p", ostrel::PortableLog1p, Log1pL, 1e-300, 1.0, false, true},
        {"log1p", ostrel::PortableLog1p, Log1pL, 1e-300, 0.999, true, true},
        {"log1p", ostrel::PortableLog1p, Log1pL, 1.0, 1e300, false, true},
    };
    std::mt19937_64 random(17);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (const Row &row : rows)
    {
        double worst = 0.0;
        double worstAt = 0.0;
        for (int trial = 0; trial < 20000; ++trial)
        {
            const double u = unit(random);
            double x = row.LogScale
                           ? std::exp(std::log(row.Low) + u * (std::log(row.High) - std::log(row.Low)))
                           : row.Low + u * (row.High - row.Low);
            x = row.Negative ? -x : x;
            const double error = UlpError(row.Portable(x), row.Oracle(static_cast<long double>(x)));
            if (error > worst)
            {
                worst = error;
                worstAt = x;
            }
        }
        EXPECT_LE(worst, 1.0) << row.Name << " at " << worstAt << " (|x| " << row.Low << " to " << row.High
                              << ")";
    }
}

} // namespace
