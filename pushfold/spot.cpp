/*
 * The spot: the lines of hands behind each decision (see hand_lines.h), their
 * outcomes valued once through the books, and every class's EV of folding
 * and of playing as the chance-weighted values. When every range gives all
 * combos of a class one weight, renaming the suits changes nothing, so one
 * combo of each class stands for the class (and for the shover's range in a
 * line of folded hands).
 */
#include "spot.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "preflop.h"
#include "suit_symmetry.h"

namespace ostrel
{
namespace
{

std::string SeatName(size_t seat)
{
    return "seat " + std::to_string(seat + 1);
}

uint64_t LineSeed(uint64_t seed, int combo)
{
    return seed * 1469598103934665603u + static_cast<uint64_t>(combo + 1);
}

} // namespace

Line SpotSolver::PlayLine(int heroCombo) const
{
    Line line;
    if (Question.Action == SpotAction::FirstIn)
    {
        line.Shover = Question.Hero;
        line.After = Later;
        return line;
    }
    if (Question.Action == SpotAction::Overcall)
    {
        line = OvercallPlay;
        line.After.back().FixedOver = heroCombo;
        return line;
    }
    line.Shover = Question.Shover;
    LineSeat hero;
    hero.Seat = Question.Hero;
    hero.Fixed = heroCombo;
    line.After.push_back(hero);
    for (LineSeat seat : Later)
    {
        if (!seat.Forced)
            seat.Call = nullptr; // the hero called first
        seat.OvercallAfter.clear();
        line.After.push_back(seat);
    }
    return line;
}

std::vector<std::pair<int, double>> SpotSolver::ShoverHands(const RangeTable *range, int heroCombo, bool reduce) const
{
    std::vector<std::pair<int, double>> hands;
    const cards::Range &weights = *range->Range;
    if (reduce && heroCombo < 0)
    {
        for (int c = 0; c < cards::ClassCount; ++c)
        {
            const int first = cards::CanonicalCombo(c);
            const double weight = weights.Weight[static_cast<size_t>(first)];
            if (weight > 0.0)
                hands.push_back({first, weight * cards::ComboCountOfClass(c)});
        }
        return hands;
    }
    const cards::CardSet hero = heroCombo >= 0 ? cards::ComboMask(heroCombo) : 0;
    for (int combo = 0; combo < cards::ComboCount; ++combo)
        if (weights.Weight[static_cast<size_t>(combo)] > 0.0 && (cards::ComboMask(combo) & hero) == 0)
            hands.push_back({combo, weights.Weight[static_cast<size_t>(combo)]});
    return hands;
}

double SpotSolver::Conditioned(const Line &line, bool play, LineChances &chances) const
{
    // Facing a shove and a call, the lines also hold what did not happen
    // (no call, an overcall before the hero): those outcomes are dropped and
    // the rest scaled to the situation. Returns the situation's chance.
    if (Question.Action != SpotAction::Overcall)
        return 1.0;
    const Posting &post = Money.Posted();
    const size_t heroAt = ActingPosition(post, Question.Hero);
    const std::vector<Showdown> outcomes = LineOutcomes(line);
    std::vector<bool> keep(outcomes.size(), false);
    double mass = 0.0;
    for (size_t o = 0; o < outcomes.size(); ++o)
    {
        const Showdown &pot = outcomes[o];
        keep[o] = play ? pot.Count == 3 && pot.Seats[2] == Question.Hero
                       : pot.Count >= 2 && pot.Seats[1] == Question.Caller &&
                             (pot.Count == 2 || ActingPosition(post, pot.Seats[2]) > heroAt);
        mass += keep[o] ? chances.Chance[o] : 0.0;
    }
    std::vector<SampledPot> sampled;
    for (size_t o = 0; o < outcomes.size(); ++o)
        chances.Chance[o] = keep[o] && mass > 0.0 ? chances.Chance[o] / mass : 0.0;
    for (SampledPot pot : chances.Sampled)
        if (keep[pot.First] && mass > 0.0)
        {
            pot.Mass /= mass;
            sampled.push_back(pot);
        }
    chances.Sampled = sampled;
    return mass;
}

Status SpotSolver::ValuesOf(const Line &line, std::vector<double> &value, std::vector<double> &chips)
{
    const std::vector<Showdown> outcomes = LineOutcomes(line);
    value.assign(outcomes.size(), 0.0);
    chips.assign(outcomes.size(), 0.0);
    for (size_t o = 0; o < outcomes.size(); ++o)
    {
        const double *values = nullptr;
        Status status = Money.Values(outcomes[o], values);
        if (!status.Ok)
            return status;
        value[o] = values[Question.Hero];
        status = Chips.Values(outcomes[o], values);
        if (!status.Ok)
            return status;
        chips[o] = values[Question.Hero];
    }
    return Status();
}

Status SpotSolver::FoldValue(double &value, double &chips, double &error, std::vector<OutcomeView> *outcomes)
{
    value = chips = error = 0.0;
    double variance = 0.0;
    for (const FoldPart &part : Fold)
    {
        if (!(part.Chance > 0.0))
            continue;
        std::vector<double> values, chipValues;
        Status status = ValuesOf(part.Of, values, chipValues);
        if (!status.Ok)
            return status;
        LineChances chances;
        LineOptions options = Question.Sampling;
        options.Seed = LineSeed(options.Seed, static_cast<int>(part.Seed));
        // Uncontested, the pot's owner needs no cards.
        const std::vector<std::pair<int, double>> hands = part.Shove == nullptr || part.Of.After.empty()
                                                              ? std::vector<std::pair<int, double>>{{0, 1.0}}
                                                              : ShoverHands(part.Shove, -1, Symmetric);
        LineChancesOf(part.Of, hands, options, chances);
        if (Question.Action == SpotAction::Overcall)
            FoldMass = Conditioned(part.Of, false, chances);
        double v = 0.0, e = 0.0, chip = 0.0, ignored = 0.0;
        LineValue(chances, values, v, e);
        LineValue(chances, chipValues, chip, ignored);
        value += part.Chance * v;
        chips += part.Chance * chip;
        variance += part.Chance * part.Chance * e * e;
        if (outcomes == nullptr)
            continue;
        const std::vector<Showdown> pots = LineOutcomes(part.Of);
        for (size_t o = 0; o < pots.size(); ++o)
        {
            if (!(chances.Chance[o] > 0.0))
                continue;
            OutcomeView one;
            one.Pot = pots[o];
            one.Chance = part.Chance * chances.Chance[o];
            one.Stacks = Money.StacksAfterShowdown(pots[o]);
            one.Value = values[o];
            one.BountyCash = Money.CashAfterShowdown(pots[o])[Question.Hero];
            outcomes->push_back(one);
        }
    }
    error = std::sqrt(variance);
    return Status();
}

Status SpotSolver::Solve(SpotAnswer &answer)
{
    answer = SpotAnswer();
    if (!Opened)
        return Failure("the spot was not opened");
    answer.EvBefore = Money.Before()[Question.Hero];
    answer.Pool = Money.Worth(ChipEv);
    double foldValue = 0.0, foldChips = 0.0, foldError = 0.0;
    Status status = FoldValue(foldValue, foldChips, foldError, nullptr);
    if (!status.Ok)
        return status;
    answer.LargestError = foldError;
    std::vector<double> values, chipValues;
    status = ValuesOf(PlayLine(-1), values, chipValues);
    if (!status.Ok)
        return status;
    const bool facing = Question.Action != SpotAction::FirstIn;
    const bool overcall = Question.Action == SpotAction::Overcall;
    // A class's share of the combos: the hero's combo given the shove (and
    // the call), over the same for an unknown combo.
    const double perCombo = !facing  ? 1.0
                            : overcall ? FoldMass * ShoverRange->Total * 1128.0 / 1326.0
                                       : ShoverRange->Total * 1225.0 / 1326.0;
    LineChances chances;
    for (int c = 0; c < cards::ClassCount; ++c)
    {
        int combos[cards::MaxClassCombos];
        const int count = cards::CombosOfClass(c, combos);
        const int evaluated = Symmetric ? 1 : count;
        const double copies = Symmetric ? static_cast<double>(count) : 1.0;
        double weight = 0.0, value = 0.0, chips = 0.0, variance = 0.0;
        for (int k = 0; k < evaluated; ++k)
        {
            const int hero = Symmetric ? cards::CanonicalCombo(c) : combos[k];
            double w = (facing ? LiveOfCombo(*ShoverRange, hero) : 1.0) * copies;
            if (!(w > 0.0))
                continue;
            // The class's draws are shared by its combos, so a range that tells suits apart costs no more.
            LineOptions options = Question.Sampling;
            options.Seed = LineSeed(options.Seed, hero);
            options.Draws = std::max<uint64_t>(options.Draws / static_cast<uint64_t>(evaluated), 1);
            const Line play = PlayLine(hero);
            LineChancesOf(play, facing ? ShoverHands(ShoverRange, hero, false)
                                       : std::vector<std::pair<int, double>>{{hero, 1.0}},
                          options, chances);
            w *= Conditioned(play, true, chances);
            if (!(w > 0.0))
                continue;
            double v = 0.0, e = 0.0, chip = 0.0, ignored = 0.0;
            LineValue(chances, values, v, e);
            LineValue(chances, chipValues, chip, ignored);
            for (const SampledPot &pot : chances.Sampled)
                answer.Draws += pot.Draws;
            weight += w;
            value += w * v;
            chips += w * chip;
            variance += (Symmetric ? 1.0 : w * w) * e * e;
        }
        SpotClass &one = answer.Classes[static_cast<size_t>(c)];
        one.Combos = weight / perCombo;
        one.EvFold = foldValue;
        one.ChipsFold = foldChips;
        if (!(weight > 0.0))
        {
            one.EvPlay = one.ChipsPlay = one.Error = std::numeric_limits<double>::quiet_NaN();
            continue;
        }
        one.EvPlay = value / weight;
        one.ChipsPlay = chips / weight;
        one.Error = Symmetric ? std::sqrt(variance) : std::sqrt(variance) / weight;
        answer.LargestError = std::max(answer.LargestError, one.Error);
    }
    return Status();
}

Status SpotSolver::Explain(int combo, HandBreakdown &breakdown)
{
    breakdown = HandBreakdown();
    if (!Opened)
        return Failure("the spot was not opened");
    if (combo < 0 || combo >= cards::ComboCount)
        return Failure("no such hand");
    const bool facing = Question.Action != SpotAction::FirstIn;
    if (facing && !(LiveOfCombo(*ShoverRange, combo) > 0.0))
        return Failure("card removal leaves the shover's range empty: " + SeatName(Question.Shover) +
                       " holds no hand of it beside the hero's cards");
    double ignored = 0.0;
    Status status = FoldValue(breakdown.EvFold, breakdown.ChipsFold, ignored, &breakdown.Fold);
    if (!status.Ok)
        return status;
    const Line play = PlayLine(combo);
    std::vector<double> values, chipValues;
    status = ValuesOf(play, values, chipValues);
    if (!status.Ok)
        return status;
    LineOptions options = Question.Sampling;
    options.Seed = LineSeed(options.Seed, combo);
    LineChances chances;
    LineChancesOf(play, facing ? ShoverHands(ShoverRange, combo, false) : std::vector<std::pair<int, double>>{{combo, 1.0}},
                  options, chances);
    if (!(Conditioned(play, true, chances) > 0.0))
        return Failure("card removal leaves no hands for " + SeatName(Question.Shover) + "'s shove and " +
                       SeatName(Question.Caller) + "'s call beside the hero's cards");
    LineValue(chances, values, breakdown.EvPlay, breakdown.Error);
    LineValue(chances, chipValues, breakdown.ChipsPlay, ignored);
    const std::vector<Showdown> outcomes = LineOutcomes(play);
    for (size_t o = 0; o < outcomes.size(); ++o)
    {
        if (!(chances.Chance[o] > 0.0))
            continue;
        OutcomeView one;
        one.Pot = outcomes[o];
        one.Chance = chances.Chance[o];
        one.Stacks = Money.StacksAfterShowdown(outcomes[o]);
        one.Value = values[o];
        one.BountyCash = Money.CashAfterShowdown(outcomes[o])[Question.Hero];
        breakdown.Play.push_back(one);
    }
    if (Question.Action != SpotAction::Call)
        return Status();

    // The heads-up pot against the shover: outcomes 1 (he wins) and 2 (the hero wins).
    breakdown.Needed = true;
    const double valueLose = values[1], valueWin = values[2];
    const double chipsLose = chipValues[1], chipsWin = chipValues[2];
    breakdown.NeededValue = (breakdown.EvFold - valueLose) / (valueWin - valueLose);
    breakdown.NeededChips = (breakdown.ChipsFold - chipsLose) / (chipsWin - chipsLose);
    double weight = 0.0, equity = 0.0;
    for (int shover : ShoverRange->Support)
    {
        if ((cards::ComboMask(shover) & cards::ComboMask(combo)) != 0)
            continue;
        const cards::MatchupCounts counts = cards::ComboVsCombo(combo, shover);
        const double w = ShoverRange->Range->Weight[static_cast<size_t>(shover)];
        weight += w;
        equity += w * (static_cast<double>(counts.Wins) + 0.5 * static_cast<double>(counts.Ties)) /
                  static_cast<double>(counts.Showdowns);
    }
    breakdown.Equity = equity / weight;
    return Status();
}

} // namespace ostrel
