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

bool ClassUniform(const cards::Range &range)
{
    for (int c = 0; c < cards::ClassCount; ++c)
    {
        int combos[cards::MaxClassCombos];
        const int count = cards::CombosOfClass(c, combos);
        for (int i = 1; i < count; ++i)
            if (range.Weight[static_cast<size_t>(combos[i])] != range.Weight[static_cast<size_t>(combos[0])])
                return false;
    }
    return true;
}

double LiveAgainst(const RangeTable &table, int combo)
{
    const cards::Combo two = cards::ComboCards(combo);
    const cards::Card dead[2] = {two.High, two.Low};
    return LiveWeight(table, dead, 2);
}

uint64_t LineSeed(uint64_t seed, int combo)
{
    return seed * 1469598103934665603u + static_cast<uint64_t>(combo + 1);
}

} // namespace

const RangeTable *SpotSolver::Keep(const cards::Range &range)
{
    OwnRanges.push_back(range);
    Tables.push_back(TableOfRange(OwnRanges.back()));
    return &Tables.back();
}

Status SpotSolver::Open(const HandField &field, const FieldEquity &valuation, bool chipEv, SpotQuestion question)
{
    Question = std::move(question);
    ChipEv = chipEv;
    OwnRanges.clear();
    Tables.clear();
    Later.clear();
    ShoverRange = nullptr;
    Symmetric = true;
    Opened = false;
    Status status = Money.Open(field, chipEv ? ChipValuation() : valuation, !chipEv);
    if (status.Ok)
        status = Chips.Open(field, ChipValuation(), false);
    if (status.Ok)
        status = CheckQuestion();
    Opened = status.Ok;
    return status;
}

