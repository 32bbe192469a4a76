/*
 * The table's amounts as typed, judged in the command's words. Cost: one
 * pass over the text.
 */
#include "table_typed.h"

#include "number_lists.h"

namespace ostrel
{

std::string TrimBlanks(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

namespace
{

// A blind or an ante, named as the option that was typed names it: the
// stack reader's words (a stack, stack 1) would name the wrong thing.
Status ParseAmount(const std::string &option, const std::string &typed, const std::string &item, const char *what,
                   int64_t &chips)
{
    const std::string text = TrimBlanks(item);
    const std::string where = option + " " + typed + ": ";
    if (text.empty())
        return Failure(where + "no " + what + " given");
    if (text[0] == '-')
        return Failure(where + "the " + what + " is negative; it is whole chips, 0 or more");
    const std::string problem = ParseStack(text, chips);
    return problem.empty() ? Status() : Failure(where + "the " + what + ": " + problem + " (whole chips)");
}

} // namespace

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
        const std::string item = TrimBlanks(items[i]);
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

Status ReadOthersTyped(const std::string &text, std::vector<int64_t> &others)
{
    std::string error;
    others = WholeChips(ReadStackList(text, error), error);
    return error.empty() ? Status() : Failure("--others: " + error);
}

Status CheckWholeTableStacks(const FieldInput &stacks)
{
    if (stacks.StackDecimals != 0)
        return Failure("the stacks at the table are whole chips (blinds and antes are counted in them), not "
                       "decimals; stacks in big blinds are written 24.5bb, or give --in-bb");
    return Status();
}

Status CheckAnteKinds(bool ante, bool bigBlindAnte)
{
    return ante && bigBlindAnte ? Failure("give --ante or --bb-ante, not both") : Status();
}

} // namespace ostrel
