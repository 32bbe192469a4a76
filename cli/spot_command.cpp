/*
 * The spot command: reading the table, the money and the ranges, and the
 * answer as a grid and a list for people, CSV and JSON for tools. The field
 * is valued by the same method choice as `equity`, so the values before the
 * hand are `equity`'s to the bit. Numbers for programs are the shortest text
 * that reads back to the same double.
 */
#include "spot_command.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <thread>

#include "answer_text.h"
#include "progress.h"
#include "arguments.h"
#include "field_methods.h"
#include "nash_ranges.h"
#include "number_lists.h"
#include "positions.h"
#include "range.h"
#include "spot.h"
#include "table_options.h"

namespace ostrel
{
namespace
{

std::string CsvNumber(double value)
{
    return std::isfinite(value) ? ShortestText(value) : "";
}

// SEAT=RANGE, each seat once.
Status ReadRanges(const std::string &option, const std::vector<std::string> &items,
                  const std::vector<std::string> &positions, std::vector<std::optional<cards::Range>> &ranges)
{
    ranges.assign(positions.size(), std::nullopt);
    for (const std::string &item : items)
    {
        const size_t equals = item.find('=');
        if (equals == std::string::npos)
            return Failure(option + " " + item + ": give SEAT=RANGE");
        size_t seat = 0;
        Status status = ParseSeat(option, item.substr(0, equals), positions, seat);
        if (!status.Ok)
            return status;
        if (ranges[seat])
            return Failure(option + ": seat " + SeatText(seat, positions) + " is given twice");
        const std::string text = item.substr(equals + 1);
        if (text.find_first_not_of(" \t") == std::string::npos)
            return Failure(option + " " + item + ": the range is empty; give hands after the seat, e.g. " +
                           item.substr(0, equals) + "=QQ+,AK");
        cards::Range range;
        status = cards::ParseRange(text, range);
        if (!status.Ok)
            return Failure(option + " " + item + ": " + status.Message);
        ranges[seat] = range;
    }
    return Status();
}

Status ReadQuestion(const SpotOptions &options, const std::vector<std::string> &seats, SpotQuestion &question)
{
    Status status = ParseSeat("--hero", options.Hero, seats, question.Hero);
    if (!status.Ok)
        return status;
    question.Action = options.Action == "call"       ? SpotAction::Call
                      : options.Action == "overcall" ? SpotAction::Overcall
                                                     : SpotAction::FirstIn;
    if (question.Action != SpotAction::FirstIn)
    {
        if (!Given(options.ShoverGiven))
            return Failure("--action " + options.Action + " needs --shover SEAT");
        status = ParseSeat("--shover", options.Shover, seats, question.Shover);
        if (!status.Ok)
            return status;
    }
    else if (Given(options.ShoverGiven))
        return Failure("--shover goes with --action call or overcall");
    if (question.Action == SpotAction::Overcall)
    {
        if (!Given(options.CallerGiven))
            return Failure("--action overcall needs --caller SEAT, who called the shove");
        status = ParseSeat("--caller", options.Caller, seats, question.Caller);
        if (!status.Ok)
            return status;
    }
    else if (Given(options.CallerGiven))
        return Failure("--caller goes with --action overcall");
    int64_t number = 0;
    std::string problem;
    if (Given(options.DrawsGiven))
        problem = ReadCount("--draws", options.Draws, 1, 10000000, "a number of showdowns", number);
    if (problem.empty() && Given(options.DrawsGiven))
        question.Sampling.Draws = static_cast<uint64_t>(number);
    if (problem.empty() && Given(options.SeedGiven))
        problem = ReadCount("--seed", options.Seed, 0, INT64_MAX, "a seed", number);
    if (problem.empty() && Given(options.SeedGiven))
        question.Sampling.Seed = static_cast<uint64_t>(number);
    if (!problem.empty())
        return Failure(problem);
    status = ReadRanges("--range", options.Ranges, seats, question.Ranges);
    if (status.Ok)
        status = ReadRanges("--overcall", options.Overcalls, seats, question.Overcalls);
    if (status.Ok)
        status = ReadRanges("--shove", options.Shoves, seats, question.Shoves);
    return status;
}

const char *ActionName(SpotAction action)
{
    return action == SpotAction::Call ? "call" : action == SpotAction::Overcall ? "overcall" : "first-in";
}

const char *PlayWord(SpotAction action)
{
    return action == SpotAction::Call ? "call" : action == SpotAction::Overcall ? "overcall" : "shove";
}

struct Report
{
    const SpotSolver *Solver = nullptr;
    SpotQuestion Question;
    SpotAnswer Answer;
    bool ChipEv = false;
    bool Color = false;
    std::vector<std::string> Positions; // of every seat, for the answer's words
    int OnlyClass = -1;                 // --hand naming a class: its row alone
    std::string Table;                  // the seats' stacks in chips and big blinds, the blinds
};

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

bool Shown(const Report &report, int handClass)
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

std::string Grid(const Report &report)
{
    const double pool = report.Answer.Pool;
    double largest = 0.0;
    for (const SpotClass &one : report.Answer.Classes)
        if (std::isfinite(Difference(one)))
            largest = std::max(largest, std::fabs(Difference(one)));
    std::string text = "Difference " + std::string(PlayWord(report.Question.Action)) +
                       " - fold, in % of the " + (report.ChipEv ? "chips" : "prize pool") + ":\n    ";
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
            if (report.Color && std::isfinite(difference) && largest > 0.0)
                text += " " + CellColour(difference / largest) + cell + "\x1b[0m";
            else
                text += " " + cell;
        }
        text += "\n";
    }
    return text;
}

