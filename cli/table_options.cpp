/*
 * The push-or-fold table read from its options. Cost: the stacks and prize
 * lists read once; files read whole.
 */
#include "table_options.h"

#include <vector>

#include "number_lists.h"
#include "positions.h"

namespace ostrel
{
namespace
{

std::string Trim(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A blind or an ante, named as the option that was typed names it: the
// stack reader's words (a stack, stack 1) would name the wrong thing.
Status ParseAmount(const std::string &option, const std::string &typed, const std::string &item, const char *what,
                   int64_t &chips)
{
    const std::string text = Trim(item);
    const std::string where = option + " " + typed + ": ";
    if (text.empty())
        return Failure(where + "no " + what + " given");
    if (text[0] == '-')
        return Failure(where + "the " + what + " is negative; it is whole chips, 0 or more");
    const std::string problem = ParseStack(text, chips);
    return problem.empty() ? Status() : Failure(where + "the " + what + ": " + problem + " (whole chips)");
}

Status ParseChips(const std::string &option, const std::string &text, int64_t &chips)
{
    return ParseAmount(option, text, text, "ante", chips);
}

Status ParseBlinds(const std::string &text, int64_t &small, int64_t &big)
{
    const size_t comma = text.find(',');
    if (comma == std::string::npos || text.find(',', comma + 1) != std::string::npos)
        return Failure("--blinds " + text + ": give the small and the big blind, as SB,BB");
    const std::string items[2] = {text.substr(0, comma), text.substr(comma + 1)};
    const char *names[2] = {"small blind", "big blind"};
    int64_t *amounts[2] = {&small, &big};
    for (int i = 0; i < 2; ++i)
    {
        const Status status = ParseAmount("--blinds", text, items[i], names[i], *amounts[i]);
        if (status.Ok)
            continue;
        const std::string item = Trim(items[i]);
        if (item.find('.') != std::string::npos && item[0] != '-')
            return Failure("--blinds " + text +
                           ": chips at the table are whole (blinds and antes are counted in them), not decimals");
        return status;
    }
    return Status();
}

// Chips at the table are whole: the blinds and antes are counted in them.
std::vector<int64_t> WholeChips(const StackList &list, std::string &error)
{
    if (error.empty() && list.Decimals != 0)
        error = "chips at the table are whole (blinds and antes are counted in them), not decimals";
    return error.empty() ? list.Chips : std::vector<int64_t>();
}

Status ReadOthers(const TableOptions &options, std::vector<int64_t> &others)
{
    std::string error;
    if (Given(options.OthersGiven) && Given(options.OthersFileGiven))
        return Failure(
            "two sources for the players at other tables: give --others or --others-file, not both");
    if (Given(options.OthersGiven))
    {
        others = WholeChips(ReadStackList(options.Others, error), error);
        return error.empty() ? Status() : Failure("--others: " + error);
    }
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
        {"--stacks", &input.Stacks, "Chips of each seat before posting, comma-separated", "LIST",
         &options.StacksGiven},
        {"--stacks-file", &input.StacksFile, "One stack per line (- for standard input)", "FILE",
         &options.StacksFileGiven},
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
        {"--blinds", &options.Blinds, "Small and big blind, whole chips", "SB,BB", &options.BlindsGiven},
        {"--ante", &options.Ante, "Ante posted by every player (default: none)", "CHIPS", &options.AnteGiven},
        {"--bb-ante", &options.BigBlindAnte, "Ante posted by the big blind for the table", "CHIPS",
         &options.BigBlindAnteGiven},
    };
    for (const auto &row : rows)
        *row.Given = command.add_option(row.Name, *row.Text, row.Help)->option_text(row.Shown);
    command.add_flag("--chip-ev", options.ChipEv, "Value chips instead of money");
}

Status ReadTable(const TableOptions &options, HandField &field)
{
    InputOptions read = options.Input;
    read.HasStacks = Given(options.StacksGiven);
    read.HasStacksFile = Given(options.StacksFileGiven);
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
    FieldInput fieldInput;
    Status status = ReadFieldInput(read, fieldInput);
    if (!status.Ok)
        return status;
    if (fieldInput.StackDecimals != 0)
        return Failure("the stacks at the table are whole chips (blinds and antes are counted in them), not "
                       "decimals");
    field.Table.Stacks = fieldInput.Stacks;
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
    status = ParseBlinds(options.Blinds, field.Table.SmallBlind, field.Table.BigBlind);
    if (!status.Ok)
        return status;
    if (Given(options.AnteGiven) && Given(options.BigBlindAnteGiven))
        return Failure("give --ante or --bb-ante, not both");
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
