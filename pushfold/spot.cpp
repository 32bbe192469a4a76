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

const RangeTable *SpotSolver::CallRange(size_t seat, size_t shover)
{
    const std::array<size_t, 4> key = {0, seat, shover, NoSeat};
    const auto kept = Situations.find(key);
    if (kept != Situations.end())
        return kept->second;
    const RangeTable *table = nullptr;
    const auto given = Question.Calls.find({seat, shover});
    if (given != Question.Calls.end())
        table = Keep(given->second);
    else if (Question.Ranges[seat])
    {
        RangeUsed[seat] = true;
        table = Keep(*Question.Ranges[seat]);
    }
    Situations[key] = table;
    return table;
}

const RangeTable *SpotSolver::OvercallRange(size_t seat, size_t shover, size_t caller)
{
    const std::array<size_t, 4> key = {1, seat, shover, caller};
    const auto kept = Situations.find(key);
    if (kept != Situations.end())
        return kept->second;
    const RangeTable *table = nullptr;
    const auto given = Question.OvercallsAfter.find({seat, shover, caller});
    if (given != Question.OvercallsAfter.end())
        table = Keep(given->second);
    else if (Question.Overcalls[seat])
    {
        OvercallUsed[seat] = true;
        table = Keep(*Question.Overcalls[seat]);
    }
    Situations[key] = table;
    return table;
}