// The hero's position beside his seat number.
std::string PositionJson(const Report &report)
{
    const size_t hero = report.Question.Hero;
    return hero < report.Positions.size() ? ", \"position\": \"" + report.Positions[hero] + "\"" : "";
}

std::string HeaderLine(const Report &report)
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
    line += report.ChipEv ? "; chip EV, " + Fixed(report.Answer.Pool, 0) + " chips in play"
                          : "; prize pool " + Fixed(report.Answer.Pool, 2);
    line += "; the hero's " + std::string(report.ChipEv ? "chips" : "$EV") + " before the hand " +
            Fixed(report.Answer.EvBefore, 3) + "\n";
    return line + report.Table;
}

std::string SamplingLine(const SpotAnswer &answer, uint64_t seed)
{
    if (answer.Draws == 0)
        return "Every chance exact (heads-up pots from the preflop table)\n";
    return "Three-way pots drawn at random: " + std::to_string(answer.Draws) + " showdowns, seed " +
           std::to_string(seed) + "; largest standard error of an EV " + Fixed(answer.LargestError, 6) +
           "; heads-up pots exact\n";
}

std::string SpotTable(const Report &report)
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
    return HeaderLine(report) + "\n" + Grid(report) + "\n" + combos + Aligned(rows, {0}) + "\n" +
           (play == "shove" ? "Shove: " : play == "call" ? "Call: " : "Overcall: ") + (range.empty() ? "nothing" : range) + " (" +
           Fixed(share * 100.0, 1) + "% of combos)\n" + SamplingLine(answer, report.Question.Sampling.Seed);
}

std::string SpotCsv(const Report &report)
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
                CsvNumber(report.Answer.Pool > 0.0 ? difference / report.Answer.Pool : NAN) + "," +
                CsvNumber(one.ChipsFold) + "," + CsvNumber(one.ChipsPlay) + "," + CsvNumber(one.Error) + "," +
                (!std::isfinite(difference) ? "" : difference > 0.0 ? PlayWord(report.Question.Action) : "fold") +
                "\n";
    }
    return text;
}

std::string SpotJson(const Report &report)
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

std::string HandText(const Report &report, const std::string &hand, const HandBreakdown &b)
{
    const size_t seats = report.Solver->Book().TableSeats();
    const std::string unit = report.ChipEv ? "chips" : "$EV";
    const std::string play = PlayWord(report.Question.Action);
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
        for (const OutcomeView &one : *branch)
            rows.push_back({OutcomeName(one.Pot), Fixed(one.Chance * 100.0, 4) + "%",
                            StacksText(one.Stacks, seats, " "), Fixed(one.Value, 4)});
        text += "\n" + Aligned(rows, {0});
    }
    if (b.Needed)
        text += "\nEquity needed to call in a heads-up pot: " +
                (report.ChipEv ? Fixed(b.NeededChips * 100.0, 2) + "% under chip EV; "
                               : Fixed(b.NeededValue * 100.0, 2) + "% under ICM, " +
                                     Fixed(b.NeededChips * 100.0, 2) + "% under chip EV; ") +
                hand + " has " + Fixed(b.Equity * 100.0, 2) + "% against seat " +
                std::to_string(report.Question.Shover + 1) + "'s range\n";
    return text;
}

