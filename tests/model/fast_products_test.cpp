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

} // namespace
