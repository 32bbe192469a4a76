/*
 * The spot's answer as a grid and a list for people, CSV and JSON for
 * tools; one hand's outcomes likewise. Numbers for programs are the
 * shortest text that reads back to the same double. Cost: one pass over
 * the 169 classes or the hand's outcomes.
 */
#include "spot_request.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

#include "answer_text.h"
#include "number_text.h"
#include "positions.h"
#include "range.h"

namespace ostrel
{
namespace
{

std::string CsvNumber(double value)
{
    return std::isfinite(value) ? ShortestText(value) : "";
}

const char *ActionName(SpotAction action)
{
    return action == SpotAction::Call ? "call" : action == SpotAction::Overcall ? "overcall" : "first-in";
}

const char *PlayWord(SpotAction action)
{
    return action == SpotAction::Call ? "call" : action == SpotAction::Overcall ? "overcall" : "shove";
}


// "Stacks: 1 BTN 5000 (25.0bb), 2 SB 3000 (15.0bb), ...; blinds 100/200, ante 25".
std::string TableLine(const TableSetup &table, const std::vector<std::string> &positions)
{
    std::string line = "Stacks:";
    const double bigBlind = static_cast<double>(table.BigBlind);
    for (size_t seat = 0; seat < table.Stacks.size(); ++seat)
        if (table.Stacks[seat] > 0)
            line += std::string(line.size() > 7 ? ", " : " ") + std::to_string(seat + 1) + " " +
                    positions[seat] + " " + std::to_string(table.Stacks[seat]) + " (" +
                    Fixed(static_cast<double>(table.Stacks[seat]) / bigBlind, 1) + "bb)";
    line += "; blinds " + std::to_string(table.SmallBlind) + "/" + std::to_string(table.BigBlind);
    if (table.Ante > 0)
        line += (table.BigBlindAnte ? ", big blind ante " : ", ante ") + std::to_string(table.Ante);
    return line + "\n";
}

bool Shown(const SpotReply &report, int handClass)
{
    return report.OnlyClass < 0 || report.OnlyClass == handClass;
}

double Difference(const SpotClass &one)
{
    return one.EvPlay - one.EvFold;
}

cards::Range PlayingRange(const SpotAnswer &answer, double &share)
{
    cards::Range range;
    double combos = 0.0;
    for (int c = 0; c < cards::ClassCount; ++c)
        if (Difference(answer.Classes[static_cast<size_t>(c)]) > 0.0)
        {
            cards::SetClass(range, c, 1.0);
            combos += answer.Classes[static_cast<size_t>(c)].Combos;
        }
    share = combos / cards::ComboCount;
    return range;
}

// Background from red (fold) through white to green (play), 256 colours.
std::string CellColour(double t)
{
    t = std::max(-1.0, std::min(1.0, t));
    const int fade = static_cast<int>(std::lround(5.0 * (1.0 - std::fabs(t))));
    const int r = t < 0.0 ? 5 : fade, g = t < 0.0 ? fade : 5, b = fade;
    return "\x1b[30;48;5;" + std::to_string(16 + 36 * r + 6 * g + b) + "m";
}

std::string Grid(const SpotReply &report, bool color)
{
    const double pool = report.Answer.Pool;
    double largest = 0.0;
    for (const SpotClass &one : report.Answer.Classes)
        if (std::isfinite(Difference(one)))
            largest = std::max(largest, std::fabs(Difference(one)));
    std::string text = "Difference " + std::string(PlayWord(report.Question.Action)) +
                       " - fold, in % of the " + WorthName(report.ChipEv, report.Bounty) + ":\n    ";
    for (int column = 0; column < cards::RankCount; ++column)
        text += Padded(std::string(1, cards::RankChar(12 - column)), 7);
    text += "\n";
    for (int row = 0; row < cards::RankCount; ++row)
    {
        text += Padded(std::string(1, cards::RankChar(12 - row)), 4);
        for (int column = 0; column < cards::RankCount; ++column)
        {
            const SpotClass &one = report.Answer.Classes[static_cast<size_t>(row * 13 + column)];
            const double difference = Difference(one);
            const std::string cell = Padded(pool > 0.0 ? Signed(difference / pool * 100.0, 2) : "-", 6);
            if (color && std::isfinite(difference) && largest > 0.0)
                text += " " + CellColour(difference / largest) + cell + "\x1b[0m";
            else
                text += " " + cell;
        }
        text += "\n";
    }
    return text;
}

// The hero's position beside his seat number.
std::string PositionJson(const SpotReply &report)
{
    const size_t hero = report.Question.Hero;
    return hero < report.Positions.size() ? ", \"position\": \"" + report.Positions[hero] + "\"" : "";
}

std::string HeaderLine(const SpotReply &report)
{
    const SpotQuestion &question = report.Question;
    const std::vector<std::string> &at = report.Positions;
    std::string line = "Seat " + SeatText(question.Hero, at) +
                       (question.Action == SpotAction::Call
                            ? " facing seat " + SeatText(question.Shover, at) + "'s shove: call or fold"
                        : question.Action == SpotAction::Overcall
                            ? " facing seat " + SeatText(question.Shover, at) + "'s shove and seat " +
                                  SeatText(question.Caller, at) + "'s call: overcall or fold"
                            : " first in: shove or fold");
    line += "; " + PoolWords(report.Answer.Pool, report.ChipEv, report.Bounty);
    line += "; the hero's " + std::string(report.ChipEv ? "chips" : "$EV") + " before the hand " +
            Fixed(report.Answer.EvBefore, 3) + "\n";
    return line + TableLine(report.Table, report.Positions);
}

std::string SamplingLine(const SpotAnswer &answer, uint64_t seed)
{
    if (answer.Draws == 0)
        return "Every chance exact (heads-up pots from the preflop table)\n";
    return "Three-way pots drawn at random: " + std::to_string(answer.Draws) + " showdowns, seed " +
           std::to_string(seed) + "; largest standard error of an EV " + Fixed(answer.LargestError, 6) +
           "; heads-up pots exact\n";
}

std::string SpotTable(const SpotReply &report, bool color)
{
    const SpotAnswer &answer = report.Answer;
    const std::string unit = report.ChipEv ? "chips" : "$EV";
    const std::string play = PlayWord(report.Question.Action);
    std::vector<std::vector<std::string>> rows = {{"Hand", "Combos", unit + " fold", unit + " " + play, "Difference",
                                                   "% pool", "Chips fold", "Chips " + play, "Decision"}};
    for (int c = 0; c < cards::ClassCount; ++c)
    {
        if (!Shown(report, c))
            continue;
        const SpotClass &one = answer.Classes[static_cast<size_t>(c)];
        const double difference = Difference(one);
        rows.push_back({cards::ClassName(c), Fixed(one.Combos, 2), Fixed(one.EvFold, 4), Fixed(one.EvPlay, 4),
                        Signed(difference, 4),
                        answer.Pool > 0.0 ? Signed(difference / answer.Pool * 100.0, 3) : "-",
                        Fixed(one.ChipsFold, 1), Fixed(one.ChipsPlay, 1),
                        !std::isfinite(difference) ? "-" : difference > 0.0 ? play : "fold"});
    }
    double share = 0.0;
    const std::string range = cards::FormatRange(PlayingRange(answer, share));
    const std::string combos =
        report.Question.Action == SpotAction::FirstIn
            ? "Combos: how many ways each hand is dealt (6 a pair, 4 suited, 12 offsuit, of 1,326)\n"
            : "Combos: the ways each hand is dealt (6 a pair, 4 suited, 12 offsuit, of 1,326) left once the "
              "players already in the pot hold their cards: card removal, weighted by their ranges\n";
    if (report.OnlyClass >= 0)
        return HeaderLine(report) + "\n" + combos + Aligned(rows, {0}) + "\n" + cards::ClassName(report.OnlyClass) +
               " stands for each of its combos, its values their average; name one hand by its cards for its "
               "outcomes (--hand AhKd)\n" + SamplingLine(answer, report.Question.Sampling.Seed);
    return HeaderLine(report) + "\n" + Grid(report, color) + "\n" + combos + Aligned(rows, {0}) + "\n" +
           (play == "shove" ? "Shove: " : play == "call" ? "Call: " : "Overcall: ") + (range.empty() ? "nothing" : range) + " (" +
           Fixed(share * 100.0, 1) + "% of combos)\n" + SamplingLine(answer, report.Question.Sampling.Seed);
}

std::string SpotCsv(const SpotReply &report)
{
    std::string text = "hand,combos,ev_fold,ev_play,difference,pool_share_difference,chips_fold,chips_play,"
                       "standard_error,decision\n";
    for (int c = 0; c < cards::ClassCount; ++c)
    {
        if (!Shown(report, c))
            continue;
        const SpotClass &one = report.Answer.Classes[static_cast<size_t>(c)];
        const double difference = Difference(one);
        text += cards::ClassName(c) + "," + CsvNumber(one.Combos) + "," + CsvNumber(one.EvFold) + "," +
                CsvNumber(one.EvPlay) + "," + CsvNumber(difference) + "," +
                CsvNumber(report.Answer.Pool > 0.0 ? difference / report.Answer.Pool : std::numeric_limits<double>::quiet_NaN()) + "," +
                CsvNumber(one.ChipsFold) + "," + CsvNumber(one.ChipsPlay) + "," + CsvNumber(one.Error) + "," +
                (!std::isfinite(difference) ? "" : difference > 0.0 ? PlayWord(report.Question.Action) : "fold") +
                "\n";
    }
    return text;
}

std::string SpotJson(const SpotReply &report)
{
    std::string text = "{\"hero\": " + std::to_string(report.Question.Hero + 1) + PositionJson(report) +
                       ", \"action\": \"" + ActionName(report.Question.Action) + "\", \"pool\": " + JsonNumber(report.Answer.Pool) +
                       ", \"hands\": [";
    bool first = true;
    for (int c = 0; c < cards::ClassCount; ++c)
    {
        if (!Shown(report, c))
            continue;
        const SpotClass &one = report.Answer.Classes[static_cast<size_t>(c)];
        text += std::string(first ? "" : ", ") + "{\"hand\": \"" + cards::ClassName(c) +
                "\", \"combos\": " + JsonNumber(one.Combos) + ", \"ev_fold\": " + JsonNumber(one.EvFold) +
                ", \"ev_play\": " + JsonNumber(one.EvPlay) + ", \"difference\": " + JsonNumber(Difference(one)) + "}";
        first = false;
    }
    double share = 0.0;
    const std::string range = cards::FormatRange(PlayingRange(report.Answer, share));
    return text + "], \"range\": \"" + range + "\", \"range_share\": " + JsonNumber(share) + "}\n";
}

// "seat 2 takes the pot", "seat 2 > seat 3", "seat 2 = seat 3 > seat 1".
std::string OutcomeName(const Showdown &pot)
{
    if (pot.Count == 1)
        return "seat " + std::to_string(pot.Seats[0] + 1) + " takes the pot";
    std::string name;
    for (uint8_t rank = 0; rank < MaxPotPlayers; ++rank)
    {
        std::string group;
        for (size_t k = 0; k < pot.Count; ++k)
            if (pot.Rank[k] == rank)
                group += (group.empty() ? "seat " : " = seat ") + std::to_string(pot.Seats[k] + 1);
        if (!group.empty())
            name += (name.empty() ? "" : " > ") + group;
    }
    return name;
}

std::string StacksText(const std::vector<int64_t> &stacks, size_t count, const char *separator)
{
    std::string text;
    for (size_t i = 0; i < count; ++i)
        text += (i == 0 ? "" : separator) + std::to_string(stacks[i]);
    return text;
}

std::string HandText(const SpotReply &report, const std::string &hand, const HandBreakdown &b)
{
    const size_t seats = report.TableSeats;
    const std::string unit = report.ChipEv ? "chips" : "$EV";
    const std::string play = PlayWord(report.Question.Action);
    const bool bounties = HasBounties(report.Bounty);
    std::string text = HeaderLine(report) + "Hand " + hand + ": " + play + " " + Fixed(b.EvPlay, 4) + ", fold " +
                       Fixed(b.EvFold, 4) + " (" + unit + "), difference " + Signed(b.EvPlay - b.EvFold, 4);
    if (report.Answer.Pool > 0.0)
        text += " (" + Signed((b.EvPlay - b.EvFold) / report.Answer.Pool * 100.0, 3) + "% of the pool)";
    text += "; in chips " + Signed(b.ChipsPlay - b.ChipsFold, 1) + ": " +
            (b.EvPlay - b.EvFold > 0.0 ? play : std::string("fold")) + "\n";
    if (b.Error > 0.0)
        text += "Standard error of the " + play + " EV (three-way pots drawn): " + Fixed(b.Error, 6) + "\n";
    for (const auto *branch : {&b.Fold, &b.Play})
    {
        std::vector<std::vector<std::string>> rows = {
            {branch == &b.Fold ? "If he folds" : "If he " + play + "s", "Chance",
             "Stacks after (seats 1-" + std::to_string(seats) + ")", unit}};
        if (bounties)
            rows[0].insert(rows[0].end() - 1, "Bounty cash");
        for (const OutcomeView &one : *branch)
        {
            rows.push_back({OutcomeName(one.Pot), Fixed(one.Chance * 100.0, 4) + "%",
                            StacksText(one.Stacks, seats, " "), Fixed(one.Value, 4)});
            if (bounties)
                rows.back().insert(rows.back().end() - 1, Fixed(one.BountyCash, 2));
        }
        text += "\n" + Aligned(rows, {0});
    }
    if (b.Needed && !bounties)
        text += "\nEquity needed to call in a heads-up pot: " +
                (report.ChipEv ? Fixed(b.NeededChips * 100.0, 2) + "% under chip EV; "
                               : Fixed(b.NeededValue * 100.0, 2) + "% under ICM, " +
                                     Fixed(b.NeededChips * 100.0, 2) + "% under chip EV; ") +
                hand + " has " + Fixed(b.Equity * 100.0, 2) + "% against seat " +
                std::to_string(report.Question.Shover + 1) + "'s range\n";
    if (b.Needed && bounties)
        text += "\nEquity needed to call in a heads-up pot: " + Fixed(b.NeededValue * 100.0, 2) + "% with the " +
                "bounties, " + Fixed(report.NeededWithoutBounty * 100.0, 2) + "% without them" +
                (report.ChipEv ? "" : ", " + Fixed(b.NeededChips * 100.0, 2) + "% under chip EV") + "; " + hand +
                " has " + Fixed(b.Equity * 100.0, 2) + "% against seat " + std::to_string(report.Question.Shover + 1) +
                "'s range\n";
    return text;
}

std::string OutcomesJson(const std::vector<OutcomeView> &outcomes, bool bounties)
{
    std::string text = "[";
    for (size_t o = 0; o < outcomes.size(); ++o)
    {
        const OutcomeView &one = outcomes[o];
        std::string players, ranks;
        for (size_t k = 0; k < one.Pot.Count; ++k)
        {
            players += (k == 0 ? "" : ", ") + std::to_string(one.Pot.Seats[k] + 1);
            ranks += (k == 0 ? "" : ", ") + std::to_string(one.Pot.Rank[k] + 1);
        }
        text += std::string(o == 0 ? "" : ", ") + "{\"players\": [" + players + "], \"finish\": [" + ranks +
                "], \"chance\": " + JsonNumber(one.Chance) + ", \"stacks\": [" +
                StacksText(one.Stacks, one.Stacks.size(), ", ") + "], " +
                (bounties ? "\"bounty_cash\": " + JsonNumber(one.BountyCash) + ", " : std::string()) +
                "\"value\": " + JsonNumber(one.Value) + "}";
    }
    return text + "]";
}

std::string HandJson(const SpotReply &report, const std::string &hand, const HandBreakdown &b)
{
    const bool bounties = HasBounties(report.Bounty);
    std::string text = "{\"hero\": " + std::to_string(report.Question.Hero + 1) + PositionJson(report) +
                       ", \"action\": \"" + ActionName(report.Question.Action) + "\", \"hand\": \"" + hand +
                       "\", \"pool\": " + JsonNumber(report.Answer.Pool) +
                       ", \"ev_before\": " + JsonNumber(report.Answer.EvBefore) + ", \"ev_fold\": " +
                       JsonNumber(b.EvFold) + ", \"ev_play\": " + JsonNumber(b.EvPlay) + ", \"difference\": " +
                       JsonNumber(b.EvPlay - b.EvFold) + ", \"standard_error\": " + JsonNumber(b.Error) +
                       ", \"chips_fold\": " + JsonNumber(b.ChipsFold) + ", \"chips_play\": " + JsonNumber(b.ChipsPlay) +
                       ", \"fold\": " + OutcomesJson(b.Fold, bounties) + ", \"play\": " + OutcomesJson(b.Play, bounties);
    if (b.Needed)
        text += ", \"equity_needed\": " + JsonNumber(b.NeededValue) +
                (bounties ? ", \"equity_needed_without_bounties\": " + JsonNumber(report.NeededWithoutBounty)
                          : std::string()) +
                ", \"equity_needed_chips\": " + JsonNumber(b.NeededChips) + ", \"equity\": " + JsonNumber(b.Equity);
    if (bounties)
        text += ", \"bounty_money\": " + JsonNumber(report.Bounty.InPlay) + ", \"bounty_share\": " +
                JsonNumber(report.Bounty.CashShare);
    return text + "}\n";
}

std::string HandCsv(const HandBreakdown &b, bool bounties)
{
    std::string text = bounties ? "branch,players,finish,chance,value,stacks,bounty_cash\n"
                                : "branch,players,finish,chance,value,stacks\n";
    for (const auto *branch : {&b.Fold, &b.Play})
        for (const OutcomeView &one : *branch)
        {
            std::string players, ranks;
            for (size_t k = 0; k < one.Pot.Count; ++k)
            {
                players += (k == 0 ? "" : " ") + std::to_string(one.Pot.Seats[k] + 1);
                ranks += (k == 0 ? "" : " ") + std::to_string(one.Pot.Rank[k] + 1);
            }
            text += std::string(branch == &b.Fold ? "fold" : "play") + "," + players + "," + ranks + "," +
                    CsvNumber(one.Chance) + "," + CsvNumber(one.Value) + "," +
                    StacksText(one.Stacks, one.Stacks.size(), " ") +
                    (bounties ? "," + CsvNumber(one.BountyCash) : std::string()) + "\n";
        }
    return text;
}

} // namespace

std::string WriteSpotReply(const SpotReply &reply, Format format, bool color)
{
    if (reply.OneHand)
        return format == Format::Json  ? HandJson(reply, reply.Hand, reply.Breakdown)
               : format == Format::Csv ? HandCsv(reply.Breakdown, HasBounties(reply.Bounty))
                                       : HandText(reply, reply.Hand, reply.Breakdown);
    return format == Format::Json ? SpotJson(reply) : format == Format::Csv ? SpotCsv(reply) : SpotTable(reply, color);
}

} // namespace ostrel
