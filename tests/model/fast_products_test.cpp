// Fast products against the schoolbook sums in long double, on both sides of
// the size where the transform takes over, and on coefficients that span
// many orders of magnitude, where the error is bounded by the largest ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "fast_products.h"

namespace
{

std::vector<double> Coefficients(std::mt19937_64 &random, size_t count, double decades)
{
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<double> values(count);
    for (double &value : values)
        value = unit(random) * std::pow(10.0, -decades * unit(random));
    return values;
}

double Largest(const std::vector<double> &values)
{
    return *std::max_element(values.begin(), values.end());
}

TEST(FastProducts, AgreeWithSchoolbookSums)
{
    struct Row
    {
        size_t First, Second;
        double Decades; // coefficients from 1 down to 10^-Decades
    };
    const Row rows[] = {{5, 7, 0},      {383, 900, 0},   {384, 384, 0},    {500, 1025, 0},
                        {1000, 700, 0}, {600, 600, 200}, {2048, 2048, 30}, {3000, 150, 0}};
    std::mt19937_64 random(41);
    ostrel::FastProducts fast;
    for (const Row &row : rows)
    {
        const std::vector<double> a = Coefficients(random, row.First, row.Decades);
        const std::vector<double> b = Coefficients(random, row.Second, row.Decades);
        // The product, and b pulled back through the shorter of the two.
        std::vector<double> product(a.size() + b.size() - 1);
        fast.Multiply(a.data(), a.size(), b.data(), b.size(), product.data());
        const std::vector<double> &q = a.size() <= b.size() ? a : b;
        const std::vector<double> &g = a.size() <= b.size() ? b : a;
        std::vector<double> pulled(g.size() - q.size() + 1);
        fast.PullBack(q.data(), q.size(), g.data(), g.size(), pulled.data());
        // Errors relative to the largest coefficients times log2 of the size.
        const double scale = Largest(a) * Largest(b) * std::min(a.size(), b.size());
        double worst = 0.0;
        for (size_t t = 0; t < product.size(); ++t)
        {
            long double exact = 0.0L;
            for (size_t i = std::max<size_t>(t + 1, b.size()) - b.size(); i < std::min(a.size(), t + 1); ++i)
                exact += static_cast<long double>(a[i]) * b[t - i];
            worst = std::max(worst, std::fabs(product[t] - static_cast<double>(exact)) / scale);
        }
        for (size_t d = 0; d < pulled.size(); ++d)
        {
            long double exact = 0.0L;
            for (size_t e = 0; e < q.size(); ++e)
                exact += static_cast<long double>(q[e]) * g[d + e];
            worst = std::max(worst, std::fabs(pulled[d] - static_cast<double>(exact)) / scale);
        }
        EXPECT_LT(worst, 1e-15) << row.First << " by " << row.Second;
    }
}

// A window of a product is the full product's, to the bit, and the
// schoolbook's sums are the plain loop's, in order, whatever the blocks, and
// with the pull-back's zero terms left out.
TEST(FastProducts, WindowsAndZeroRunsKeepTheBits)
{
    struct Row
    {
        size_t First, Second; // operands' lengths
        size_t From, To;      // the window of the product
        size_t Zeros, Tail;   // zeros at the start and the end of g
    };
    const Row rows[] = {{40, 60, 0, 99, 0, 0},      {40, 60, 17, 18, 30, 0},
                        {100, 300, 3, 390, 0, 250}, {100, 300, 80, 95, 90, 80},
                        {5, 7, 2, 9, 3, 3},         {500, 700, 10, 1100, 200, 300},
                        {20, 20, 0, 39, 19, 19},    {300, 400, 150, 650, 399, 0}};
    std::mt19937_64 random(43);
    ostrel::FastProducts fast;
    for (const Row &row : rows)
    {
        const std::vector<double> a = Coefficients(random, row.First, 3);
        const std::vector<double> b = Coefficients(random, row.Second, 3);
        std::vector<double> full(a.size() + b.size() - 1);
        fast.Multiply(a.data(), a.size(), b.data(), b.size(), full.data());
        std::vector<double> window(full.size(), -1.0);
        fast.Multiply(a.data(), a.size(), b.data(), b.size(), window.data(), row.From, row.To);
        for (size_t t = row.From; t < row.To; ++t)
            EXPECT_EQ(full[t], window[t]) << row.First << " by " << row.Second << " at " << t;
        std::vector<double> g = b;
        std::fill_n(g.begin(), row.Zeros, 0.0);
        std::fill_n(g.end() - static_cast<std::ptrdiff_t>(row.Tail), row.Tail, 0.0);
        std::vector<double> pulled(g.size() - a.size() + 1, -1.0);
        fast.PullBack(a.data(), a.size(), g.data(), g.size(), pulled.data());
        for (size_t d = 0; d < pulled.size(); ++d)
        {
            double plain = 0.0;
            for (size_t e = 0; e < a.size(); ++e)
                plain += a[e] * g[d + e];
            if (std::min(a.size(), pulled.size()) < ostrel::SchoolbookBelow)
                EXPECT_EQ(plain, pulled[d]) << row.First << " by " << row.Second << " at " << d;
            else
                EXPECT_NEAR(plain, pulled[d],
                            1e-15 * Largest(a) * Largest(b) * static_cast<double>(a.size()));
        }
        if (std::min(a.size(), b.size()) < ostrel::SchoolbookBelow)
            for (size_t t = 0; t < full.size(); ++t)
            {
                double plain = 0.0;
                for (size_t i = std::max<size_t>(t + 1, b.size()) - b.size(); i < std::min(a.size(), t + 1);
                     ++i)
                    plain += a[i] * b[t - i];
                EXPECT_EQ(plain, full[t]) << row.First << " by " << row.Second << " at " << t;
            }
    }
}

} // namespace
