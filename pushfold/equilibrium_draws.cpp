/*
 * The class tables and the fixed draws of three-way showdowns.
 *
 * Contract: the chance of each class of another player given one's own is
 * exact (combo pairs that share no card, from the preflop table's counts);
 * the draws are, for each class, its combos uniformly, then two more combos
 * (uniform over the cards left, or from a mixture of a range and uniform,
 * with the importance weight that makes the weighted means uniform ones)
 * and a board uniform over the rest, the same on every platform
 * (splitmix64, fixed order of operations).
 * Cost: see equilibrium_game.h.
 */
#include "equilibrium_game.h"

#include <algorithm>

#include "evaluator.h"
#include "preflop.h"
#include "split_mix.h"

namespace ostrel
{
namespace equilibrium_detail
{

ClassTables MakeTables()
{
    ClassTables t;
    t.Given.assign(K * K, 0.0);
    t.Win.assign(K * K, 0.0);
    t.Tie.assign(K * K, 0.0);
    for (int h = 0; h < K; ++h)
    {
        const double combos = cards::ComboCountOfClass(h);
        t.Share[static_cast<size_t>(h)] = combos / cards::ComboCount;
        for (int a = 0; a < K; ++a)
        {
            const cards::MatchupCounts m = cards::ClassVsClass(h, a);
            const size_t i = static_cast<size_t>(h * K + a);
            if (m.Showdowns == 0)
                continue;
            const double pairs = static_cast<double>(m.Showdowns / cards::PreflopBoards);
            t.Given[i] = pairs / (combos * 1225.0);
            t.Win[i] = static_cast<double>(m.Wins) / static_cast<double>(m.Showdowns);
            t.Tie[i] = static_cast<double>(m.Ties) / static_cast<double>(m.Showdowns);
        }
    }
    for (int c = 0; c < cards::ComboCount; ++c)
    {
        const cards::Combo two = cards::ComboCards(c);
        t.ClassOf[static_cast<size_t>(c)] = static_cast<uint8_t>(cards::ClassOfCombo(c));
        t.CardsOf[static_cast<size_t>(c)] = {two.High, two.Low};
        t.MaskOf[static_cast<size_t>(c)] = cards::ComboMask(c);
    }
    t.PairClass.assign(52 * 52, 0);
    for (int x = 0; x < 52; ++x)
        for (int y = 0; y < 52; ++y)
            if (x != y)
                t.PairClass[static_cast<size_t>(x * 52 + y)] = static_cast<uint8_t>(cards::ClassOfCombo(
                    cards::ComboIndex(static_cast<cards::Card>(x), static_cast<cards::Card>(y))));
    return t;
}

namespace
{

// A board uniform over the cards the three combos leave, and the dense
// ranks of the three hands on it.
Draw Showdown(const ClassTables &t, SplitMix &random, int hero, int a, int b)
{
    const cards::CardSet used = t.MaskOf[static_cast<size_t>(hero)] | t.MaskOf[static_cast<size_t>(a)] | t.MaskOf[static_cast<size_t>(b)];
    cards::CardSet board = 0;
    cards::Hand common;
    for (int k = 0; k < 5;)
    {
        const uint64_t index = random.Below(cards::CardCount);
        const cards::CardSet card = cards::CardSet{1} << index;
        if ((card & (used | board)) == 0)
        {
            board |= card;
            common = common.Plus(static_cast<cards::Card>(index));
            ++k;
        }
    }
    // The board's sums once, then each player's two cards (the same values
    // as evaluating his seven cards).
    const auto value = [&](int combo) {
        const std::array<uint8_t, 2> &two = t.CardsOf[static_cast<size_t>(combo)];
        return common.Plus(static_cast<cards::Card>(two[0])).Plus(static_cast<cards::Card>(two[1])).Value();
    };
    const cards::HandValue vh = value(hero), va = value(a), vb = value(b);
    // Dense ranks: how many distinct values beat each hand.
    auto rank = [](cards::HandValue mine, cards::HandValue x, cards::HandValue y) {
        int above = (x > mine ? 1 : 0) + (y > mine ? 1 : 0);
        if (x > mine && y > mine && x == y)
            above = 1;
        return static_cast<uint8_t>(above);
    };
    Draw d{};
    d.Weight = 1.0;
    d.Hero = static_cast<uint16_t>(hero);
    d.A = static_cast<uint16_t>(a);
    d.B = static_cast<uint16_t>(b);
    d.ClassA = t.ClassOf[static_cast<size_t>(a)];
    d.ClassB = t.ClassOf[static_cast<size_t>(b)];
    d.RankHero = rank(vh, va, vb);
    d.RankA = rank(va, vh, vb);
    d.RankB = rank(vb, vh, va);
    return d;
}

// The classes of the pairs across two combos (see Draw::Cross).
void CrossClasses(const ClassTables &t, int first, int second, uint8_t *into)
{
    const auto &x = t.CardsOf[static_cast<size_t>(first)], &y = t.CardsOf[static_cast<size_t>(second)];
    into[0] = t.PairClass[static_cast<size_t>(x[0] * 52 + y[0])];
    into[1] = t.PairClass[static_cast<size_t>(x[0] * 52 + y[1])];
    into[2] = t.PairClass[static_cast<size_t>(x[1] * 52 + y[0])];
    into[3] = t.PairClass[static_cast<size_t>(x[1] * 52 + y[1])];
}

int UniformCombo(const ClassTables &t, SplitMix &random, cards::CardSet used)
{
    for (;;)
    {
        const int c = static_cast<int>(random.Below(cards::ComboCount));
        if ((t.MaskOf[static_cast<size_t>(c)] & used) == 0)
            return c;
    }
}

// A defensive mixture: with chance Mix a combo of the range (a class by
// its weight times its combos, then one of its combos), else a uniform one.
struct Proposal
{
    double RangeMix = 0.0, Total = 0.0;
    std::array<double, K> Class{}, Cumulative{};
    std::array<double, cards::CardCount> Card{};
    int Combos[K][cards::MaxClassCombos];
    int Count[K];
    // Read once per draw, so made once: each combo's Chance, each combo's
    // Live with its two cards dead, and where to start looking for a class
    // in Cumulative by the first bits of u / Total.
    std::array<double, cards::ComboCount> ChanceOf{}, LiveOfTwo{};
    std::vector<double> PairWeight; // [x * 52 + y]: Class of the pair's class
    static constexpr size_t Guides = 256;
    std::array<uint8_t, Guides> Guide{};