std::string OutcomesJson(const std::vector<OutcomeView> &outcomes)
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
                StacksText(one.Stacks, one.Stacks.size(), ", ") + "], \"value\": " + JsonNumber(one.Value) + "}";
    }
    return text + "]";
}

std::string HandJson(const Report &report, const std::string &hand, const HandBreakdown &b)
{
    std::string text = "{\"hero\": " + std::to_string(report.Question.Hero + 1) + PositionJson(report) +
                       ", \"action\": \"" + ActionName(report.Question.Action) + "\", \"hand\": \"" + hand +
                       "\", \"pool\": " + JsonNumber(report.Answer.Pool) +
                       ", \"ev_before\": " + JsonNumber(report.Answer.EvBefore) + ", \"ev_fold\": " +
                       JsonNumber(b.EvFold) + ", \"ev_play\": " + JsonNumber(b.EvPlay) + ", \"difference\": " +
                       JsonNumber(b.EvPlay - b.EvFold) + ", \"standard_error\": " + JsonNumber(b.Error) +
                       ", \"chips_fold\": " + JsonNumber(b.ChipsFold) + ", \"chips_play\": " + JsonNumber(b.ChipsPlay) +
                       ", \"fold\": " + OutcomesJson(b.Fold) + ", \"play\": " + OutcomesJson(b.Play);
    if (b.Needed)
        text += ", \"equity_needed\": " + JsonNumber(b.NeededValue) + ", \"equity_needed_chips\": " +
                JsonNumber(b.NeededChips) + ", \"equity\": " + JsonNumber(b.Equity);
    return text + "}\n";
}

std::string HandCsv(const HandBreakdown &b)
{
    std::string text = "branch,players,finish,chance,value,stacks\n";
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
                    StacksText(one.Stacks, one.Stacks.size(), " ") + "\n";
        }
    return text;
}

} // namespace

CLI::App *AddSpotCommand(CLI::App &app, SpotOptions &options)
{
    CLI::App *spot = app.add_subcommand("spot", "Push or fold under ICM: one seat's decision over every hand");
    spot->footer("Examples:\n"
                 "  ostrel-icm spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 "
                 "--ante 25 --hero 2 --range 3=QQ+,AK\n"
                 "  ostrel-icm spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 "
                 "--hero 3 --action call --shover 2 --range 2=22+,A2+,K9+ --hand AhKd\n"
                 "  ostrel-icm spot --stacks 5000,3000,2000 --prizes 50,30,20 --button 1 --blinds 100,200 "
                 "--hero 1 --ranges nash\n"
                 "  ostrel-icm spot --stacks 25bb,15bb,10bb --prizes 50,30,20 --button 1 --blinds 0.5,1 --ante 0.125 "
                 "--hero BB --action call --shover BTN --range BTN=22+,A2+ --hand AJo\n");
    AddTableOptions(*spot, options.Table);
    options.HeroGiven = spot->add_option("--hero", options.Hero, "The seat deciding: its number or its position (BTN, SB, BB, UTG, HJ, CO, ...)")->option_text("SEAT");
    spot->add_option("--action", options.Action,
                     "first-in (shove or fold; the default), call (call a shove or fold) or overcall (call a shove "
                     "and a call, or fold)")
        ->option_text("NAME");
    options.ShoverGiven =
        spot->add_option("--shover", options.Shover, "With --action call or overcall: who shoved")->option_text("SEAT");
    options.CallerGiven =
        spot->add_option("--caller", options.Caller, "With --action overcall: who called the shove")->option_text("SEAT");
    spot->add_option("--range", options.Ranges,
                     "The shover's range, or a player's range for calling a shove (repeatable)")
        ->option_text("SEAT=RANGE");
    spot->add_option("--overcall", options.Overcalls,
                     "A player's range for calling after a shove and a call (repeatable)")
        ->option_text("SEAT=RANGE");
    spot->add_option("--shove", options.Shoves,
                     "First in: a later player's range for shoving when the hero folds; without it he folds "
                     "(repeatable)")
        ->option_text("SEAT=RANGE");
    options.DrawsGiven = spot->add_option("--draws", options.Draws,
                                          "Three-way showdowns drawn for each hand (default: 6000)")
                             ->option_text("N");
    options.SeedGiven = spot->add_option("--seed", options.Seed, "Seed of the three-way draws (default: 1)")
                            ->option_text("S");
    options.RangesGiven = spot->add_option("--ranges", options.RangesFrom,
                                           "nash: the ranges not given, from the table's push-or-fold equilibrium")
                              ->option_text("NAME");
    options.HandGiven = spot->add_option("--hand", options.Hand, "One hand, e.g. AhKd: every outcome of it; or a class, e.g. AJo: its row")->option_text("CARDS");
    spot->add_option("--color", options.Color, "Colour the grid: auto (on a terminal; the default), always or never")
        ->option_text("WHEN");
    spot->add_option("--format", options.Format, "Output: table (the default), csv or json")->option_text("NAME");
    const unsigned cores = std::thread::hardware_concurrency();
    options.Threads = cores == 0 ? 1 : cores;
    return spot;
}