Status SpotSolver::CheckQuestion()
{
    const Posting &post = Money.Posted();
    const std::vector<int64_t> &stacks = Money.Hand().Table.Stacks;
    const size_t seats = stacks.size();
    Question.Ranges.resize(seats);
    Question.Overcalls.resize(seats);
    const size_t hero = Question.Hero;
    if (hero >= seats || stacks[hero] == 0)
        return Failure("the hero's seat has no player in play");
    if (post.Behind[hero] == 0)
        return Failure(SeatName(hero) + " is all in from posting and has no decision");
    const size_t position = ActingPosition(post, hero);
    const bool call = Question.Action == SpotAction::Call;
    const size_t shover = Question.Shover;
    if (!call && hero == post.BigBlindSeat)
        return Failure("the big blind cannot be first in: everyone before him folded, so he has won the pot");
    if (call)
    {
        if (shover >= seats || stacks[shover] == 0)
            return Failure("the shover's seat has no player in play");
        if (shover == hero)
            return Failure("the hero cannot call his own shove");
        if (ActingPosition(post, shover) >= position)
            return Failure(SeatName(shover) + " acts after " + SeatName(hero) + ": he cannot have shoved before him");
        if (post.Behind[shover] == 0)
            return Failure(SeatName(shover) + " is all in from posting: he cannot shove");
    }
    const size_t opener = call ? shover : hero;
    const int64_t bigBlind = post.Live[post.BigBlindSeat];
    if (AllIn(post, opener) <= std::max(bigBlind, post.Live[hero]))
        return Failure(SeatName(opener) + "'s shove of " + std::to_string(AllIn(post, opener)) +
                       " chips does not raise the big blind");
    for (size_t p = 0; p < position; ++p)
        if (post.Behind[post.Order[p]] == 0 && post.Order[p] != opener)
            return Failure(SeatName(post.Order[p]) + " is all in from posting and acts before the hero: a pot "
                           "he is in by force is handled only when he acts after the hero");

    // The players after the hero.
    std::vector<size_t> later(post.Order.begin() + static_cast<long>(position) + 1, post.Order.end());
    size_t forced = NoSeat;
    for (size_t seat : later)
        if (post.Behind[seat] == 0)
        {
            if (forced != NoSeat)
                return Failure(SeatName(forced) + " and " + SeatName(seat) +
                               " are both all in from posting: the pot could hold four players");
            forced = seat;
        }
    cards::Range random;
    random.Weight.fill(1.0);
    const RangeTable *anyHand = Keep(random);
    for (size_t t = 0; t < later.size(); ++t)
    {
        const size_t seat = later[t];
        LineSeat entry;
        entry.Seat = seat;
        if (seat == forced)
        {
            if (Question.Ranges[seat] || Question.Overcalls[seat])
                return Failure(SeatName(seat) + " is all in from posting: he takes no range, he is in the pot with "
                               "any hand");
            entry.Call = entry.Overcall = anyHand;
            Later.push_back(entry);
            continue;
        }
        if (!Question.Ranges[seat])
            return Failure(SeatName(seat) + " acts after the hero: give his range for calling a shove with --range " +
                           std::to_string(seat + 1) + "=RANGE");
        entry.Call = Keep(*Question.Ranges[seat]);
        const bool overcall = forced == NoSeat && (call || t > 0);
        if (overcall && !Question.Overcalls[seat])
            return Failure(SeatName(seat) + " can overcall a shove and a call: give his range for that with "
                           "--overcall " + std::to_string(seat + 1) + "=RANGE");
        if (!overcall && Question.Overcalls[seat])
            return Failure("--overcall " + std::to_string(seat + 1) + ": " + SeatName(seat) +
                           (forced != NoSeat ? " cannot overcall: the player all in from posting fills the pot"
                                             : " is the first to act after the hero and cannot overcall"));
        if (overcall)
            entry.Overcall = Keep(*Question.Overcalls[seat]);
        Later.push_back(entry);
    }
    for (size_t seat = 0; seat < seats; ++seat)
    {
        const bool isLater = std::find(later.begin(), later.end(), seat) != later.end();
        if (Question.Ranges[seat] && !isLater && !(call && seat == shover))
            return Failure("--range " + std::to_string(seat + 1) + ": " + SeatName(seat) +
                           " does not act after the hero" + (call ? " and did not shove" : ""));
        if (Question.Overcalls[seat] && !isLater)
            return Failure("--overcall " + std::to_string(seat + 1) + ": " + SeatName(seat) +
                           " does not act after the hero");
    }
    if (call)
    {
        if (!Question.Ranges[shover])
            return Failure(SeatName(shover) + " shoved: give his shoving range with --range " +
                           std::to_string(shover + 1) + "=RANGE");
        ShoverRange = Keep(*Question.Ranges[shover]);
        if (!(ShoverRange->Total > 0.0))
            return Failure(SeatName(shover) + " shoved: his range holds no hand");
    }
    Symmetric = Question.SuitSymmetry;
    for (const RangeTable &table : Tables)
        Symmetric = Symmetric && ClassUniform(*table.Range);

    // Folding first in leaves the pot to the big blind, who shows down
    // against a player all in from posting when there is one.
    FoldLine = Line();
    if (call)
    {
        FoldLine.Shover = shover;
        FoldLine.After = Later;
    }
    else if (forced != NoSeat && forced != post.BigBlindSeat)
    {
        FoldLine.Shover = forced;
        LineSeat blind;
        blind.Seat = post.BigBlindSeat;
        blind.Call = anyHand;
        FoldLine.After.push_back(blind);
    }
    else
        FoldLine.Shover = post.BigBlindSeat;
    return Status();
}

Line SpotSolver::PlayLine(int heroCombo) const
{
    Line line;
    if (Question.Action == SpotAction::FirstIn)
    {
        line.Shover = Question.Hero;
        line.After = Later;
        return line;
    }
    line.Shover = Question.Shover;
    LineSeat hero;
    hero.Seat = Question.Hero;
    hero.Fixed = heroCombo;
    line.After.push_back(hero);
    for (LineSeat seat : Later)
    {
        seat.Call = nullptr; // the hero called first
        line.After.push_back(seat);
    }
    return line;
}

