/*
 * The push-or-fold table read from its options. Cost: the stacks and prize
 * lists read once; files read whole.
 */
#include "table_options.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "number_lists.h"
#include "positions.h"
#include "table_typed.h"

namespace ostrel
{
namespace
{

Status ReadOthers(const TableOptions &options, std::vector<int64_t> &others)
{
    std::string error;
    if (Given(options.OthersGiven) && Given(options.OthersFileGiven))
        return Failure(
            "two sources for the players at other tables: give --others or --others-file, not both");
    if (Given(options.OthersGiven))
        return ReadOthersTyped(options.Others, others);
    if (Given(options.OthersFileGiven))
    {
        std::string bytes;
        const Status read = ReadWholeFile(options.OthersFile, MaxStacksFileBytes, bytes);
        if (!read.Ok)
            return Failure("--others-file " + options.OthersFile + ": " + read.Message);
        others = WholeChips(ReadStackLines(bytes, error), error);
        return error.empty() ? Status() : Failure("--others-file " + options.OthersFile + ": " + error);
    }
    return Status();
}

// The --stacks text with a "bb" on every item taken off; `all` tells
// whether there was one on every item. Some but not all is an error.
std::string WithoutBigBlindMarks(const std::string &text, bool &all, std::string &error)
{
    std::vector<std::string> items;
    size_t start = 0;
    for (size_t comma = text.find(','); ; comma = text.find(',', start))
    {
        items.push_back(TrimBlanks(text.substr(start, comma == std::string::npos ? std::string::npos : comma - start)));
        if (comma == std::string::npos)
            break;
        start = comma + 1;
    }
    size_t marked = 0;
    for (std::string &item : items)
        if (item.size() > 2 && (item.compare(item.size() - 2, 2, "bb") == 0 || item.compare(item.size() - 2, 2, "BB") == 0))
        {
            item = TrimBlanks(item.substr(0, item.size() - 2));
            marked += 1;
        }
    all = marked > 0 && marked == items.size();
    if (marked > 0 && !all)
        error = "--stacks " + text + ": give every stack in big blinds (15bb,22bb) or none";
    std::string joined;
    for (size_t i = 0; i < items.size(); ++i)
        joined += (i == 0 ? "" : ",") + items[i];
    return all ? joined : text;
}

// Stacks counted in big blinds (units of 10^-decimals of one) as chips.
Status BigBlindsToChips(std::vector<int64_t> &stacks, int32_t decimals, int64_t bigBlind)
{
    int64_t unit = 1;
    for (int32_t i = 0; i < decimals; ++i)
        unit *= 10;
    for (size_t seat = 0; seat < stacks.size(); ++seat)
    {
        const int64_t count = stacks[seat];
        if (count != 0 && bigBlind > INT64_MAX / count)
            return Failure("stack " + std::to_string(seat + 1) + ": " + StackText(count, decimals) +
                           " big blinds are more chips than the table can hold");
        if (count * bigBlind % unit != 0)
            return Failure("stack " + std::to_string(seat + 1) + ": " + StackText(count, decimals) +
                           " big blinds of " + std::to_string(bigBlind) + " chips is not a whole number of chips");
        stacks[seat] = count * bigBlind / unit;
    }
    return Status();
}

// An amount in big blinds as typed after `option`: units of 10^-decimals.
Status ReadBigBlinds(const std::string &option, const std::string &typed, const std::string &item, const char *what,
                     int64_t &units, int32_t &decimals)
{
    const std::string text = TrimBlanks(item);
    const std::string where = option + " " + typed + ": ";
    if (text.empty())
        return Failure(where + "no " + what + " given");
    if (text[0] == '-')
        return Failure(where + "the " + what + " is negative");
    std::string error;
    const StackList list = ReadStackList(text, error);
    if (!error.empty() || list.Chips.size() != 1)
        return Failure(where + "the " + what + " is not a number of big blinds (0.5, 0.125)");
    units = list.Chips[0];
    decimals = list.Decimals;
    return Status();
}

// Stacks, blinds and antes all in big blinds, some of them fractions of one
// (--blinds 0.5,1 --ante 0.125): counted as chips of the finest fraction
// typed, so a big blind of 1000 chips when an ante is 0.125.
Status ReadTableInBigBlinds(const TableOptions &options, int32_t stackDecimals, TableSetup &table)
{
    const std::string &blinds = options.Blinds;
    const size_t comma = blinds.find(',');
    if (comma == std::string::npos || blinds.find(',', comma + 1) != std::string::npos)
        return Failure("--blinds " + blinds + ": give the small and the big blind, as SB,BB");
    const bool bbAnte = Given(options.BigBlindAnteGiven);
    const bool anyAnte = Given(options.AnteGiven) || bbAnte;
    const std::string anteOption = bbAnte ? "--bb-ante" : "--ante";
    const std::string anteText = bbAnte ? options.BigBlindAnte : options.Ante;
    int64_t units[3] = {0, 0, 0};
    int32_t decimals[3] = {0, 0, 0};
    Status status = ReadBigBlinds("--blinds", blinds, blinds.substr(0, comma), "small blind", units[0], decimals[0]);
    if (status.Ok)
        status = ReadBigBlinds("--blinds", blinds, blinds.substr(comma + 1), "big blind", units[1], decimals[1]);
    if (status.Ok && anyAnte)
        status = ReadBigBlinds(anteOption, anteText, anteText, "ante", units[2], decimals[2]);
    if (!status.Ok)
        return status;
    int64_t one = 1;
    for (int32_t i = 0; i < decimals[1]; ++i)
        one *= 10;
    if (units[1] != one)
        return Failure("--blinds " + blinds +
                       ": with the stacks in big blinds the big blind is 1 (--blinds 0.5,1), or give the blinds in "
                       "whole chips (--blinds 100,200)");
    const int32_t finest = std::max({stackDecimals, decimals[0], decimals[2]});
    if (finest > 6)
        return Failure("--blinds " + blinds + ": amounts in big blinds take at most 6 decimals");
    const auto chips = [finest](int64_t count, int32_t places) {
        for (int32_t i = places; i < finest; ++i)
            count *= 10;
        return count;
    };
    table.BigBlind = chips(1, 0);
    table.SmallBlind = chips(units[0], decimals[0]);
    table.Ante = anyAnte ? chips(units[2], decimals[2]) : 0;
    table.BigBlindAnte = bbAnte;
    for (int64_t &stack : table.Stacks)
    {
        if (stack > INT64_MAX / table.BigBlind)
            return Failure("the stacks in big blinds are more chips than the table can hold");
        stack = chips(stack, stackDecimals);
    }
    return Status();
}

} // namespace

bool Given(const CLI::Option *option)
{
    return option != nullptr && option->count() > 0;
}

void AddTableOptions(CLI::App &command, TableOptions &options)
{
    InputOptions &input = options.Input;
    const struct
    {
        const char *Name;
        std::string *Text;
        const char *Help;
        const char *Shown;
        CLI::Option **Given;
    } rows[] = {
        {"--stacks", &input.Stacks, "Chips of each seat before posting, comma-separated (or big blinds: 25bb,15bb)", "LIST",
         &options.StacksGiven},
        {"--stacks-file", &input.StacksFile, "One stack per line (- for standard input)", "FILE",
         &options.StacksFileGiven},
        {"--names", &input.Names, NamesHelp, "LIST", &options.NamesGiven},
        {"--prizes", &input.Prizes, "Prize of each place from 1st, comma-separated", "LIST",
         &options.PrizesGiven},
        {"--prizes-file", &input.PrizesFile, "The prizes from a file: one per line or comma-separated", "FILE",
         &options.PrizesFileGiven},
        {"--pool", &input.Pool, "The prize pool, when the prizes are percentages of it (25%,15%,...)", "AMOUNT",
         &options.PoolGiven},
        {"--pos", &input.PayoutFile, "The prizes from a payout structure file", "FILE", &options.PosGiven},
        {"--others", &options.Others, "Stacks of the players at other tables, comma-separated", "LIST",
         &options.OthersGiven},
        {"--others-file", &options.OthersFile, "Stacks at other tables, one per line", "FILE",
         &options.OthersFileGiven},
        {"--button", &options.Button, "The button's seat", "SEAT", &options.ButtonGiven},
        {"--blinds", &options.Blinds, "Small and big blind, whole chips (with stacks in big blinds: 0.5,1)", "SB,BB",
         &options.BlindsGiven},
        {"--ante", &options.Ante, "Ante posted by every player (default: none)", "CHIPS", &options.AnteGiven},
        {"--bb-ante", &options.BigBlindAnte, "Ante posted by the big blind for the table", "CHIPS",
         &options.BigBlindAnteGiven},
        {"--bounties", &options.Bounties, "The bounty on each seat's head, in the prize unit (knockout tournaments)",
         "LIST", &options.BountiesGiven},
        {"--others-bounties", &options.OthersBounties, "The bounties of the players at other tables", "LIST",
         &options.OthersBountiesGiven},
        {"--bounty-pool", &options.BountyPool, "All bounty money in play, this table's included", "AMOUNT",
         &options.BountyPoolGiven},
        {"--bounty-share", &options.BountyShare,
         "Share of a bounty paid in cash, the rest onto the winner's head (default 1; 0.5 progressive)", "S",
         &options.BountyShareGiven},
        {"--chips-per-unit", &options.ChipsPerUnit, "With --chip-ev and bounties: the chips a unit of bounty money is worth",
         "CHIPS", &options.ChipsPerUnitGiven},
    };
    for (const auto &row : rows)
        *row.Given = command.add_option(row.Name, *row.Text, row.Help)->option_text(row.Shown);
    command.add_flag("--chip-ev", options.ChipEv, "Value chips instead of money");
    command.add_flag("--in-bb", options.InBigBlinds, "The stacks (--stacks or --stacks-file) are in big blinds");
}

namespace
{

// Optional text of an option: the typed text when given.
std::optional<std::string> TypedIf(const CLI::Option *given, const std::string &text)
{
    return Given(given) ? std::optional<std::string>(text) : std::nullopt;
}

Status ReadBountyOptions(const TableOptions &options, const std::vector<double> &fromFile, BountyInput &bounty)
{
    bounty = BountyInput();
    if (Given(options.BountiesGiven) && !fromFile.empty())
        return Failure("two sources for the bounties: give --bounties or a stacks file with a bounty on each line, "
                       "not both");
    BountyTyped typed;
    typed.OnHead = TypedIf(options.BountiesGiven, options.Bounties);
    typed.Others = TypedIf(options.OthersBountiesGiven, options.OthersBounties);
    typed.Pool = TypedIf(options.BountyPoolGiven, options.BountyPool);
    typed.Share = TypedIf(options.BountyShareGiven, options.BountyShare);
    typed.ChipsPerUnit = TypedIf(options.ChipsPerUnitGiven, options.ChipsPerUnit);
    const Status status = ReadBountyTyped(typed, bounty);
    if (status.Ok && !typed.OnHead)
        bounty.OnHead = fromFile;
    return status;
}

} // namespace

Status ReadTable(const TableOptions &options, HandField &field, BountyInput &bounty)
{
    InputOptions read = options.Input;
    read.HasStacks = Given(options.StacksGiven);
    read.HasStacksFile = Given(options.StacksFileGiven);
    read.HasNames = Given(options.NamesGiven);
    read.HasPrizes = Given(options.PrizesGiven);
    read.HasPrizesFile = Given(options.PrizesFileGiven);
    read.HasPool = Given(options.PoolGiven);
    read.HasPayoutFile = Given(options.PosGiven);
    if (options.ChipEv && (read.HasPrizes || read.HasPrizesFile || read.HasPool || read.HasPayoutFile))
        return Failure("--chip-ev values chips: it takes no --prizes, --prizes-file, --pool or --pos");
    if (options.ChipEv)
    {
        read.HasPrizes = true; // stacks alone: a placeholder ladder, not used
        read.Prizes = "0";
    }
    // In this command's own options: a table takes no settings file.
    if (read.HasStacks + read.HasStacksFile > 0 && read.HasPrizes + read.HasPrizesFile + read.HasPayoutFile == 0)
        return Failure("no prizes: give --prizes, --prizes-file or --pos, or value chips with --chip-ev");
    bool inBigBlinds = options.InBigBlinds;
    if (read.HasStacks)
    {
        std::string error;
        bool marked = false;
        read.Stacks = WithoutBigBlindMarks(read.Stacks, marked, error);
        if (!error.empty())
            return Failure(error);
        inBigBlinds = inBigBlinds || marked;
    }
    FieldInput fieldInput;
    Status status = ReadFieldInput(read, fieldInput);
    if (!status.Ok)
        return status;
    if (!inBigBlinds)
    {
        status = CheckWholeTableStacks(fieldInput);
        if (!status.Ok)
            return status;
    }
    field.Table.Stacks = fieldInput.Stacks;
    status = ReadBountyOptions(options, fieldInput.Bounties, bounty);
    if (!status.Ok)
        return status;
    if (!options.ChipEv)
        field.Prizes = fieldInput.Prizes;
    status = ReadOthers(options, field.Others);
    if (!status.Ok)
        return status;
    const size_t seats = field.Table.Stacks.size();
    if (!Given(options.ButtonGiven))
        return Failure("no button: give --button SEAT");
    status = ParseSeat("--button", options.Button, std::vector<std::string>(seats), field.Table.Button);
    if (!status.Ok)
        return status;
    if (!Given(options.BlindsGiven))
        return Failure("no blinds: give --blinds SB,BB");
    status = CheckAnteKinds(Given(options.AnteGiven), Given(options.BigBlindAnteGiven));
    if (!status.Ok)
        return status;
    const std::string amounts = options.Blinds + options.Ante + options.BigBlindAnte;
    if (inBigBlinds && amounts.find('.') != std::string::npos)
        return ReadTableInBigBlinds(options, fieldInput.StackDecimals, field.Table);
    status = ParseBlinds(options.Blinds, field.Table.SmallBlind, field.Table.BigBlind);
    if (!status.Ok)
        return status;
    if (inBigBlinds)
    {
        status = BigBlindsToChips(field.Table.Stacks, fieldInput.StackDecimals, field.Table.BigBlind);
        if (!status.Ok)
            return Failure(std::string(read.HasStacks ? "--stacks" : "--stacks-file") + ": " + status.Message);
    }
    if (Given(options.AnteGiven))
        status = ParseChips("--ante", options.Ante, field.Table.Ante);
    if (Given(options.BigBlindAnteGiven))
    {
        status = ParseChips("--bb-ante", options.BigBlindAnte, field.Table.Ante);
        field.Table.BigBlindAnte = true;
    }
    return status;
}

} // namespace ostrel