Status RunSpotCommand(SpotOptions &options, std::string &text)
{
    for (const auto &[option, value, choices] :
         {std::tuple<const char *, const std::string &, std::vector<std::string>>{"--action", options.Action,
                                                                                  {"first-in", "call", "overcall"}},
          {"--color", options.Color, {"auto", "always", "never"}},
          {"--format", options.Format, {"table", "csv", "json"}}})
    {
        const std::string problem = CheckChoice(option, value, choices);
        if (!problem.empty())
            return Failure(problem);
    }
    if (Given(options.RangesGiven))
    {
        const std::string problem = CheckChoice("--ranges", options.RangesFrom, {"nash"});
        if (!problem.empty())
            return Failure(problem);
    }
    if (!Given(options.HeroGiven))
        return Failure("no hero: give --hero SEAT, the seat deciding");
    HandField field;
    Status status = ReadTable(options.Table, field);
    if (!status.Ok)
        return status;
    SpotQuestion question;
    const std::vector<std::string> positions = PositionNames(field.Table.Stacks, field.Table.Button);
    status = ReadQuestion(options, positions, question);
    if (!status.Ok)
        return status;
    int combo = -1;
    int handClass = -1;
    if (Given(options.HandGiven) && cards::ParseClassName(options.Hand, handClass))
        combo = -1; // a class: its row of the whole answer
    else if (Given(options.HandGiven))
    {
        std::vector<cards::Card> hand;
        status = cards::ParseCards(options.Hand, hand);
        if (!status.Ok)
            return Failure("--hand " + options.Hand + ": " + status.Message +
                           "; a hand is its two cards (AhJd), a class its name (AJo: its row of the table)");
        if (hand.size() != 2)
            return Failure("--hand " + options.Hand + ": a hand is two cards, e.g. AhKd");
        combo = cards::ComboIndex(hand[0], hand[1]);
    }
    RunOptions run;
    run.Threads = options.Threads;
    MethodLog log;
    const FieldEquity valuation = EquityBy(Method::Automatic, run, log, nullptr);
    if (Given(options.RangesGiven))
    {
        status = FillNashRanges(field, valuation, options.Table.ChipEv, options.Threads, question);
        if (!status.Ok)
            return status;
    }
    SpotSolver solver;
    status = solver.Open(field, valuation, options.Table.ChipEv, question);
    if (!status.Ok)
        return status;
    Report report;
    report.Solver = &solver;
    report.Question = question;
    report.ChipEv = options.Table.ChipEv;
    report.Positions = positions;
    report.OnlyClass = handClass;
    report.Table = TableLine(field.Table, positions);
    report.Color = options.Color == "always" || (options.Color == "auto" && IsTerminal(stdout));
    if (combo >= 0)
    {
        HandBreakdown breakdown;
        status = solver.Explain(combo, breakdown);
        if (!status.Ok)
            return status;
        report.Answer.Pool = solver.Book().Pool();
        report.Answer.EvBefore = solver.Book().Before()[question.Hero];
        if (options.Table.ChipEv)
        {
            report.Answer.Pool = 0.0;
            for (int64_t stack : field.Table.Stacks)
                report.Answer.Pool += static_cast<double>(stack);
            for (int64_t stack : field.Others)
                report.Answer.Pool += static_cast<double>(stack);
        }
        const cards::Combo two = cards::ComboCards(combo);
        const std::string hand = cards::FormatCards({two.High, two.Low});
        text = options.Format == "json"  ? HandJson(report, hand, breakdown)
               : options.Format == "csv" ? HandCsv(breakdown)
                                         : HandText(report, hand, breakdown);
        return Status();
    }
    status = solver.Solve(report.Answer);
    if (!status.Ok)
        return status;
    text = options.Format == "json" ? SpotJson(report) : options.Format == "csv" ? SpotCsv(report) : SpotTable(report);
    return Status();
}

} // namespace ostrel
