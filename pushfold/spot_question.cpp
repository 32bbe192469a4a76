/*
 * The spot's question checked and turned into lines: the ranges of every
 * situation (by situation where given, else by seat), the hero's play line,
 * and the lines of his fold with their chances. Cost: a few range tables
 * (1,326 weights each) per seat and situation; no valuation.
 */
#include <algorithm>
#include <string>

#include "equilibrium.h"
#include "spot.h"

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

cards::Range RangeOf(const std::array<double, cards::ClassCount> &frequency)
{
    cards::Range range;
    for (int c = 0; c < cards::ClassCount; ++c)
        cards::SetClass(range, c, frequency[static_cast<size_t>(c)]);
    return range;
}

} // namespace

void TakeNashRanges(const HandField &field, const NashAnswer &answer, SpotQuestion &question)
{
    const size_t seats = field.Table.Stacks.size();
    question.Ranges.resize(seats);
    question.Overcalls.resize(seats);
    question.Shoves.resize(seats);
    Posting post;
    if (!PostBlinds(field.Table, post).Ok || ActingPosition(post, question.Hero) == NoSeat)
        return; // the spot names what is wrong
    const size_t heroAt = ActingPosition(post, question.Hero);
    for (const NashDecision &d : answer.Decisions)
    {
        const size_t seat = d.Seat;
        if (seat >= seats)
            continue;
        if (d.Action == NashAction::Call && d.Versus.size() == 1 && !question.Ranges[seat])
            question.Calls[{seat, d.Versus[0]}] = RangeOf(d.Frequency);
        else if (d.Action == NashAction::Overcall && d.Versus.size() == 2 && !question.Overcalls[seat])
            question.OvercallsAfter[{seat, d.Versus[0], d.Versus[1]}] = RangeOf(d.Frequency);
        else if (d.Action == NashAction::Shove && !question.Shoves[seat])
        {
            // Ranges by seat are taken only where the spot uses them.
            const bool shover = question.Action != SpotAction::FirstIn && seat == question.Shover;
            const bool later = question.Action == SpotAction::FirstIn && ActingPosition(post, seat) > heroAt &&
                               ActingPosition(post, seat) != NoSeat;
            if ((shover && !question.Ranges[seat]) || later)
                question.Shoves[seat] = RangeOf(d.Frequency);
        }
    }
}

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
    {
        // The chips alone, whatever the bounties are worth.
        HandField chips = field;
        chips.Bounty = Bounties();
        status = Chips.Open(chips, ChipValuation(), false);
    }
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
    later.assign(post.Order.begin() + static_cast<long>(position) + 1, post.Order.end());
    // A player all in from posting is in every pot, wherever he sits.
    forced = NoSeat;
    for (size_t seat : post.Order)
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

Status SpotSolver::LaterLine(size_t shover, const std::vector<size_t> &after, size_t forced, Line &line)
{
    // After the hero folds, `shover` shoves and the players after him call
    // and overcall; with a player all in from posting (`forced`, wherever he
    // sits), they only call, and he is in the pot with any hand.
    line = Line();
    line.Shover = shover;
    LineSeat byForce;
    byForce.Seat = forced;
    byForce.Call = byForce.Overcall = AnyHand;
    byForce.Forced = true;
    for (size_t t = 0; t < after.size(); ++t)
    {
        if (after[t] == forced)
        {
            line.After.push_back(byForce);
            continue;
        }
        LineSeat entry;
        entry.Seat = after[t];
        entry.Call = CallRange(after[t], shover);
        if (entry.Call == nullptr)
            return Failure(SeatName(after[t]) + " may call " + SeatName(shover) + "'s shove after the hero folds: give "
                           "his range for calling with --range " + std::to_string(after[t] + 1) + "=RANGE");
        for (size_t i = 0; i < t && forced == NoSeat; ++i)
        {
            entry.OvercallAfter.push_back(OvercallRange(after[t], shover, after[i]));
            if (entry.OvercallAfter.back() == nullptr)
                return Failure(SeatName(after[t]) + " may overcall " + SeatName(shover) + "'s shove after the hero "
                               "folds: give his range for that with --overcall " + std::to_string(after[t] + 1) +
                               "=RANGE");
        }
        line.After.push_back(entry);
    }
    if (forced != NoSeat && std::find(after.begin(), after.end(), forced) == after.end())
        line.After.push_back(byForce); // he acted before the shover: in the pot all the same
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
                    weighed.Weight[static_cast<size_t>(combo)] *= 1.0 - LiveOfCombo(*calls, combo) / 1225.0;
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
                entry.Forced = true;
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
    if (forced != NoSeat && std::find(later.begin(), later.end(), forced) == later.end())
    {
        // He acted before the hero, and is in the pot all the same.
        if (Question.Ranges[forced] || Question.Overcalls[forced] || Question.Shoves[forced])
            return Failure(SeatName(forced) + " is all in from posting: he takes no range, he is in the pot "
                           "with any hand");
        LineSeat entry;
        entry.Seat = forced;
        entry.Call = entry.Overcall = AnyHand;
        entry.Forced = true;
        Later.push_back(entry);
    }

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
            ShoveUsed[seat] = true;
            FoldPart part;
            part.Shove = Keep(*Question.Shoves[seat]);
            const double share = part.Shove->Total / cards::ComboCount;
            if (!(share > 0.0))
                continue;
            status = LaterLine(seat, std::vector<size_t>(later.begin() + static_cast<long>(t) + 1, later.end()),
                               forced, part.Of);
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

} // namespace ostrel
