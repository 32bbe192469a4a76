/*
 * The cards library's speed figures, each beside the plainer way it
 * replaces: the evaluator walking a board enumeration one card at a time
 * against evaluating every seven cards from scratch; exact preflop equity of
 * given hands; heads-up range against range from the class table against the
 * same boards enumerated; Monte Carlo showdowns. One thread throughout.
 * `--benchmark_filter=Every7` runs the exhaustive seven-card check (some
 * seconds), which prints its category counts.
 */
#include <benchmark/benchmark.h>

#include <cstdio>
#include <set>

#include "equity.h"
#include "evaluator.h"
#include "preflop.h"

namespace
{

using namespace ostrel::cards;

Range RangeOf(const char *text)
{
    Range range;
    ParseRange(text, range);
    return range;
}

// All C(52, 7) = 133,784,560 seven-card hands, walked card by card; the
// counts are checked against the published ones.
void Every7CardHand(benchmark::State &state)
{
    const uint64_t published[9] = {23294460, 58627800, 31433400, 6461620, 6180020,
                                   4047644,  3473184,  224848,   41584};
    for (auto _ : state)
    {
        uint64_t counts[9] = {};
        std::vector<bool> seen(65536, false);
        const Hand empty(Tables());
        for (int a = 0; a < CardCount; ++a)
        {
            const Hand ha = empty.Plus(static_cast<Card>(a));
            for (int b = a + 1; b < CardCount; ++b)
            {
                const Hand hb = ha.Plus(static_cast<Card>(b));
                for (int c = b + 1; c < CardCount; ++c)
                {
                    const Hand hc = hb.Plus(static_cast<Card>(c));
                    for (int d = c + 1; d < CardCount; ++d)
                    {
                        const Hand hd = hc.Plus(static_cast<Card>(d));
                        for (int e = d + 1; e < CardCount; ++e)
                        {
                            const Hand he = hd.Plus(static_cast<Card>(e));
                            for (int f = e + 1; f < CardCount; ++f)
                            {
                                const Hand hf = he.Plus(static_cast<Card>(f));
                                for (int g = f + 1; g < CardCount; ++g)
                                {
                                    const HandValue value = hf.Plus(static_cast<Card>(g)).Value();
                                    counts[value >> 12] += 1;
                                    seen[value] = true;
                                }
                            }
                        }
                    }
                }
            }
        }
        size_t distinct = 0;
        for (bool s : seen)
            distinct += s;
        bool agree = distinct == 4824;
        for (int i = 0; i < 9; ++i)
        {
            std::printf("%-16s %10llu (published %llu)\n", CategoryName(static_cast<Category>(i)),
                        static_cast<unsigned long long>(counts[i]), static_cast<unsigned long long>(published[i]));
            agree = agree && counts[i] == published[i];
        }
        std::printf("distinct values %zu (published 4824): %s\n", distinct, agree ? "all agree" : "DIFFERENT");
        if (!agree)
            state.SkipWithError("seven-card counts differ from the published ones");
    }
    state.counters["hands/s"] = benchmark::Counter(133784560.0 * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(Every7CardHand)->Unit(benchmark::kMillisecond)->Iterations(1);

// The same hands, the seventh card's value looked up once per rank (cards
// are numbered rank by rank) and only looked up again for a flush, and the
// flush not looked for where no suit has four cards yet: how the exact
// enumerations take their last card.
void Every7CardHandByRank(benchmark::State &state)
{
    const uint64_t published[9] = {23294460, 58627800, 31433400, 6461620, 6180020,
                                   4047644,  3473184,  224848,   41584};
    for (auto _ : state)
    {
        uint64_t counts[9] = {};
        const Hand empty;
        for (int a = 0; a < CardCount; ++a)
        {
            const Hand ha = empty.Plus(static_cast<Card>(a));
            for (int b = a + 1; b < CardCount; ++b)
            {
                const Hand hb = ha.Plus(static_cast<Card>(b));
                for (int c = b + 1; c < CardCount; ++c)
                {
                    const Hand hc = hb.Plus(static_cast<Card>(c));
                    for (int d = c + 1; d < CardCount; ++d)
                    {
                        const Hand hd = hc.Plus(static_cast<Card>(d));
                        for (int e = d + 1; e < CardCount; ++e)
                        {
                            const Hand he = hd.Plus(static_cast<Card>(e));
                            for (int f = e + 1; f < CardCount; ++f)
                            {
                                const Hand hf = he.Plus(static_cast<Card>(f));
                                if (hf.NoFlushPlus())
                                {
                                    // No flush to come: one lookup a rank.
                                    for (int g = f + 1; g < CardCount;)
                                    {
                                        const int end = (RankOf(static_cast<Card>(g)) + 1) * 4;
                                        counts[hf.RankValuePlus(static_cast<Card>(g)) >> 12] +=
                                            static_cast<uint64_t>(end - g);
                                        g = end;
                                    }
                                    continue;
                                }
                                for (int g = f + 1; g < CardCount;)
                                {
                                    const Card first = static_cast<Card>(g);
                                    const HandValue plain = hf.RankValuePlus(first);
                                    const int end = (RankOf(first) + 1) * 4;
                                    uint64_t plainCards = 0;
                                    for (; g < end; ++g)
                                    {
                                        const Card card = static_cast<Card>(g);
                                        if (hf.FlushPlus(card))
                                            counts[hf.ValuePlus(card) >> 12] += 1;
                                        else
                                            plainCards += 1;
                                    }
                                    counts[plain >> 12] += plainCards;
                                }
                            }
                        }
                    }
                }
            }
        }
        bool agree = true;
        for (int i = 0; i < 9; ++i)
            agree = agree && counts[i] == published[i];
        if (!agree)
            state.SkipWithError("seven-card counts differ from the published ones");
    }
    state.counters["hands/s"] = benchmark::Counter(133784560.0 * static_cast<double>(state.iterations()),
                                                   benchmark::Counter::kIsRate);
}
BENCHMARK(Every7CardHandByRank)->Unit(benchmark::kMillisecond)->Iterations(1);

// Seven-card hands in random order, the access pattern of sampling: a
// million hands of 7 distinct cards drawn beforehand, each hand built from
// its 7 cards and valued.
void RandomOrder7(benchmark::State &state)
{
    const size_t hands = 1000000;
    std::vector<Card> cards(hands * 7);
    uint64_t seed = 12345;
    for (size_t h = 0; h < hands; ++h)
    {
        CardSet used = 0;
        for (size_t i = 0; i < 7;)
        {
            seed = seed * 6364136223846793005u + 1442695040888963407u;
            const Card card = static_cast<Card>((seed >> 33) % CardCount);
            if ((used & MaskOf(card)) != 0)
                continue;
            used |= MaskOf(card);
            cards[h * 7 + i++] = card;
        }
    }
    const Hand empty(Tables());
    for (auto _ : state)
    {
        uint64_t sum = 0;
        for (size_t h = 0; h < hands; ++h)
        {
            const Card *c = &cards[h * 7];
            sum += empty.Plus(c[0]).Plus(c[1]).Plus(c[2]).Plus(c[3]).Plus(c[4]).Plus(c[5]).Plus(c[6]).Value();
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["hands/s"] =
        benchmark::Counter(static_cast<double>(hands) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}
BENCHMARK(RandomOrder7)->Unit(benchmark::kMillisecond);

// Two hands against every board of the other 48 cards (1,712,304 boards,
// two seven-card hands each): the enumeration AllInEquity runs.
void EnumerationTwoHands(benchmark::State &state)
{
    EquityRequest request;
    request.Players = {RangeOf("AdAc"), RangeOf("KhKs")};
    request.UseTable = false;
    request.Method = EquityMethod::Exact;
    EquityResult result;
    for (auto _ : state)
    {
        AllInEquity(request, result);
        benchmark::DoNotOptimize(result.Players[0].Equity);
    }
    state.counters["hands/s"] =
        benchmark::Counter(2.0 * 1712304.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(EnumerationTwoHands)->Unit(benchmark::kMillisecond);

// The same boards, each seven cards evaluated from scratch as a set.
void FromScratchTwoHands(benchmark::State &state)
{
    const CardSet hero = ComboMask(ComboIndex(MakeCard(12, 1), MakeCard(12, 0)));
    const CardSet villain = ComboMask(ComboIndex(MakeCard(11, 2), MakeCard(11, 3)));
    std::vector<Card> deck;
    for (int card = 0; card < CardCount; ++card)
        if (((hero | villain) & MaskOf(static_cast<Card>(card))) == 0)
            deck.push_back(static_cast<Card>(card));
    for (auto _ : state)
    {
        uint64_t wins = 0;
        const size_t n = deck.size();
        for (size_t a = 0; a < n; ++a)
            for (size_t b = a + 1; b < n; ++b)
                for (size_t c = b + 1; c < n; ++c)
                    for (size_t d = c + 1; d < n; ++d)
                        for (size_t e = d + 1; e < n; ++e)
                        {
                            const CardSet board = MaskOf(deck[a]) | MaskOf(deck[b]) | MaskOf(deck[c]) |
                                                  MaskOf(deck[d]) | MaskOf(deck[e]);
                            wins += EvaluateCards(board | hero) > EvaluateCards(board | villain);
                        }
        benchmark::DoNotOptimize(wins);
    }
    state.counters["hands/s"] =
        benchmark::Counter(2.0 * 1712304.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(FromScratchTwoHands)->Unit(benchmark::kMillisecond);

void EnumerationThreeHands(benchmark::State &state)
{
    EquityRequest request;
    request.Players = {RangeOf("AdAc"), RangeOf("KhKs"), RangeOf("7c6c")};
    request.Method = EquityMethod::Exact;
    EquityResult result;
    for (auto _ : state)
    {
        AllInEquity(request, result);
        benchmark::DoNotOptimize(result.Players[0].Equity);
    }
    state.counters["hands/s"] =
        benchmark::Counter(3.0 * 1370754.0 * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(EnumerationThreeHands)->Unit(benchmark::kMillisecond);

// Six given hands, every board of the other 40 cards.
void EnumerationSixHands(benchmark::State &state)
{
    EquityRequest request;
    request.Players = {RangeOf("AdAc"), RangeOf("KhKs"), RangeOf("QsQh"),
                       RangeOf("JcTc"), RangeOf("9d8d"), RangeOf("7h6h")};
    request.Method = EquityMethod::Exact;
    EquityResult result;
    for (auto _ : state)
    {
        AllInEquity(request, result);
        benchmark::DoNotOptimize(result.Players[0].Equity);
    }
}
BENCHMARK(EnumerationSixHands)->Unit(benchmark::kMillisecond);

// Three ranges on a turn (arg 4) or a flop (arg 3), every deal and board:
// `5%` against `10%` against `random`.
void EnumerationRanges(benchmark::State &state)
{
    EquityRequest request;
    request.Players = {RangeOf("5%"), RangeOf("10%"), RangeOf("random")};
    ParseCards(state.range(0) == 4 ? "2h7d9sKc" : "2h7d9s", request.Board);
    request.Method = EquityMethod::Exact;
    EquityResult result;
    for (auto _ : state)
    {
        AllInEquity(request, result);
        benchmark::DoNotOptimize(result.Players[0].Equity);
    }
}
BENCHMARK(EnumerationRanges)->Arg(4)->Arg(3)->Unit(benchmark::kMillisecond)->Iterations(1);

// Sampled to a standard error of about 0.025 %: `QQ+, AK` against `TT-88`
// against `random` (4 million showdowns), and six times `random` (2.1 million).
void SampledToQuarterPoint(benchmark::State &state)
{
    EquityRequest request;
    if (state.range(0) == 3)
    {
        request.Players = {RangeOf("QQ+, AK"), RangeOf("TT-88"), RangeOf("random")};
        request.Samples = 4000000;
    }
    else
    {
        request.Players.assign(6, RangeOf("random"));
        request.Samples = 2100000;
    }
    request.Method = EquityMethod::Sampled;
    EquityResult result;
    for (auto _ : state)
    {
        AllInEquity(request, result);
        benchmark::DoNotOptimize(result.Players[0].Equity);
    }
    state.counters["standard error %"] = 100.0 * result.StandardError;
}
BENCHMARK(SampledToQuarterPoint)->Arg(3)->Arg(6)->Unit(benchmark::kMillisecond);

// Heads-up preflop range against range from the table, for ranges whose
// classes carry one weight, for ranges of single combos, and for the worst
// case, every combo of both ranges with a weight of its own.
void TableRangeVsRange(benchmark::State &state)
{
    Range hero;
    Range villain;
    if (state.range(0) == 0)
    {
        hero = RangeOf("22+, A2s+, K9s+, AJo+");
        villain = RangeOf("random");
    }
    else if (state.range(0) == 1)
    {
        hero = RangeOf("AhKh, AsKs:0.5, QQ, JcTc");
        villain = RangeOf("15%, AdKc:0.3, 7h6h");
    }
    else
        for (size_t combo = 0; combo < ComboCount; ++combo)
        {
            hero.Weight[combo] = static_cast<double>(combo % 97 + 1) / 97.0;
            villain.Weight[combo] = static_cast<double>(combo % 89 + 1) / 89.0;
        }
    HeadsUpEquity result;
    HeadsUpPreflop(hero, villain, result);
    for (auto _ : state)
    {
        HeadsUpPreflop(hero, villain, result);
        benchmark::DoNotOptimize(result.Equity);
    }
}
BENCHMARK(TableRangeVsRange)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// What the table replaces: AA against KK by enumerating the boards of its
// 36 pairs of combos.
void EnumeratedRangeVsRange(benchmark::State &state)
{
    EquityRequest request;
    request.Players = {RangeOf("AA"), RangeOf("KK")};
    request.UseTable = false;
    EquityResult result;
    for (auto _ : state)
    {
        AllInEquity(request, result);
        benchmark::DoNotOptimize(result.Players[0].Equity);
    }
}
BENCHMARK(EnumeratedRangeVsRange)->Unit(benchmark::kMillisecond);

// Monte Carlo showdowns: two ranges preflop, and three players on a flop.
void MonteCarlo(benchmark::State &state)
{
    EquityRequest request;
    if (state.range(0) == 2)
        request.Players = {RangeOf("22+, A2s+, K9s+, AJo+"), RangeOf("random")};
    else
    {
        request.Players = {RangeOf("QQ+, AK"), RangeOf("random"), RangeOf("22-99, ATs+")};
        ParseCards("Qs9h2c", request.Board);
    }
    request.Method = EquityMethod::Sampled;
    request.Samples = 1000000;
    EquityResult result;
    for (auto _ : state)
    {
        AllInEquity(request, result);
        benchmark::DoNotOptimize(result.Players[0].Equity);
    }
    state.counters["showdowns/s"] = benchmark::Counter(1e6 * static_cast<double>(state.iterations()),
                                                       benchmark::Counter::kIsRate);
}
BENCHMARK(MonteCarlo)->Arg(2)->Arg(3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