std::vector<std::pair<int, double>> SpotSolver::ShoverHands(int heroCombo, bool reduce) const
{
    std::vector<std::pair<int, double>> hands;
    if (Question.Action == SpotAction::FirstIn && heroCombo >= 0)
        return {{heroCombo, 1.0}};
    const RangeTable *range = ShoverRange;
    cards::Range random;
    if (range == nullptr) // a player all in from posting: any hand
        random.Weight.fill(1.0);
    const cards::Range &weights = range != nullptr ? *range->Range : random;
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

Status SpotSolver::FoldValue(double &value, double &chips, double &error, LineChances *kept, Line *line)
{
    std::vector<double> values, chipValues;
    Status status = ValuesOf(FoldLine, values, chipValues);
    if (!status.Ok)
        return status;
    LineChances chances;
    LineOptions options = Question.Sampling;
    options.Seed = LineSeed(options.Seed, -1);
    // Uncontested, the pot's owner needs no cards.
    const std::vector<std::pair<int, double>> hands =
        FoldLine.After.empty() ? std::vector<std::pair<int, double>>{{0, 1.0}} : ShoverHands(-1, Symmetric);
    LineChancesOf(FoldLine, hands, options, chances);
    double ignored = 0.0;
    LineValue(chances, values, value, error);
    LineValue(chances, chipValues, chips, ignored);
    if (kept != nullptr)
        *kept = chances;
    if (line != nullptr)
        *line = FoldLine;
    return Status();
}

Status SpotSolver::Solve(SpotAnswer &answer)
{
    answer = SpotAnswer();
    if (!Opened)
        return Failure("the spot was not opened");
    const std::vector<int64_t> &stacks = Money.Hand().Table.Stacks;
    answer.EvBefore = Money.Before()[Question.Hero];
    answer.Pool = Money.Pool();
    if (ChipEv)
    {
        answer.Pool = 0.0;
        for (size_t seat = 0; seat < Money.Seats(); ++seat)
            answer.Pool += seat < stacks.size() ? static_cast<double>(stacks[seat])
                                                 : static_cast<double>(Money.Hand().Others[seat - stacks.size()]);
    }
    double foldValue = 0.0, foldChips = 0.0, foldError = 0.0;
    Status status = FoldValue(foldValue, foldChips, foldError, nullptr, nullptr);
    if (!status.Ok)
        return status;
    answer.LargestError = foldError;
    std::vector<double> values, chipValues;
    status = ValuesOf(PlayLine(-1), values, chipValues);
    if (!status.Ok)
        return status;
    const bool call = Question.Action == SpotAction::Call;
    const double perCombo = call ? ShoverRange->Total * 1225.0 / 1326.0 : 1.0;
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
            const double w = (call ? LiveAgainst(*ShoverRange, hero) : 1.0) * copies;
            if (!(w > 0.0))
                continue;
            // The class's draws are shared by its combos, so a range that tells suits apart costs no more.
            LineOptions options = Question.Sampling;
            options.Seed = LineSeed(options.Seed, hero);
            options.Draws = std::max<uint64_t>(options.Draws / static_cast<uint64_t>(evaluated), 1);
            LineChancesOf(PlayLine(hero), ShoverHands(hero, false), options, chances);
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
    const bool call = Question.Action == SpotAction::Call;
    if (call && !(LiveAgainst(*ShoverRange, combo) > 0.0))
        return Failure("card removal leaves the shover's range empty: " + SeatName(Question.Shover) +
                       " holds no hand of it beside the hero's cards");
    LineChances chances;
    Line line;
    double ignored = 0.0;
    Status status = FoldValue(breakdown.EvFold, breakdown.ChipsFold, ignored, &chances, &line);
    if (!status.Ok)
        return status;
    const auto view = [&](const Line &of, const LineChances &with, std::vector<OutcomeView> &into) -> Status {
        const std::vector<Showdown> outcomes = LineOutcomes(of);
        for (size_t o = 0; o < outcomes.size(); ++o)
        {
            if (!(with.Chance[o] > 0.0))
                continue;
            OutcomeView one;
            one.Pot = outcomes[o];
            one.Chance = with.Chance[o];
            one.Stacks = Money.StacksAfterShowdown(outcomes[o]);
            const double *values = nullptr;
            const Status valued = Money.Values(outcomes[o], values);
            if (!valued.Ok)
                return valued;
            one.Value = values[Question.Hero];
            into.push_back(one);
        }
        return Status();
    };
    status = view(line, chances, breakdown.Fold);
    if (!status.Ok)
        return status;
    const Line play = PlayLine(combo);
    std::vector<double> values, chipValues;
    status = ValuesOf(play, values, chipValues);
    if (!status.Ok)
        return status;
    LineOptions options = Question.Sampling;
    options.Seed = LineSeed(options.Seed, combo);
    LineChancesOf(play, ShoverHands(combo, false), options, chances);
    LineValue(chances, values, breakdown.EvPlay, breakdown.Error);
    LineValue(chances, chipValues, breakdown.ChipsPlay, ignored);
    status = view(play, chances, breakdown.Play);
    if (!status.Ok || !call)
        return status;

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
