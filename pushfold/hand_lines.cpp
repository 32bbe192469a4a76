/*
 * Chances of outcomes over the combos of the players in the pot. Every
 * later player's hand is uniform over the combos the cards in the pot leave
 * (1,225 after one hand, 1,128 after two), so his chance of entering is the
 * live weight of his range over that count.
 */
#include "hand_lines.h"

#include <algorithm>
#include <cmath>

#include "evaluator.h"
#include "preflop.h"
#include "split_mix.h"

namespace ostrel
{
namespace
{

constexpr double CombosAfterOne = 1225.0; // C(50, 2)
constexpr double CombosAfterTwo = 1128.0; // C(48, 2)

size_t Pick(const std::vector<double> &cumulative, double u)
{
    const double target = u * cumulative.back();
    const auto found = std::upper_bound(cumulative.begin(), cumulative.end(), target);
    return std::min(static_cast<size_t>(found - cumulative.begin()), cumulative.size() - 1);
}

bool Share(int a, int b)
{
    return (cards::ComboMask(a) & cards::ComboMask(b)) != 0;
}

// The index of a three-way weak order by its ranks.
struct ThreeWayIndex
{
    uint8_t Of[3][3][3] = {};
    ThreeWayIndex()
    {
        for (size_t f = 0; f < FinishCount(3); ++f)
        {
            uint8_t r[3];
            FinishRanks(3, f, r);
            Of[r[0]][r[1]][r[2]] = static_cast<uint8_t>(f);
        }
    }
};

uint8_t RankAmong(cards::HandValue mine, cards::HandValue a, cards::HandValue b)
{
    return static_cast<uint8_t>((a > mine ? 1 : 0) + (b > mine ? 1 : 0) - (a > mine && b > mine && a == b ? 1 : 0));
}

double LiveOfCombo(const RangeTable *table, int combo)
{
    const cards::Combo cards2 = cards::ComboCards(combo);
    const cards::Card dead[2] = {cards2.High, cards2.Low};
    return LiveWeight(*table, dead, 2);
}

double LiveOfTwo(const RangeTable *table, int a, int b)
{
    const cards::Combo x = cards::ComboCards(a);
    const cards::Combo y = cards::ComboCards(b);
    const cards::Card dead[4] = {x.High, x.Low, y.High, y.Low};
    return LiveWeight(*table, dead, 4);
}

struct PairDraw
{
    int Shover;
    int Caller;
};

size_t PairIndex(size_t i, size_t j, size_t k)
{
    // pairs (i, j), i < j, in row order
    return i * k - i * (i + 1) / 2 + (j - i - 1);
}

} // namespace

RangeTable TableOfRange(const cards::Range &range)
{
    RangeTable table;
    table.Range = &range;
    double running = 0.0;
    for (int combo = 0; combo < cards::ComboCount; ++combo)
    {
        const double weight = range.Weight[static_cast<size_t>(combo)];
        if (weight <= 0.0)
            continue;
        const cards::Combo cards2 = cards::ComboCards(combo);
        table.CardWeight[cards2.High] += weight;
        table.CardWeight[cards2.Low] += weight;
        table.Total += weight;
        running += weight;
        table.Support.push_back(combo);
        table.Cumulative.push_back(running);
    }
    return table;
}

double LiveWeight(const RangeTable &table, const cards::Card *dead, int count)
{
    // Inclusion and exclusion: a combo holds at most two of the dead cards.
    double live = table.Total;
    for (int a = 0; a < count; ++a)
        live -= table.CardWeight[dead[a]];
    for (int a = 0; a < count; ++a)
        for (int b = a + 1; b < count; ++b)
            live += table.Range->Weight[static_cast<size_t>(cards::ComboIndex(dead[a], dead[b]))];
    return std::max(live, 0.0);
}

std::vector<Showdown> LineOutcomes(const Line &line)
{
    const size_t k = line.After.size();
    std::vector<Showdown> outcomes;
    Showdown alone;
    alone.Seats[0] = line.Shover;
    alone.Count = 1;
    outcomes.push_back(alone);
    for (size_t i = 0; i < k; ++i)
        for (size_t f = 0; f < FinishCount(2); ++f)
        {
            Showdown pot;
            pot.Count = 2;
            pot.Seats[0] = line.Shover;
            pot.Seats[1] = line.After[i].Seat;
            FinishRanks(2, f, pot.Rank);
            outcomes.push_back(pot);
        }
    for (size_t i = 0; i < k; ++i)
        for (size_t j = i + 1; j < k; ++j)
            for (size_t f = 0; f < FinishCount(3); ++f)
            {
                Showdown pot;
                pot.Count = 3;
                pot.Seats[0] = line.Shover;
                pot.Seats[1] = line.After[i].Seat;
                pot.Seats[2] = line.After[j].Seat;
                FinishRanks(3, f, pot.Rank);
                outcomes.push_back(pot);
            }
    return outcomes;
}

void LineChancesOf(const Line &line, const std::vector<std::pair<int, double>> &shoverHands,
                   const LineOptions &options, LineChances &chances)
{
    const size_t k = line.After.size();
    const size_t pairs = k * (k - (k > 0 ? 1 : 0)) / 2;
    const size_t threeWayFirst = 1 + 3 * k;
    chances.Chance.assign(threeWayFirst + 13 * pairs, 0.0);
    chances.Sampled.clear();
    double total = 0.0;
    for (const auto &hand : shoverHands)
        total += hand.second;
    if (!(total > 0.0))
        return;

    // For each three-way pot, the (shover, caller) pairs that lead to it, with their running weight.
    std::vector<std::vector<std::pair<int, int>>> &draws = chances.PairScratch;
    std::vector<std::vector<double>> &running = chances.RunningScratch;
    draws.resize(std::max(draws.size(), pairs));
    running.resize(std::max(running.size(), pairs));
    for (size_t pair = 0; pair < pairs; ++pair)
    {
        draws[pair].clear();
        running[pair].clear();
    }
    std::vector<double> mass(pairs, 0.0);
    std::vector<double> overcall(k, 0.0);
    std::vector<int> fixedOnly(1);
    size_t forced = k; // the seat in the pot by force, if any
    for (size_t i = 0; i < k; ++i)
        if (line.After[i].Forced)
            forced = i;

    for (const auto &hand : shoverHands)
    {
        const int c0 = hand.first;
        double reach = hand.second / total; // no one has called yet
        for (size_t i = 0; i < k && reach > 0.0; ++i)
        {
            if (i == forced)
                continue; // he does not act
            const LineSeat &caller = line.After[i];
            double callChance = 0.0;
            const std::vector<int> *combos = nullptr;
            if (caller.Fixed >= 0)
            {
                fixedOnly[0] = caller.Fixed;
                combos = &fixedOnly;
                callChance = Share(c0, caller.Fixed) ? 0.0 : 1.0;
            }
            else if (caller.Call != nullptr)
            {
                combos = &caller.Call->Support;
                callChance = LiveOfCombo(caller.Call, c0) / CombosAfterOne;
            }
            if (combos != nullptr && callChance > 0.0)
                for (int c1 : *combos)
                {
                    if (Share(c0, c1))
                        continue;
                    const double p1 =
                        reach * (caller.Fixed >= 0 ? 1.0
                                                   : caller.Call->Range->Weight[static_cast<size_t>(c1)] / CombosAfterOne);
                    if (forced < k)
                    {
                        // Three-way with the forced player, wherever he sits; nobody else enters.
                        const size_t pair = PairIndex(std::min(i, forced), std::max(i, forced), k);
                        mass[pair] += p1;
                        draws[pair].push_back({c0, c1});
                        running[pair].push_back(mass[pair]);
                        continue;
                    }
                    double noOvercall = 1.0;
                    for (size_t j = i + 1; j < k; ++j)
                    {
                        const LineSeat &later = line.After[j];
                        const RangeTable *over = OvercallOf(later, i);
                        const double r = later.FixedOver >= 0
                                             ? (Share(later.FixedOver, c0) || Share(later.FixedOver, c1) ? 0.0 : 1.0)
                                         : over == nullptr ? 0.0
                                                           : LiveOfTwo(over, c0, c1) / CombosAfterTwo;
                        if (r > 0.0)
                        {
                            const size_t pair = PairIndex(i, j, k);
                            const double weight = p1 * noOvercall * r;
                            mass[pair] += weight;
                            draws[pair].push_back({c0, c1});
                            running[pair].push_back(mass[pair]);
                        }
                        noOvercall *= 1.0 - r;
                    }
                    const double headsUp = p1 * noOvercall;
                    if (!(headsUp > 0.0))
                        continue;
                    const cards::MatchupCounts counts = cards::ComboVsCombo(c0, c1);
                    const double showdowns = static_cast<double>(counts.Showdowns);
                    const double win = static_cast<double>(counts.Wins) / showdowns;
                    const double tie = static_cast<double>(counts.Ties) / showdowns;
                    double *end = &chances.Chance[1 + 3 * i];
                    end[0] += headsUp * win;
                    end[1] += headsUp * (1.0 - win - tie);
                    end[2] += headsUp * tie;
                }
            reach *= 1.0 - callChance;
        }
        if (forced < k && reach > 0.0 && line.After[forced].Call != nullptr)
        {
            // Nobody called: the shover against the forced player's any hand, exact.
            const RangeTable &any = *line.After[forced].Call;
            const double live = LiveOfCombo(&any, c0);
            double *end = &chances.Chance[1 + 3 * forced];
            for (int c1 : any.Support)
            {
                if (Share(c0, c1))
                    continue;
                const double weight = reach * any.Range->Weight[static_cast<size_t>(c1)] / live;
                const cards::MatchupCounts counts = cards::ComboVsCombo(c0, c1);
                const double showdowns = static_cast<double>(counts.Showdowns);
                const double win = static_cast<double>(counts.Wins) / showdowns;
                const double tie = static_cast<double>(counts.Ties) / showdowns;
                end[0] += weight * win;
                end[1] += weight * (1.0 - win - tie);
                end[2] += weight * tie;
            }
        }
        else
            chances.Chance[0] += reach;
    }

    double threeWay = 0.0;
    for (double m : mass)
        threeWay += m;
    if (!(threeWay > 0.0))
        return;
    static const ThreeWayIndex index;
    const cards::Hand empty(cards::Tables());
    for (size_t i = 0; i < k; ++i)
        for (size_t j = i + 1; j < k; ++j)
        {
            const size_t pair = PairIndex(i, j, k);
            if (!(mass[pair] > 0.0))
                continue;
            SampledPot pot;
            pot.First = threeWayFirst + 13 * pair;
            pot.Mass = mass[pair];
            pot.Draws = std::max<uint64_t>(
                64, static_cast<uint64_t>(std::ceil(static_cast<double>(options.Draws) * mass[pair] / threeWay)));
            // With the forced player first of the two, the drawn caller
            // sits second and the forced player's hand is the one drawn.
            const bool forcedFirst = i == forced;
            const RangeTable *over = forcedFirst ? line.After[i].Overcall : OvercallOf(line.After[j], i);
            const int fixedOver = forcedFirst ? -1 : line.After[j].FixedOver;
            SplitMix random = {Mix(options.Seed ^ Mix(static_cast<uint64_t>(shoverHands.front().first) * 4099u +
                                                    i * 131u + j))};
            uint64_t counts[13] = {};
            for (uint64_t d = 0; d < pot.Draws; ++d)
            {
                const std::pair<int, int> drawn = draws[pair][Pick(running[pair], random.Unit())];
                const PairDraw first = {drawn.first, drawn.second};
                const cards::CardSet used = cards::ComboMask(first.Shover) | cards::ComboMask(first.Caller);
                int c2 = fixedOver;
                while (c2 < 0 || (cards::ComboMask(c2) & used) != 0)
                    c2 = over->Support[Pick(over->Cumulative, random.Unit())];
                cards::CardSet dealt = used | cards::ComboMask(c2);
                cards::Hand board = empty;
                for (int n = 0; n < 5;)
                {
                    const cards::Card card = static_cast<cards::Card>(random.Next() % cards::CardCount);
                    if ((dealt & cards::MaskOf(card)) != 0)
                        continue;
                    dealt |= cards::MaskOf(card);
                    board = board.Plus(card);
                    ++n;
                }
                cards::HandValue v[3];
                const int hands[3] = {first.Shover, forcedFirst ? c2 : first.Caller, forcedFirst ? first.Caller : c2};
                for (int p = 0; p < 3; ++p)
                {
                    const cards::Combo two = cards::ComboCards(hands[p]);
                    v[p] = board.Plus(two.High).Plus(two.Low).Value();
                }
                counts[index.Of[RankAmong(v[0], v[1], v[2])][RankAmong(v[1], v[0], v[2])][RankAmong(v[2], v[0], v[1])]] += 1;
            }
            for (size_t f = 0; f < 13; ++f)
                chances.Chance[pot.First + f] =
                    mass[pair] * static_cast<double>(counts[f]) / static_cast<double>(pot.Draws);
            chances.Sampled.push_back(pot);
        }
}

void LineValue(const LineChances &chances, const std::vector<double> &values, double &value, double &error)
{
    // Relative to the first outcome, so that a value every outcome shares comes out exactly.
    value = 0.0;
    for (size_t o = 1; o < chances.Chance.size(); ++o)
        value += chances.Chance[o] * (values[o] - values[0]);
    value += values[0];
    double variance = 0.0;
    for (const SampledPot &pot : chances.Sampled)
    {
        double mean = 0.0;
        double square = 0.0;
        for (size_t f = 0; f < 13; ++f)
        {
            const double p = chances.Chance[pot.First + f] / pot.Mass;
            mean += p * values[pot.First + f];
            square += p * values[pot.First + f] * values[pot.First + f];
        }
        variance += pot.Mass * pot.Mass * std::max(square - mean * mean, 0.0) / static_cast<double>(pot.Draws);
    }
    error = std::sqrt(variance);
}

} // namespace ostrel