    Proposal(const std::array<double, K> &weight, const ClassTables &t)
    {
        for (int k = 0; k < K; ++k)
        {
            Count[k] = cards::CombosOfClass(k, Combos[k]);
            Class[static_cast<size_t>(k)] = weight[static_cast<size_t>(k)];
            Total += weight[static_cast<size_t>(k)] * Count[k];
            Cumulative[static_cast<size_t>(k)] = Total;
            for (int i = 0; i < Count[k]; ++i)
                for (uint8_t card : t.CardsOf[static_cast<size_t>(Combos[k][i])])
                    Card[card] += weight[static_cast<size_t>(k)];
        }
        RangeMix = Total > 0.0 ? ProposalMix : 0.0;
        PairWeight.resize(t.PairClass.size());
        for (size_t i = 0; i < t.PairClass.size(); ++i)
            PairWeight[i] = Class[t.PairClass[i]];
        for (int c = 0; c < cards::ComboCount; ++c)
        {
            ChanceOf[static_cast<size_t>(c)] = Chance(c, t);
            LiveOfTwo[static_cast<size_t>(c)] = Live(t.CardsOf[static_cast<size_t>(c)].data(), 2);
        }
        for (size_t g = 0; g < Guides; ++g)
            Guide[g] = static_cast<uint8_t>(std::min<ptrdiff_t>(
                K - 1, std::upper_bound(Cumulative.begin(), Cumulative.end(), Total * static_cast<double>(g) / Guides) -
                           Cumulative.begin()));
    }
    // The first class whose running weight passes u (upper_bound's answer,
    // K when none does), from the guide's guess: it may be off either way,
    // the two walks make it exact.
    size_t ClassAt(double u) const
    {
        const double at = u / Total * Guides;
        size_t k = Guide[at < static_cast<double>(Guides) ? static_cast<size_t>(at) : Guides - 1];
        while (k > 0 && Cumulative[k - 1] > u)
            --k;
        while (k < static_cast<size_t>(K) && Cumulative[k] <= u)
            ++k;
        return k;
    }
    // The proposal's chance of combo c before removal.
    double Chance(int combo, const ClassTables &t) const
    {
        const double uniform = (1.0 - RangeMix) / cards::ComboCount;
        return RangeMix > 0.0 ? RangeMix * Class[t.ClassOf[static_cast<size_t>(combo)]] / Total + uniform
                              : uniform;
    }
    // The proposal's chance of the combos that miss the dead cards.
    double Live(const uint8_t *dead, int count) const
    {
        double live = Total;
        for (int i = 0; i < count; ++i)
        {
            live -= Card[dead[i]];
            for (int j = i + 1; j < count; ++j)
                live += PairWeight[static_cast<size_t>(dead[i] * 52 + dead[j])];
        }
        const double free = static_cast<double>((52 - count) * (51 - count) / 2);
        const double uniform = (1.0 - RangeMix) * free / cards::ComboCount;
        return RangeMix > 0.0 ? RangeMix * std::max(0.0, live) / Total + uniform : uniform;
    }
    int Pick(const ClassTables &t, SplitMix &random, cards::CardSet used) const
    {
        for (;;)
        {
            int c;
            if (RangeMix > 0.0 && random.Unit() < RangeMix)
            {
                const double u = random.Unit() * Total;
                size_t k = ClassAt(u);
                if (k >= static_cast<size_t>(K)) // u rounded up to the total
                    for (k = K - 1; Class[k] <= 0.0; --k)
                    {
                    }
                c = Combos[k][random.BelowClassCombos(static_cast<uint64_t>(Count[k]))];
            }
            else
                c = static_cast<int>(random.Below(cards::ComboCount));
            if ((t.MaskOf[static_cast<size_t>(c)] & used) == 0)
                return c;
        }
    }
};

// perClass draws for each class of the valued player, one splitmix64 stream
// a class; `deal` gives the rest of a draw from the player's combo.
template <class Deal> std::vector<Draw> DrawEachClass(uint32_t perClass, uint64_t seed, const Deal &deal)
{
    std::vector<Draw> draws;
    draws.reserve(static_cast<size_t>(perClass) * K);
    for (int h = 0; h < K; ++h)
    {
        int combos[cards::MaxClassCombos];
        const int count = cards::CombosOfClass(h, combos);
        SplitMix random{seed * 0x100000001b3u + static_cast<uint64_t>(h) * 0x9e3779b97f4a7c15u};
        for (uint32_t n = 0; n < perClass; ++n)
            draws.push_back(deal(random, combos[random.BelowClassCombos(static_cast<uint64_t>(count))]));
    }
    return draws;
}

} // namespace

std::vector<Draw> MakeDraws(const ClassTables &tables, uint32_t perClass, uint64_t seed)
{
    return DrawEachClass(perClass, seed, [&](SplitMix &random, int hero) {
        cards::CardSet used = tables.MaskOf[static_cast<size_t>(hero)];
        const int a = UniformCombo(tables, random, used);
        used |= tables.MaskOf[static_cast<size_t>(a)];
        const int b = UniformCombo(tables, random, used);
        Draw d = Showdown(tables, random, hero, a, b);
        CrossClasses(tables, hero, a, d.Cross);
        return d;
    });
}

std::vector<Draw> MakeWeightedDraws(const ClassTables &tables, uint32_t perClass, uint64_t seed,
                                    const std::array<double, K> &a, const std::array<double, K> &b)
{
    const Proposal pa(a, tables), pb(b, tables);
    return DrawEachClass(perClass, seed, [&](SplitMix &random, int hero) {
        uint8_t dead[4] = {tables.CardsOf[static_cast<size_t>(hero)][0],
                           tables.CardsOf[static_cast<size_t>(hero)][1], 0, 0};
        cards::CardSet used = tables.MaskOf[static_cast<size_t>(hero)];
        const int ca = pa.Pick(tables, random, used);
        used |= tables.MaskOf[static_cast<size_t>(ca)];
        dead[2] = tables.CardsOf[static_cast<size_t>(ca)][0];
        dead[3] = tables.CardsOf[static_cast<size_t>(ca)][1];
        const int cb = pb.Pick(tables, random, used);
        Draw d = Showdown(tables, random, hero, ca, cb);
        CrossClasses(tables, ca, cb, d.Cross);
        // Uniform over the cards left (1 / 1225, then 1 / 1128) over the
        // proposal's chance given the same cards.
        d.Weight = pa.LiveOfTwo[static_cast<size_t>(hero)] / (1225.0 * pa.ChanceOf[static_cast<size_t>(ca)]) *
                   (pb.Live(dead, 4) / (1128.0 * pb.ChanceOf[static_cast<size_t>(cb)]));
        return d;
    });
}

} // namespace equilibrium_detail
} // namespace ostrel
