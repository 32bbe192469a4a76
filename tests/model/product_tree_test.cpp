// The product tree on its own: every player's expected prize at one node
// against sums in long double over the products of everyone else, where the
// count expected is below, at and past the paid places (the tilted case),
// with products small enough for schoolbook sums and large enough for
// transforms, and its refusals where the paid prizes are too deep to vouch for.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "product_tree.h"

namespace
{

// sum_m prizes[m] [z^m] prod_(j != i) (a_j + b_j z) in long double: the
// prizes pulled back through the players after i, dotted with the product
// of those before i.
std::vector<long double> ExactSums(const std::vector<double> &a, const std::vector<double> &b,
                                   const std::vector<double> &prizes)
{
    const size_t n = a.size();
    const size_t paid = prizes.size();
    std::vector<std::vector<long double>> pulled(n, std::vector<long double>(paid + 1, 0.0L));
    for (size_t d = 0; d < paid; ++d)
        pulled[n - 1][d] = prizes[d];
    for (size_t i = n - 1; i > 0; --i)
        for (size_t d = 0; d < paid; ++d)
            pulled[i - 1][d] = a[i] * pulled[i][d] + b[i] * pulled[i][d + 1];
    std::vector<long double> before(paid, 0.0L);
    before[0] = 1.0L;
    std::vector<long double> sums(n);
    for (size_t i = 0; i < n; ++i)
    {
        long double sum = 0.0L;
        for (size_t d = 0; d < paid; ++d)
            sum += before[d] * pulled[i][d];
        sums[i] = sum;
        for (size_t d = paid; d-- > 0;)
            before[d] = a[i] * before[d] + (d > 0 ? b[i] * before[d - 1] : 0.0L);
    }
    return sums;
}

TEST(ProductTree, SumsAgreeWithLongDoubleOrAreRefused)
{
    struct Row
    {
        size_t Players, Paid;
        double Time;   // the node: how many clocks have rung
        double Spread; // stacks from 1 to Spread
        int Ladder;    // 0 falling, 1 the last place alone
        bool Refused;
    };
    const Row rows[] = {
        {40, 40, 0.001, 1e3, 0, false},   {300, 300, 0.01, 1e3, 0, false},  {300, 300, 1.0, 1e3, 0, false},
        {300, 60, 0.003, 1e3, 0, false},  {300, 60, 0.1, 1e3, 0, false}, // mean past the paid places: tilted
        {500, 150, 0.02, 1e3, 0, false},  {300, 300, 0.001, 1e3, 1, false}, // no prize within the window
        {300, 300, 0.05, 1e3, 1, true},                                     // the last place, far in the tail
        {1600, 1600, 0.6, 1.2, 0, false}, {1600, 500, 0.6, 1.2, 0, false},  // windows past 384: transforms
    };
    std::mt19937_64 random(31);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    ostrel::ProductTree tree;
    for (const Row &row : rows)
    {
        std::vector<double> a(row.Players), b(row.Players);
        for (size_t j = 0; j < row.Players; ++j)
        {
            b[j] = -std::expm1(-std::exp(unit(random) * std::log(row.Spread)) * row.Time);
            a[j] = 1.0 - b[j];
        }
        std::vector<double> prizes(row.Paid, 0.0);
        for (size_t place = 0; place < row.Paid; ++place)
            prizes[place] = row.Ladder == 0 ? 1000.0 / static_cast<double>(place + 1) : 0.0;
        if (row.Ladder == 1)
            prizes.back() = 1.0;
        tree.Prepare(row.Players, row.Paid);
        std::vector<double> sums(row.Players);
        const bool kept = tree.PrizeSums(a.data(), b.data(), prizes.data(), 80.0, sums.data());
        EXPECT_EQ(kept, !row.Refused) << row.Players << " players, " << row.Paid << " paid, t " << row.Time;
        if (!kept)
            continue;
        const std::vector<long double> exact = ExactSums(a, b, prizes);
        for (size_t i = 0; i < row.Players; ++i)
        {
            // Counts with a chance under e^-80 are left out: absolute 1e-30 of the prize.
            const double tolerance = 1e-12 * static_cast<double>(exact[i]) + 1e-30;
            ASSERT_NEAR(sums[i], static_cast<double>(exact[i]), tolerance)
                << row.Players << " players, " << row.Paid << " paid, t " << row.Time << ", player " << i;
        }
    }
}

} // namespace