Status SpotSolver::Open(const HandField &field, const FieldEquity &valuation, bool chipEv, SpotQuestion question)
{
    Question = std::move(question);
    ChipEv = chipEv;
    OwnRanges.clear();
    Tables.clear();
    Situations.clear();
    Later.clear();
    Fold.clear();
    OvercallFold = OvercallPlay = Line();
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

Status SpotSolver::CheckSeats(std::vector<size_t> &later, size_t &forced)
{
    const Posting &post = Money.Posted();
    const std::vector<int64_t> &stacks = Money.Hand().Table.Stacks;
    const size_t seats = stacks.size();
    const size_t hero = Question.Hero;
    if (hero >= seats || stacks[hero] == 0)
        return Failure("the hero's seat has no player in play");
    if (post.Behind[hero] == 0)
        return Failure(SeatName(hero) + " is all in from posting and has no decision");
    const size_t position = ActingPosition(post, hero);
    const SpotAction action = Question.Action;
    const size_t shover = Question.Shover, caller = Question.Caller;
    if (action == SpotAction::FirstIn && hero == post.BigBlindSeat)
        return Failure("the big blind cannot be first in: everyone before him folded, so he has won the pot");
    if (action != SpotAction::FirstIn)
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
    if (action == SpotAction::Overcall)
    {
        if (caller >= seats || stacks[caller] == 0)
            return Failure("the caller's seat has no player in play");
        if (caller == hero || caller == shover)
            return Failure("the caller is a third player, neither the hero nor the shover");
        if (ActingPosition(post, caller) >= position || ActingPosition(post, caller) <= ActingPosition(post, shover))
            return Failure(SeatName(caller) + " must act after the shover and before the hero to have called");
        if (post.Behind[caller] == 0)
            return Failure(SeatName(caller) + " is all in from posting: the pot could hold four players");
    }
    const size_t opener = action == SpotAction::FirstIn ? hero : shover;
    const int64_t bigBlind = post.Live[post.BigBlindSeat];
    if (AllIn(post, opener) <= std::max(bigBlind, post.Live[hero]))
        return Failure(SeatName(opener) + "'s shove of " + std::to_string(AllIn(post, opener)) +
                       " chips does not raise the big blind");
    for (size_t p = 0; p < position; ++p)
        if (post.Behind[post.Order[p]] == 0 && post.Order[p] != opener)
            return Failure(SeatName(post.Order[p]) + " is all in from posting and acts before the hero: a pot "
                           "he is in by force is handled only when he acts after the hero");
    later.assign(post.Order.begin() + static_cast<long>(position) + 1, post.Order.end());
    forced = NoSeat;
    for (size_t seat : later)
        if (post.Behind[seat] == 0)
        {
            if (forced != NoSeat || action == SpotAction::Overcall)
                return Failure((forced != NoSeat ? SeatName(forced) + " and " : std::string()) + SeatName(seat) +
                               (forced != NoSeat ? " are both" : " is") +
                               " all in from posting: the pot could hold four players");
            forced = seat;
        }
    return Status();
}

Status SpotSolver::LaterLine(size_t shover, const std::vector<size_t> &after, Line &line)
{
    // After the hero folds, `shover` shoves and the players after him call and overcall.
    line = Line();
    line.Shover = shover;
    for (size_t t = 0; t < after.size(); ++t)
    {
        LineSeat entry;
        entry.Seat = after[t];
        entry.Call = CallRange(after[t], shover);
        if (entry.Call == nullptr)
            return Failure(SeatName(after[t]) + " may call " + SeatName(shover) + "'s shove after the hero folds: give "
                           "his range for calling with --range " + std::to_string(after[t] + 1) + "=RANGE");
        for (size_t i = 0; i < t; ++i)
        {
            entry.OvercallAfter.push_back(OvercallRange(after[t], shover, after[i]));
            if (entry.OvercallAfter.back() == nullptr)
                return Failure(SeatName(after[t]) + " may overcall " + SeatName(shover) + "'s shove after the hero "
                               "folds: give his range for that with --overcall " + std::to_string(after[t] + 1) +
                               "=RANGE");
        }
        line.After.push_back(entry);
    }
    return Status();
}

Status SpotSolver::OvercallLines()
{
    // Facing a shove and a call: the fold leaves the players after the hero
    // to overcall; the play is a three-way pot (the hero's seat last).
    const Posting &post = Money.Posted();
    const size_t shover = Question.Shover, caller = Question.Caller;
    LineSeat call;
    call.Seat = caller;
    call.Call = CallRange(caller, shover);
    if (call.Call == nullptr)
        return Failure(SeatName(caller) + " called: give his range for calling " + SeatName(shover) +
                       "'s shove with --range " + std::to_string(caller + 1) + "=RANGE");
    OvercallFold.Shover = OvercallPlay.Shover = shover;
    OvercallFold.After.push_back(call);
    OvercallPlay.After.push_back(call);
    const size_t heroAt = ActingPosition(post, Question.Hero);
    for (size_t p = ActingPosition(post, caller) + 1; p < post.Order.size(); ++p)
    {
        const size_t seat = post.Order[p];
        if (seat == Question.Hero)
            continue;
        LineSeat entry;
        entry.Seat = seat;
        entry.OvercallAfter = {OvercallRange(seat, shover, caller)};
        if (entry.OvercallAfter[0] == nullptr && p > heroAt)
            return Failure(SeatName(seat) + " may overcall when the hero folds: give his range for that with "
                           "--overcall " + std::to_string(seat + 1) + "=RANGE");
        if (entry.OvercallAfter[0] == nullptr)
            continue; // between the caller and the hero, without a range: he folded, whatever he holds
        OvercallFold.After.push_back(entry);
        if (p < heroAt)
            OvercallPlay.After.push_back(entry);
    }
    LineSeat hero;
    hero.Seat = Question.Hero;
    OvercallPlay.After.push_back(hero);
    FoldPart part;
    part.Of = OvercallFold;
    part.Shove = ShoverRange;
    Fold.push_back(part);
    return Status();
}

Status SpotSolver::CheckQuestion()
{
    const Posting &post = Money.Posted();
    const size_t seats = Money.Hand().Table.Stacks.size();
    Question.Ranges.resize(seats);
    Question.Overcalls.resize(seats);
    Question.Shoves.resize(seats);
    RangeUsed.assign(seats, false);
    OvercallUsed.assign(seats, false);
    ShoveUsed.assign(seats, false);
    std::vector<size_t> later;
    size_t forced = NoSeat;
    Status status = CheckSeats(later, forced);
    if (!status.Ok)
        return status;
    const size_t hero = Question.Hero, shover = Question.Shover;
    const bool facing = Question.Action != SpotAction::FirstIn;
    cards::Range random;
    random.Weight.fill(1.0);
    AnyHand = Keep(random);

    if (facing)
    {
        // The shover's range, weighed by the chance that the players between
        // him and the one who called (or the hero) fold against his hand.
        if (Question.Ranges[shover] && Question.Shoves[shover])
            return Failure(SeatName(shover) + "'s shoving range is given twice: with --range and with --shove");
        const std::optional<cards::Range> &given =
            Question.Shoves[shover] ? Question.Shoves[shover] : Question.Ranges[shover];
        if (!given)
            return Failure(SeatName(shover) + " shoved: give his shoving range with --range " +
                           std::to_string(shover + 1) + "=RANGE");
        (Question.Shoves[shover] ? ShoveUsed : RangeUsed)[shover] = true;
        cards::Range weighed = *given;
        const size_t until = Question.Action == SpotAction::Overcall ? Question.Caller : hero;
        for (size_t p = ActingPosition(post, shover) + 1; p < ActingPosition(post, until); ++p)
        {
            const RangeTable *calls = CallRange(post.Order[p], shover);
            if (calls != nullptr)
                for (int combo = 0; combo < cards::ComboCount; ++combo)
                    weighed.Weight[static_cast<size_t>(combo)] *= 1.0 - LiveAgainst(*calls, combo) / 1225.0;
        }
        ShoverRange = Keep(weighed);
        if (!(ShoverRange->Total > 0.0))
            return Failure(SeatName(shover) + " shoved: his range holds no hand");
    }

    if (Question.Action == SpotAction::Overcall)
        status = OvercallLines();
    else
        for (size_t t = 0; t < later.size() && status.Ok; ++t)
        {
            const size_t seat = later[t];
            const size_t opener = facing ? shover : hero;
            LineSeat entry;
            entry.Seat = seat;
            if (seat == forced)
            {
                if (Question.Ranges[seat] || Question.Overcalls[seat] || Question.Shoves[seat])
                    return Failure(SeatName(seat) + " is all in from posting: he takes no range, he is in the pot "
                                   "with any hand");
                entry.Call = entry.Overcall = AnyHand;
                Later.push_back(entry);
                continue;
            }
            entry.Call = CallRange(seat, opener);
            if (entry.Call == nullptr)
                return Failure(SeatName(seat) + " acts after the hero: give his range for calling a shove with "
                               "--range " + std::to_string(seat + 1) + "=RANGE");
            const bool overcall = forced == NoSeat && (facing || t > 0);
            if (!overcall && Question.Overcalls[seat])
                return Failure("--overcall " + std::to_string(seat + 1) + ": " + SeatName(seat) +
                               (forced != NoSeat ? " cannot overcall: the player all in from posting fills the pot"
                                                 : " is the first to act after the hero and cannot overcall"));
            // By the caller's place in the line: the hero's line first in, the fold line facing a shove.
            for (size_t i = 0; i < t && overcall; ++i)
                entry.OvercallAfter.push_back(OvercallRange(seat, opener, later[i]));
            if (facing && overcall)
                entry.Overcall = OvercallRange(seat, shover, hero); // after the hero's call
            bool missing = overcall && facing && entry.Overcall == nullptr;
            for (const RangeTable *over : entry.OvercallAfter)
                missing = missing || over == nullptr;
            if (missing)
                return Failure(SeatName(seat) + " can overcall a shove and a call: give his range for that with "
                               "--overcall " + std::to_string(seat + 1) + "=RANGE");
            Later.push_back(entry);
        }
    if (!status.Ok)
        return status;

    if (Question.Action == SpotAction::Call)
    {
        FoldPart part;
        part.Of.Shover = shover;
        part.Of.After = Later;
        part.Shove = ShoverRange;
        Fold.push_back(part);
    }
    else if (Question.Action == SpotAction::FirstIn)
    {
        // The players after the hero in turn shove or fold; when all fold,
        // the big blind takes the pot (or shows down against a player all in
        // from posting).
        double reach = 1.0;
        for (size_t t = 0; t < later.size(); ++t)
        {
            const size_t seat = later[t];
            if (!Question.Shoves[seat])
                continue;
            if (seat == post.BigBlindSeat)
                return Failure("--shove " + std::to_string(seat + 1) + ": " + SeatName(seat) +
                               " is the big blind: when all fold to him he has won the pot");
            if (forced != NoSeat)
                return Failure("--shove " + std::to_string(seat + 1) + ": with " + SeatName(forced) +
                               " all in from posting, the players after a folding hero are taken to fold");
            ShoveUsed[seat] = true;
            FoldPart part;
            part.Shove = Keep(*Question.Shoves[seat]);
            const double share = part.Shove->Total / cards::ComboCount;
            if (!(share > 0.0))
                continue;
            status = LaterLine(seat, std::vector<size_t>(later.begin() + static_cast<long>(t) + 1, later.end()),
                               part.Of);
            if (!status.Ok)
                return status;
            part.Chance = reach * share;
            part.Seed = -2 - static_cast<int64_t>(seat);
            reach *= 1.0 - share;
            Fold.push_back(part);
        }
        FoldPart walk;
        walk.Chance = reach;
        if (forced != NoSeat && forced != post.BigBlindSeat)
        {
            walk.Of.Shover = forced;
            LineSeat blind;
            blind.Seat = post.BigBlindSeat;
            blind.Call = AnyHand;
            walk.Of.After.push_back(blind);
            walk.Shove = AnyHand;
        }
        else
            walk.Of.Shover = post.BigBlindSeat;
        Fold.push_back(walk);
    }
    status = CheckUnused(later);
    if (!status.Ok)
        return status;
    Symmetric = Question.SuitSymmetry;
    for (const RangeTable &table : Tables)
        Symmetric = Symmetric && ClassUniform(*table.Range);
    return Status();
}

Status SpotSolver::CheckUnused(const std::vector<size_t> &later)
{
    // A range by seat that no situation took was typed for something else.
    const bool facing = Question.Action != SpotAction::FirstIn;
    for (size_t seat = 0; seat < RangeUsed.size(); ++seat)
    {
        const bool isLater = std::find(later.begin(), later.end(), seat) != later.end();
        const std::string does = isLater ? " has no use for it here" : " does not act after the hero";
        if (Question.Ranges[seat] && !RangeUsed[seat])
            return Failure("--range " + std::to_string(seat + 1) + ": " + SeatName(seat) +
                           (isLater ? " cannot call here: the pot holds three" : does + (facing ? " and did not shove" : "")));
        if (Question.Overcalls[seat] && !OvercallUsed[seat])
            return Failure("--overcall " + std::to_string(seat + 1) + ": " + SeatName(seat) + does);
        if (Question.Shoves[seat] && !ShoveUsed[seat])
            return Failure("--shove " + std::to_string(seat + 1) + ": " + SeatName(seat) +
                           (facing ? " did not shove: facing a shove, only the shover's range is a shoving range"
                                   : " does not act after the hero"));
    }
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
            double w = (facing ? LiveAgainst(*ShoverRange, hero) : 1.0) * copies;
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
    if (facing && !(LiveAgainst(*ShoverRange, combo) > 0.0))
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
