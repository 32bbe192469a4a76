/*
 * The class tables and the fixed draws of three-way showdowns.
 *
 * Contract: the chance of each class of another player given one's own is
 * exact (combo pairs that share no card, from the preflop table's counts);
 * the draws are, for each class, its combos uniformly, then two more combos
 * uniform over the cards left and a board uniform over the rest, the same on
 * every platform (splitmix64, integer arithmetic only).
 * Cost: see equilibrium_game.h.
 */
#include "equilibrium_game.h"

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
    }
    t.PairClass.assign(52 * 52, 0);
    for (int x = 0; x < 52; ++x)
        for (int y = 0; y < 52; ++y)
            if (x != y)
                t.PairClass[static_cast<size_t>(x * 52 + y)] = static_cast<uint8_t>(cards::ClassOfCombo(
                    cards::ComboIndex(static_cast<cards::Card>(x), static_cast<cards::Card>(y))));
    return t;
}

std::vector<Draw> MakeDraws(uint32_t perClass, uint64_t seed)
{
    std::vector<Draw> draws;
    draws.reserve(static_cast<size_t>(perClass) * K);
    for (int h = 0; h < K; ++h)
    {
        int combos[cards::MaxClassCombos];
        const int count = cards::CombosOfClass(h, combos);
        SplitMix random{seed * 0x100000001b3u + static_cast<uint64_t>(h) * 0x9e3779b97f4a7c15u};
        for (uint32_t n = 0; n < perClass; ++n)
        {
            Draw d{};
            const int hero = combos[random.Below(static_cast<uint64_t>(count))];
            cards::CardSet used = cards::ComboMask(hero);
            int picked[2] = {0, 0};
            for (int k = 0; k < 2; ++k)
                for (;;)
                {
                    const int c = static_cast<int>(random.Below(cards::ComboCount));
                    if ((cards::ComboMask(c) & used) == 0)
                    {
                        picked[k] = c;
                        used |= cards::ComboMask(c);
                        break;
                    }
                }
            cards::CardSet board = 0;
            for (int k = 0; k < 5;)
            {
                const cards::CardSet card = cards::CardSet{1} << random.Below(cards::CardCount);
                if ((card & (used | board)) == 0)
                {
                    board |= card;
                    ++k;
                }
            }
            const cards::HandValue vh = cards::EvaluateCards(board | cards::ComboMask(hero));
            const cards::HandValue va = cards::EvaluateCards(board | cards::ComboMask(picked[0]));
            const cards::HandValue vb = cards::EvaluateCards(board | cards::ComboMask(picked[1]));
            // Dense ranks: how many distinct values beat each hand.
            auto rank = [](cards::HandValue mine, cards::HandValue x, cards::HandValue y) {
                int above = (x > mine ? 1 : 0) + (y > mine ? 1 : 0);
                if (x > mine && y > mine && x == y)
                    above = 1;
                return static_cast<uint8_t>(above);
            };
            d.Hero = static_cast<uint16_t>(hero);
            d.A = static_cast<uint16_t>(picked[0]);
            d.B = static_cast<uint16_t>(picked[1]);
            d.ClassA = static_cast<uint8_t>(cards::ClassOfCombo(picked[0]));
            d.ClassB = static_cast<uint8_t>(cards::ClassOfCombo(picked[1]));
            d.RankHero = rank(vh, va, vb);
            d.RankA = rank(va, vh, vb);
            d.RankB = rank(vb, vh, va);
            draws.push_back(d);
        }
    }
    return draws;
}

} // namespace equilibrium_detail
} // namespace ostrel
