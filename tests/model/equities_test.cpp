// The library's own choice of method, its cost estimates and refusals, and
// the scaling of prizes near the largest double: what another program that
// links the model gets from ComputeEquities.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "equities.h"
#include "quadrature_method.h"
#include "subset_method.h"

namespace
{

struct MethodRun
{
    ostrel::Status Status;
    std::vector<double> Equity;
    ostrel::EquityMethod Ran = ostrel::EquityMethod::Automatic;
};

MethodRun Equities(const std::vector<int64_t> &stacks, const std::vector<double> &prizes,
             ostrel::EquityMethod method = ostrel::EquityMethod::Automatic, const ostrel::EquityOptions &options = {})
{
    MethodRun run;
    run.Equity.assign(stacks.size(), -1.0);
    const ostrel::Field field = {stacks.data(), stacks.size(), prizes.data(), prizes.size()};
    run.Status = ostrel::ComputeEquities(field, method, options, run.Equity.data(), nullptr, &run.Ran);
    return run;
}

// The command's choice beyond the window, now the library's: the subset
// method below 12 players, and below 17 while players and paid places are
// under 20; the quadrature method otherwise and for a table of every place.
TEST(Equities, ChooseAsMeasured)
{
    const auto subsets = ostrel::EquityMethod::Subsets;
    const auto quadrature = ostrel::EquityMethod::Quadrature;
    const struct
    {
        size_t Players;
        size_t Paid;
        size_t FinishPlaces;
        ostrel::EquityMethod Chosen;
    } rows[] = {
        {11, 11, 11, subsets}, {12, 3, 0, subsets}, {16, 3, 0, subsets},    {16, 4, 0, quadrature},
        {12, 3, 12, quadrature}, {17, 1, 0, quadrature}, {200, 10, 0, quadrature},
    };
    for (const auto &row : rows)
    {
        const std::vector<int64_t> stacks(row.Players, 1000);
        const std::vector<double> prizes(row.Paid, 1.0);
        const ostrel::Field field = {stacks.data(), stacks.size(), prizes.data(), prizes.size()};
        EXPECT_EQ(row.Chosen, ostrel::ChooseEquityMethod(field, row.FinishPlaces)) << row.Players << ", " << row.Paid;
        const MethodRun run = Equities(stacks, prizes);
        ASSERT_TRUE(run.Status.Ok);
        EXPECT_EQ(ostrel::ChooseEquityMethod(field, 0), run.Ran);
        // Equal stacks share the pool equally, whichever method ran.
        EXPECT_NEAR(static_cast<double>(row.Paid) / static_cast<double>(row.Players), run.Equity[0], 1e-12);
    }
}

// The estimates order the methods as they run, and a run over the limit is
// refused naming its estimate and the faster method.
TEST(Equities, EstimatesAndRefusesRunsOverTheLimit)
{
    const std::vector<int64_t> stacks(24, 1000);
    const std::vector<double> prizes(24, 1.0);
    const ostrel::Field field = {stacks.data(), stacks.size(), prizes.data(), prizes.size()};
    const double bySubsets = ostrel::EstimatedSeconds(field, ostrel::EquityMethod::Subsets, 0);
    const double byQuadrature = ostrel::EstimatedSeconds(field, ostrel::EquityMethod::Quadrature, 0);
    EXPECT_GT(bySubsets, 10.0 * byQuadrature);
    const std::vector<int64_t> many(25, 1);
    EXPECT_TRUE(std::isinf(ostrel::EstimatedSeconds({many.data(), 25, prizes.data(), 24}, ostrel::EquityMethod::Subsets, 0)));
    ostrel::EquityOptions limited;
    limited.SecondsLimit = bySubsets / 2.0;
    const MethodRun refused = Equities(stacks, prizes, ostrel::EquityMethod::Subsets, limited);
    EXPECT_FALSE(refused.Status.Ok);
    EXPECT_NE(std::string::npos, refused.Status.Message.find("the subset method would take about"))
        << refused.Status.Message;
    EXPECT_NE(std::string::npos, refused.Status.Message.find("the quadrature method takes about"));
    EXPECT_TRUE(Equities(stacks, prizes, ostrel::EquityMethod::Quadrature, limited).Status.Ok);
    EXPECT_EQ("12 minutes", ostrel::DurationText(720.0));
    EXPECT_EQ("3.2e+09 years", ostrel::DurationText(3.2e9 * 365.25 * 86400.0));
}

// Prizes beyond 2^600 are scaled by a power of two for the run: the results
// are those of the unscaled ladder times that power, to the bit; what no
// double can hold is refused.
TEST(Equities, ScalesPrizesNearTheLargestDouble)
{
    const std::vector<int64_t> stacks = {5000, 3000, 0, 2000, 700};
    const std::vector<double> unit = {1.0, 0.5, 0.25};
    std::vector<double> huge;
    for (double prize : unit)
        huge.push_back(std::ldexp(prize, 1020));
    for (auto method : {ostrel::EquityMethod::Subsets, ostrel::EquityMethod::Quadrature})
    {
        const MethodRun small = Equities(stacks, unit, method);
        const MethodRun large = Equities(stacks, huge, method);
        ASSERT_TRUE(small.Status.Ok && large.Status.Ok) << large.Status.Message;
        for (size_t seat = 0; seat < stacks.size(); ++seat)
            EXPECT_EQ(std::ldexp(small.Equity[seat], 1020), large.Equity[seat]) << seat;
    }
    EXPECT_EQ(1.0, ostrel::PrizeScale({stacks.data(), 5, unit.data(), 3}));
    const std::vector<double> apart = {1e308, 4.9e-324};
    EXPECT_EQ(0.0, ostrel::PrizeScale({stacks.data(), 5, apart.data(), 2}));
    const struct
    {
        std::vector<double> Prizes;
        const char *Says;
    } refused[] = {{{1.7e308, 1.7e308}, "add up"}, {apart, "too far apart"}};
    for (const auto &row : refused)
    {
        const MethodRun run = Equities(stacks, row.Prizes);
        EXPECT_FALSE(run.Status.Ok);
        EXPECT_NE(std::string::npos, run.Status.Message.find(row.Says)) << run.Status.Message;
    }
    std::vector<double> room(2);
    EXPECT_FALSE(ostrel::ComputeEquities({stacks.data(), 5, unit.data(), 3}, ostrel::EquityMethod::Automatic, {},
                                         nullptr)
                     .Ok);
    EXPECT_FALSE(ostrel::QuadratureEquities({stacks.data(), 5, unit.data(), 3}, {}, nullptr, nullptr).Ok);
    double now = 0.0;
    EXPECT_FALSE(ostrel::QuadratureHeroHands({stacks.data(), 5, unit.data(), 3}, 0, {}, now, nullptr, room.data()).Ok);
}

// Progress for every method, not only the quadrature method: fractions that
// only grow, ending at 1.
TEST(Equities, ReportProgressForEveryMethod)
{
    const std::vector<int64_t> stacks(20, 1000);
    const std::vector<double> prizes(20, 1.0);
    for (auto method : {ostrel::EquityMethod::Subsets, ostrel::EquityMethod::Quadrature})
    {
        std::vector<double> seen;
        ostrel::EquityOptions options;
        options.Progress = [](void *context, double done) { static_cast<std::vector<double> *>(context)->push_back(done); };
        options.ProgressContext = &seen;
        ASSERT_TRUE(Equities(stacks, prizes, method, options).Status.Ok);
        ASSERT_LT(2u, seen.size()) << "reports along the way";
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
        EXPECT_EQ(1.0, seen.back());
    }
}

} // namespace
