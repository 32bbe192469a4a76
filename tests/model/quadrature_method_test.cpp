// The model library's quadrature method: against the subset method on small
// fields, against closed forms on large ones, the sums every result obeys,
// the same results on any number of threads, and its refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

#include "quadrature_method.h"
#include "small_fields.h"
#include "subset_method.h"

namespace
{

struct QuadratureRun
{
    ostrel::Status Status;
    std::vector<double> Equity;
    ostrel::FinishTable Finish;
};

QuadratureRun Quadrature(const std::vector<int64_t> &stacks, const std::vector<double> &prizes,
                         const ostrel::QuadratureOptions &options = {}, bool finish = false)
{
    QuadratureRun run;
    run.Equity.assign(stacks.size(), -1.0);
    const ostrel::Field field = {stacks.data(), stacks.size(), prizes.data(), prizes.size()};
    run.Status =
        ostrel::QuadratureEquities(field, options, run.Equity.data(), finish ? &run.Finish : nullptr);
    return run;
}

ostrel::QuadratureOptions WithTable(size_t places, unsigned threads = 1)
{
    ostrel::QuadratureOptions options;
    options.FinishPlaces = places;
    options.Threads = threads;
    return options;
}

// Stacks spread evenly on a log scale from 1 to `spread`, both ends present.
std::vector<int64_t> RandomStacks(std::mt19937_64 &random, size_t players, double spread)
{
    std::uniform_real_distribution<double> exponent(0.0, std::log(spread));
    std::vector<int64_t> stacks(players);
    for (int64_t &stack : stacks)
        stack = std::llround(std::exp(exponent(random)));
    stacks[random() % players] = 1;
    stacks[random() % players] = std::llround(spread);
    return stacks;
}

enum class Ladder
{
    Short,  // 3 places
    Full,   // every place, place 2 paying nothing
    Longer, // 5 places past the field
    Jumpy,  // random prizes of 0 to 2
};

std::vector<double> MakeLadder(std::mt19937_64 &random, Ladder kind, size_t players)
{
    const size_t places = kind == Ladder::Short ? 3 : kind == Ladder::Longer ? players + 5 : players;
    std::vector<double> prizes(places);
    for (size_t place = 0; place < places; ++place)
        prizes[place] = kind == Ladder::Jumpy ? static_cast<double>(random() % 3)
                                              : 1000.0 / static_cast<double>(place + 1) + 1.0;
    if (kind == Ladder::Full && places > 1)
        prizes[1] = 0.0;
    return prizes;
}

TEST(QuadratureMethod, AgreesWithTheSubsetMethod)
{
    struct Row
    {
        double Spread;
        Ladder Kind;
    };
    const Row rows[] = {{1, Ladder::Jumpy},   {1, Ladder::Full},    {3, Ladder::Full},
                        {1e3, Ladder::Short}, {1e9, Ladder::Short}, {1e9, Ladder::Longer},
                        {1e9, Ladder::Jumpy}, {1e15, Ladder::Full}};
    std::mt19937_64 random(2024);
    for (const Row &row : rows)
        for (size_t players : {2u, 7u, 13u, 20u})
        {
            const std::vector<int64_t> stacks = RandomStacks(random, players, row.Spread);
            const std::vector<double> prizes = MakeLadder(random, row.Kind, players);
            const QuadratureRun run = Quadrature(stacks, prizes, WithTable(players), true);
            ASSERT_TRUE(run.Status.Ok) << run.Status.Message;
            std::vector<double> equity(players);
            ostrel::FinishTable finish;
            const ostrel::Field field = {stacks.data(), players, prizes.data(), prizes.size()};
            ASSERT_TRUE(ostrel::SubsetEquities(field, equity.data(), &finish).Ok);
            for (size_t seat = 0; seat < players; ++seat)
                EXPECT_NEAR(run.Equity[seat], equity[seat], 1e-10 * equity[seat])
                    << "spread " << row.Spread << ", " << players << " players, seat " << seat;
            for (size_t cell = 0; cell < finish.Chance.size(); ++cell)
                EXPECT_NEAR(run.Finish.Chance[cell], finish.Chance[cell], 1e-12);
        }
}

// Every place paid, n down to 1: $EV_i = 1 + sum_{j != i} s_i / (s_i + s_j).
// Two places: $EV_i = p1 s_i / S + p2 s_i sum_{j != i} s_j / (S (S - s_j)).
TEST(QuadratureMethod, LargeFieldsMatchClosedForms)
{
    struct Row
    {
        size_t Players;
        double Spread;
        bool EveryPlace;
    };
    const Row rows[] = {{1000, 1e4, true}, {400, 1, true}, {20000, 1e9, false}, {20000, 2, false}};
    std::mt19937_64 random(77);
    for (const Row &row : rows)
    {
        const std::vector<int64_t> stacks = RandomStacks(random, row.Players, row.Spread);
        const size_t n = row.Players;
        std::vector<double> prizes = {700.0, 300.0};
        if (row.EveryPlace)
        {
            prizes.resize(n);
            for (size_t place = 0; place < n; ++place)
                prizes[place] = static_cast<double>(n - place);
        }
        const QuadratureRun run = Quadrature(stacks, prizes);
        ASSERT_TRUE(run.Status.Ok) << run.Status.Message;
        int64_t total = 0;
        long double second = 0.0L; // sum_j s_j / (S - s_j)
        for (int64_t stack : stacks)
            total += stack;
        for (int64_t stack : stacks)
            second += static_cast<long double>(stack) / static_cast<long double>(total - stack);
        for (size_t i = 0; i < n; ++i)
        {
            const long double s = static_cast<long double>(stacks[i]);
            long double expected = 0.0L;
            if (row.EveryPlace)
            {
                expected = 1.0L;
                for (size_t j = 0; j < n; ++j)
                    expected += j == i ? 0.0L : s / (s + static_cast<long double>(stacks[j]));
            }
            else
            {
                const long double share = s / static_cast<long double>(total);
                expected = 700.0L * share +
                           300.0L * share * (second - s / static_cast<long double>(total - stacks[i]));
            }
            ASSERT_NEAR(run.Equity[i], static_cast<double>(expected), 1e-10 * static_cast<double>(expected))
                << n << " players, spread " << row.Spread << ", player " << i;
        }
    }
}

// The $EV share out the prizes of the places in play; each row and each
// column of the finish table is a distribution (rows: when every place is in it).
TEST(QuadratureMethod, EquitiesAddUpToThePrizesAndTheTableToOne)
{
    struct Row
    {
        size_t Players;
        double Spread;
        size_t Places;
        size_t Columns;
    };
    const Row rows[] = {{60, 1e6, 60, 60}, {60, 1, 70, 60}, {500, 30, 40, 10}, {2000, 1e9, 200, 3}};
    std::mt19937_64 random(5);
    for (const Row &row : rows)
    {
        std::vector<int64_t> stacks = RandomStacks(random, row.Players, row.Spread);
        stacks.insert(stacks.begin() + 1, 0); // an empty seat
        const std::vector<double> prizes = MakeLadder(random, Ladder::Longer, row.Places - 5);
        const QuadratureRun run = Quadrature(stacks, prizes, WithTable(row.Columns), true);
        ASSERT_TRUE(run.Status.Ok) << run.Status.Message;
        double pool = 0.0;
        for (size_t place = 0; place < std::min(row.Players, prizes.size()); ++place)
            pool += prizes[place];
        double sum = 0.0;
        for (double equity : run.Equity)
            sum += equity;
        EXPECT_NEAR(sum, pool, 1e-10 * pool) << row.Players << " players";
        EXPECT_EQ(run.Equity[1], 0.0);
        ASSERT_EQ(run.Finish.Places, row.Columns);
        std::vector<double> columns(row.Columns, 0.0);
        for (size_t seat = 0; seat < stacks.size(); ++seat)
        {
            double sumOfRow = 0.0;
            for (size_t place = 0; place < row.Columns; ++place)
            {
                sumOfRow += run.Finish.Chance[seat * row.Columns + place];
                columns[place] += run.Finish.Chance[seat * row.Columns + place];
            }
            if (row.Columns == row.Players || stacks[seat] == 0)
            {
                EXPECT_NEAR(sumOfRow, stacks[seat] == 0 ? 0.0 : 1.0, 1e-10) << "seat " << seat;
            }
        }
        for (double column : columns)
            EXPECT_NEAR(column, 1.0, 1e-10) << row.Players << " players";
    }
}

ostrel::QuadratureOptions WithPass(ostrel::QuadraturePass pass, unsigned threads = 1)
{
    ostrel::QuadratureOptions options;
    options.Pass = pass;
    options.Threads = threads;
    return options;
}

/*
 * The windowed pass and the product tree against the full band, the
 * reference: stacks equal or spread up to 10^6, from a tenth of the field
 * paid (the tree tilts its factors where the count is past the paid places)
 * to all of it, ladders that fall, jump among 0, 1 and 2, or pay the last
 * place alone (the tree refuses those nodes and the windowed pass takes them);
 * and fields of one group of players or a few.
 */
TEST(QuadratureMethod, FastPassesAgreeWithTheFullBand)
{
    struct Row
    {
        size_t Players;
        size_t Paid;
        double Spread;
        int Ladder; // 0 falling, 1 jumpy, 2 the last place only
    };
    const Row rows[] = {{600, 60, 1e6, 0},  {600, 300, 1e3, 0}, {600, 600, 1e6, 0}, {500, 500, 1, 0},
                        {400, 200, 1e6, 1}, {400, 400, 1e2, 1}, {300, 300, 10, 2},  {300, 30, 1e6, 2},
                        {2, 2, 1e6, 0},     {17, 5, 1e3, 0},    {16, 16, 1e9, 1},   {40, 12, 1e2, 2}};
    std::mt19937_64 random(19);
    for (const Row &row : rows)
    {
        const std::vector<int64_t> stacks = RandomStacks(random, row.Players, row.Spread);
        std::vector<double> prizes(row.Paid, 0.0);
        for (size_t place = 0; place < row.Paid; ++place)
            prizes[place] = row.Ladder == 0   ? 1e5 / static_cast<double>(place + 1)
                            : row.Ladder == 1 ? static_cast<double>(random() % 3)
                                              : (place + 1 == row.Paid ? 1.0 : 0.0);
        const QuadratureRun full = Quadrature(stacks, prizes, WithPass(ostrel::QuadraturePass::FullBand));
        ASSERT_TRUE(full.Status.Ok) << full.Status.Message;
        for (ostrel::QuadraturePass pass :
             {ostrel::QuadraturePass::Windowed, ostrel::QuadraturePass::ProductTree})
        {
            const QuadratureRun run = Quadrature(stacks, prizes, WithPass(pass));
            ASSERT_TRUE(run.Status.Ok) << run.Status.Message;
            for (size_t seat = 0; seat < row.Players; ++seat)
                ASSERT_NEAR(run.Equity[seat], full.Equity[seat], 1e-12 * full.Equity[seat])
                    << row.Players << " players, " << row.Paid << " paid, spread " << row.Spread
                    << ", ladder " << row.Ladder << ", pass " << static_cast<int>(pass) << ", seat " << seat;
        }
    }
}

TEST(QuadratureMethod, GivesTheSameResultsOnAnyNumberOfThreads)
{
    std::mt19937_64 random(11);
    const std::vector<int64_t> stacks = RandomStacks(random, 150, 1e5);
    const std::vector<double> prizes = MakeLadder(random, Ladder::Jumpy, 40);
    const QuadratureRun alone = Quadrature(stacks, prizes, WithTable(12), true);
    for (unsigned threads : {0u, 2u, 5u})
    {
        const QuadratureRun run = Quadrature(stacks, prizes, WithTable(12, threads), true);
        EXPECT_EQ(run.Equity, alone.Equity) << threads << " threads";
        EXPECT_EQ(run.Finish.Chance, alone.Finish.Chance) << threads << " threads";
    }
    // The product tree, its tilted nodes and its fallback to the windowed pass.
    const std::vector<double> ladder = MakeLadder(random, Ladder::Full, 300);
    const std::vector<int64_t> field = RandomStacks(random, 330, 1e4);
    const QuadratureRun tree = Quadrature(field, ladder, WithPass(ostrel::QuadraturePass::ProductTree));
    for (unsigned threads : {2u, 5u})
        EXPECT_EQ(Quadrature(field, ladder, WithPass(ostrel::QuadraturePass::ProductTree, threads)).Equity,
                  tree.Equity)
            << threads << " threads";
}

TEST(QuadratureMethod, SmallFieldsAndOddLadders)
{
    for (const SmallField &row : SmallFields())
    {
        const QuadratureRun run = Quadrature(row.Stacks, row.Prizes, WithTable(3), true);
        ASSERT_TRUE(run.Status.Ok) << run.Status.Message;
        for (size_t seat = 0; seat < row.Stacks.size(); ++seat)
            EXPECT_NEAR(run.Equity[seat], row.Equity[seat], 1e-12 * (1.0 + row.Equity[seat]));
    }
    const QuadratureRun alone = Quadrature({0, 7}, {5}, WithTable(4), true);
    EXPECT_EQ(alone.Finish.Places, 1u);
    EXPECT_EQ(alone.Finish.Chance, std::vector<double>({0.0, 1.0}));
}

void RecordProgress(void *context, double done)
{
    static_cast<std::vector<double> *>(context)->push_back(done);
}

TEST(QuadratureMethod, ReportsProgressUpToOne)
{
    std::vector<double> seen;
    ostrel::QuadratureOptions options;
    options.Progress = RecordProgress;
    options.ProgressContext = &seen;
    ASSERT_TRUE(Quadrature({3, 1, 4, 1, 5}, {7, 2}, options).Status.Ok);
    ASSERT_GT(seen.size(), 10u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_GT(seen.front(), 0.0);
    EXPECT_EQ(seen.back(), 1.0);
}

TEST(QuadratureMethod, RefusesWhatItCannotTake)
{
    ostrel::QuadratureOptions tight;
    tight.MemoryLimit = 1000;
    struct Row
    {
        std::vector<int64_t> Stacks;
        ostrel::QuadratureOptions Options;
        const char *Says;
    };
    const Row rows[] = {
        {std::vector<int64_t>(ostrel::QuadratureMaxPlayers + 1, 1), {}, "at most 1000000 players"},
        {{1, -1}, {}, "seat 2"},
        {std::vector<int64_t>(100, 1), tight, "over the limit of 1000"},
    };
    for (const Row &row : rows)
    {
        const QuadratureRun run = Quadrature(row.Stacks, {1, 1}, row.Options);
        EXPECT_FALSE(run.Status.Ok);
        EXPECT_NE(run.Status.Message.find(row.Says), std::string::npos) << run.Status.Message;
    }
    // The figure QuadratureMemory gives is the limit that lets the run start;
    // with less, helper threads are left out before the run is refused.
    const std::vector<int64_t> stacks(400, 3);
    const std::vector<double> prizes(50, 1.0);
    const ostrel::Field field = {stacks.data(), stacks.size(), prizes.data(), prizes.size()};
    ostrel::QuadratureOptions options = WithTable(20, 1);
    const size_t alone = ostrel::QuadratureMemory(field, options, true);
    options.Threads = 4;
    EXPECT_GT(ostrel::QuadratureMemory(field, options, true), alone);
    options.MemoryLimit = alone;
    EXPECT_EQ(ostrel::QuadratureMemory(field, options, true), alone);
    EXPECT_TRUE(Quadrature(stacks, prizes, options, true).Status.Ok);
    options.MemoryLimit = alone - 1;
    EXPECT_FALSE(Quadrature(stacks, prizes, options, true).Status.Ok);
    EXPECT_LT(ostrel::QuadratureMemory(field, options, false), alone);
    // The same for each pass of the $EV alone, whose buffers the figure counts.
    std::mt19937_64 random(3);
    const std::vector<int64_t> bubble = RandomStacks(random, 400, 1e3);
    const std::vector<double> ladder(300, 1.0);
    const ostrel::Field wide = {bubble.data(), bubble.size(), ladder.data(), ladder.size()};
    size_t full = 0;
    for (ostrel::QuadraturePass pass : {ostrel::QuadraturePass::FullBand, ostrel::QuadraturePass::Windowed,
                                        ostrel::QuadraturePass::ProductTree})
    {
        ostrel::QuadratureOptions one = WithPass(pass);
        const size_t needed = ostrel::QuadratureMemory(wide, one, false);
        EXPECT_GE(needed, full) << static_cast<int>(pass); // each pass adds to the buffers of the one before
        full = needed;
        one.MemoryLimit = needed;
        EXPECT_TRUE(Quadrature(bubble, ladder, one).Status.Ok) << static_cast<int>(pass);
        one.MemoryLimit = needed - 1;
        EXPECT_FALSE(Quadrature(bubble, ladder, one).Status.Ok) << static_cast<int>(pass);
    }
}

// The promise as stated: every $EV within 1e-10 of itself, or within 1e-30
// of the prize pool for a value so small that the method's exponentials
// underflow. Ladders that pay deep places only are the hard case: a player
// who finishes late has a sharp term of his own.
bool WithinPromise(double exact, double computed, double pool)
{
    return std::fabs(computed - exact) <= 1e-10 * exact + 1e-30 * pool;
}

TEST(QuadratureMethod, KeepsItsPromiseOnDeepLadders)
{
    // A stack of B and m stacks of 1, only place m + 1 paid: B finishes last
    // with chance prod_{j=1..m} j / (j + B) = 1 / C(m + B, B). From 300 ones
    // the stacks are so close that the step is planned from their clocks'
    // sharpness rather than from the place (1 / (m + 1) each for B = 1).
    const struct
    {
        int64_t Big;
        int Small;
    } lastPlace[] = {{10, 20}, {10, 30}, {30, 50}, {100, 80}, {1000, 80}, {2, 300}, {3, 600}, {1, 1000}};
    for (const auto &row : lastPlace)
    {
        std::vector<int64_t> stacks(static_cast<size_t>(row.Small) + 1, 1);
        stacks[0] = row.Big;
        std::vector<double> prizes(stacks.size(), 0.0);
        prizes.back() = 1.0;
        double exact = 1.0;
        for (int j = 1; j <= row.Small; ++j)
            exact *= static_cast<double>(j) / static_cast<double>(j + row.Big);
        const QuadratureRun run = Quadrature(stacks, prizes);
        ASSERT_TRUE(run.Status.Ok);
        EXPECT_TRUE(WithinPromise(exact, run.Equity[0], 1.0))
            << row.Big << " and " << row.Small << " ones: " << run.Equity[0] << " against " << exact;
        EXPECT_TRUE(WithinPromise((1.0 - exact) / row.Small, run.Equity[1], 1.0)) << row.Big << ", " << row.Small;
        // The step is planned for 1e-14 of the late finisher's term: a step
        // twice too coarse passes 1e-12 on these fields (1e-10 at 2 and 300).
        if (exact > 1e-20)
        {
            EXPECT_NEAR(run.Equity[0], exact, 1e-12 * exact) << row.Big << " and " << row.Small << " ones";
        }
    }
    // Random fields of 18 to 20 players, ladders of deep places only or one
    // place, and a value below 1e-100 (stacks 10^6 and twenty 1s, the big one
    // last): e^(-s t) underflows where that value lives.
    std::mt19937_64 random(29);
    std::vector<std::pair<std::vector<int64_t>, std::vector<double>>> fields;
    for (int round = 0; round < 9; ++round)
    {
        const size_t players = 18 + static_cast<size_t>(round % 3);
        std::vector<double> prizes(players, 0.0);
        const size_t first = round < 6 ? players - 1 - static_cast<size_t>(random() % 6) : players - 1;
        for (size_t place = first; place < players; ++place)
            prizes[place] = 1.0 + static_cast<double>(random() % 100);
        fields.push_back({RandomStacks(random, players, round % 2 == 0 ? 1e3 : 1e9), prizes});
    }
    std::vector<int64_t> underflow(21, 1);
    underflow[0] = 1000000;
    std::vector<double> lastOnly(21, 0.0);
    lastOnly.back() = 1.0;
    fields.push_back({underflow, lastOnly});
    for (const auto &field : fields)
    {
        const QuadratureRun quadrature = Quadrature(field.first, field.second);
        std::vector<double> exact(field.first.size());
        const ostrel::Field view = {field.first.data(), field.first.size(), field.second.data(),
                                    field.second.size()};
        ASSERT_TRUE(quadrature.Status.Ok && ostrel::SubsetEquities(view, exact.data(), nullptr).Ok);
        const double pool = ostrel::PrizePool(view, field.first.size());
        for (size_t seat = 0; seat < exact.size(); ++seat)
            EXPECT_TRUE(WithinPromise(exact[seat], quadrature.Equity[seat], pool))
                << "seat " << seat << ": " << quadrature.Equity[seat] << " against " << exact[seat];
        // The finish table to its last place: chances within the same promise, the pool being 1.
        const size_t n = field.first.size();
        const QuadratureRun table = Quadrature(field.first, field.second, WithTable(n), true);
        ostrel::FinishTable exactTable;
        ASSERT_TRUE(table.Status.Ok && ostrel::SubsetEquities(view, exact.data(), &exactTable).Ok);
        for (size_t cell = 0; cell < n * n; ++cell)
            EXPECT_TRUE(WithinPromise(exactTable.Chance[cell], table.Finish.Chance[cell], 1.0))
                << "seat " << cell / n << ", place " << cell % n + 1;
    }
}

} // namespace

namespace
{

// Ladders for the nested levels: 0 falling as 1/m, 1 K, ..., 1, 2 random 0, 1
// and 2, 3 the last place alone, 4 ten tiers falling from 10 to 1, 5 K, ..., 1
// plus K over the first half of the places (a cliff in a falling ladder).
std::vector<double> LevelLadder(std::mt19937_64 &random, int kind, size_t paid)
{
    std::vector<double> prizes(paid);
    for (size_t place = 0; place < paid; ++place)
        prizes[place] = kind == 0   ? 1e5 / static_cast<double>(place + 1)
                        : kind == 1 ? static_cast<double>(paid - place)
                        : kind == 2 ? static_cast<double>(random() % 3)
                        : kind == 3 ? (place + 1 == paid ? 1.0 : 0.0)
                        : kind == 4 ? static_cast<double>(10 - 10 * place / paid)
                                    : static_cast<double>(paid - place + (2 * place < paid ? paid : 0));
    return prizes;
}

QuadratureRun Nested(const std::vector<int64_t> &stacks, const std::vector<double> &prizes,
                     ostrel::QuadraturePass pass, bool nested, ostrel::QuadratureReport *report = nullptr,
                     unsigned threads = 1)
{
    ostrel::QuadratureOptions options = WithPass(pass, threads);
    options.Nested = nested;
    options.Report = report;
    return Quadrature(stacks, prizes, options);
}

} // namespace

/*
 * The nested levels against the planned step alone (the reference). Ladders
 * that fall at every place try the levels where they would save nodes (every
 * place paid: always here) and stop early or go down to the planned step;
 * the others (jumpy, last place alone, tiers) take the planned step as
 * before, to the bit. A tenth to all of the field paid.
 */
TEST(QuadratureMethod, NestedLevelsKeepThePlannedStepsAnswer)
{
    enum Tries
    {
        Never,
        Always,
        Either, // as the two plans' node counts decide
    };
    struct Row
    {
        size_t Players;
        size_t Paid;
        double Spread;
        int Ladder; // as LevelLadder
        ostrel::QuadraturePass Pass;
        Tries Levels;
    };
    const auto full = ostrel::QuadraturePass::FullBand;
    const auto tree = ostrel::QuadraturePass::ProductTree;
    const Row rows[] = {{250, 250, 1e6, 0, full, Always},  {300, 300, 1, 1, full, Always},
                        {300, 300, 1e2, 5, full, Always},  {500, 500, 1e6, 0, tree, Always},
                        {400, 400, 7, 1, tree, Always},    {1500, 150, 1e6, 0, tree, Either},
                        {900, 600, 7, 0, tree, Either},    {600, 300, 1e3, 1, full, Either},
                        {300, 300, 1e2, 2, full, Never},   {200, 200, 10, 3, full, Never},
                        {300, 200, 1e2, 4, full, Never},   {1600, 1500, 0, 0, tree, Always}};
    std::mt19937_64 random(23);
    for (const Row &row : rows)
    {
        // Spread 0: the benchmarks' stacks, 1,500 to 10,500 (a large field that
        // saves nodes with the finer step where the count meets the last place).
        std::vector<int64_t> stacks = RandomStacks(random, row.Players, std::max(row.Spread, 1.0));
        for (size_t seat = 0; seat < row.Players && row.Spread == 0; ++seat)
            stacks[seat] = 1500 + static_cast<int64_t>(seat * 7919 % 9000);
        const std::vector<double> prizes = LevelLadder(random, row.Ladder, row.Paid);
        const QuadratureRun planned = Nested(stacks, prizes, row.Pass, false);
        ostrel::QuadratureReport report;
        const QuadratureRun run = Nested(stacks, prizes, row.Pass, true, &report);
        ASSERT_TRUE(planned.Status.Ok && run.Status.Ok) << run.Status.Message;
        if (row.Levels != Either)
        {
            EXPECT_EQ(report.Top > 0, row.Levels == Always) << row.Players << " players, ladder " << row.Ladder;
        }
        if (report.Top == 0)
        {
            EXPECT_EQ(run.Equity, planned.Equity) << row.Players << " players, ladder " << row.Ladder;
            continue;
        }
        if (row.Ladder < 2) // smooth ladders stop early
        {
            EXPECT_GE(report.Level, 1u) << row.Players << " players, " << row.Paid << " paid";
        }
        for (size_t seat = 0; seat < row.Players; ++seat)
            ASSERT_NEAR(run.Equity[seat], planned.Equity[seat], 1e-12 * planned.Equity[seat])
                << row.Players << " players, " << row.Paid << " paid, spread " << row.Spread << ", ladder "
                << row.Ladder << ", seat " << seat << ", level " << report.Level;
    }
}

// A smooth ladder stops a level above the planned step, on about half the
// nodes; one with a cliff, as sharp there as the count of rung clocks, goes
// down to the planned step. The same bits on 1, 2 and 5 threads.
TEST(QuadratureMethod, NestedLevelsStopEarlyOnlyWhereTheyAgree)
{
    std::mt19937_64 random(29);
    const std::vector<int64_t> stacks = RandomStacks(random, 300, 1e4);
    for (int ladder : {0, 1, 5})
    {
        const std::vector<double> prizes = LevelLadder(random, ladder, stacks.size());
        ostrel::QuadratureReport report;
        const QuadratureRun run = Nested(stacks, prizes, ostrel::QuadraturePass::FullBand, true, &report);
        ASSERT_TRUE(run.Status.Ok);
        ASSERT_EQ(report.Top, 4u) << "ladder " << ladder;
        if (ladder == 5)
        {
            EXPECT_EQ(report.Level, 0u);
            EXPECT_GT(report.Change[1], 1e-13); // the cliff still moved the level above
            EXPECT_GE(report.Nodes, report.PlannedNodes);
        }
        else
        {
            EXPECT_GE(report.Level, 1u) << "ladder " << ladder;
            EXPECT_LE(report.Change[report.Level], 1e-13);
            EXPECT_LT(report.Nodes, report.PlannedNodes * 7 / 10) << "ladder " << ladder;
        }
        for (unsigned threads : {2u, 5u})
        {
            if (ladder == 1)
                break;
            ostrel::QuadratureReport shared;
            EXPECT_EQ(Nested(stacks, prizes, ostrel::QuadraturePass::FullBand, true, &shared, threads).Equity,
                      run.Equity)
                << threads << " threads, ladder " << ladder;
            EXPECT_EQ(shared.Nodes, report.Nodes);
        }
    }
    // The product tree's nodes, shared by threads, level by level.
    const std::vector<double> falling = LevelLadder(random, 0, stacks.size());
    const QuadratureRun alone = Nested(stacks, falling, ostrel::QuadraturePass::ProductTree, true);
    for (unsigned threads : {2u, 5u})
        EXPECT_EQ(Nested(stacks, falling, ostrel::QuadraturePass::ProductTree, true, nullptr, threads).Equity,
                  alone.Equity)
            << threads << " threads";
}
