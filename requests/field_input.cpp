/*
 * The field questions' shared checks and figures. Cost: one pass over the
 * seats and the places.
 */
#include "field_input.h"

#include <algorithm>
#include <thread>

#include "bounty_equity.h"
#include "number_lists.h"
#include "number_text.h"

namespace ostrel
{

Field FieldInput::View() const
{
    return {Stacks.data(), Stacks.size(), Prizes.data(), Prizes.size()};
}

Status CheckFieldInput(const FieldInput &input)
{
    if (input.Stacks.size() > MaxSeats)
        return Failure("the field has " + std::to_string(input.Stacks.size()) + " seats; at most " +
                       std::to_string(MaxSeats) + " are taken, empty seats included");
    if (!input.Names.empty() && input.Names.size() != input.Stacks.size())
        return Failure("the names are " + std::to_string(input.Names.size()) + " and the seats " +
                       std::to_string(input.Stacks.size()) + ": give one name per seat, or none");
    if (PlayersInPlay(input.View()) == 0)
        return Failure("no player in play: every stack is 0");
    return CheckField(input.View());
}

namespace
{

bool IsBlankText(const std::string &text)
{
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

} // namespace

Status ReadStacksTyped(const std::string &stacks, FieldInput &input)
{
    if (IsBlankText(stacks))
        return Failure("--stacks: the list is empty");
    std::string error;
    const StackList list = ReadStackList(stacks, error);
    input.Stacks = list.Chips;
    input.StackDecimals = list.Decimals;
    return error.empty() ? Status() : Failure("--stacks: " + error);
}

Status ReadPrizesTyped(const std::string &prizes, const std::string &pool, FieldInput &input)
{
    if (IsBlankText(prizes))
        return Failure("--prizes: the list is empty");
    std::string error;
    input.Prizes = ReadPrizeList(prizes, pool, error);
    return error.empty() ? Status() : Failure("--prizes: " + error);
}

Status ReadNamesTyped(const std::string &names, FieldInput &input)
{
    if (IsBlankText(names))
        return Failure("--names: the list is empty");
    std::string error;
    input.Names = ReadNameList(names, error);
    if (!error.empty())
        return Failure("--names: " + error);
    if (input.Names.size() != input.Stacks.size())
    {
        const auto counted = [](size_t count, const char *what) {
            return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
        };
        return Failure("--names: " + counted(input.Names.size(), "name") + " for " +
                       counted(input.Stacks.size(), "stack") + "; give one for each seat, in seat order");
    }
    return Status();
}

Status CheckThreads(unsigned threads)
{
    int64_t count = 0;
    const std::string problem =
        threads == 0 ? "" : ReadCount("--threads", std::to_string(threads), 1, 256, "a thread count", count);
    return problem.empty() ? Status() : Failure(problem);
}

unsigned ThreadsToUse(unsigned threads)
{
    const unsigned cores = std::thread::hardware_concurrency();
    return threads != 0 ? threads : cores == 0 ? 1 : cores;
}

Method MethodFor(Method asked, const FieldInput &input, bool finish)
{
    if (asked == Method::Automatic && input.StackDecimals > 0)
        return ChosenMethod(input.View(), finish);
    return asked;
}

namespace
{

int MoneyDecimals(const std::vector<double> &prizes)
{
    int decimals = 2;
    for (double prize : prizes)
    {
        const std::string text = ShortestText(prize);
        const size_t point = text.find('.');
        if (point != std::string::npos && text.find('e') == std::string::npos)
            decimals = std::max(decimals, static_cast<int>(text.size() - point - 1));
    }
    return std::min(decimals, 12);
}

} // namespace

SeatsShown SeatsOf(const FieldInput &input, bool separators)
{
    SeatsShown seats;
    seats.Stacks = input.Stacks;
    seats.StackDecimals = input.StackDecimals;
    seats.Names = input.Names;
    seats.Players = PlayersInPlay(input.View());
    seats.Paid = PaidPlaces(input.View(), seats.Players);
    seats.MoneyDecimals = MoneyDecimals(input.Prizes);
    seats.Separators = separators;
    return seats;
}

std::vector<std::string> RisingLadderWarnings(const std::vector<double> &prizes)
{
    for (size_t place = 1; place < prizes.size(); ++place)
        if (prizes[place] > prizes[place - 1])
            return {"the prizes rise from place " + std::to_string(place) + " (" + ShortestText(prizes[place - 1]) +
                    ") to place " + std::to_string(place + 1) + " (" + ShortestText(prizes[place]) +
                    "); computed in the order given, place 1 first"};
    return {};
}

namespace
{

// The bounties as given: the request's, else the stacks file's.
BountyInput FieldBounties(const BountyInput &bounty, const FieldInput &input)
{
    BountyInput taken = bounty;
    if (taken.OnHead.empty())
        taken.OnHead = input.Bounties;
    return taken;
}

} // namespace

Status CheckFieldBounties(const BountyInput &bounty, const FieldInput &input, const char *refusing)
{
    const bool given = !bounty.OnHead.empty() || bounty.Pool || !input.Bounties.empty();
    if (given && refusing != nullptr)
        return Failure(std::string(refusing) + " takes no bounties");
    if (!bounty.OnHead.empty() && !input.Bounties.empty())
        return Failure("two sources for the bounties: give --bounties or a stacks file with a bounty on each line, "
                       "not both");
    // The field's bounty equity needs only the money in play: a pool alone
    // is every bounty on the field's heads.
    BountyInput taken = FieldBounties(bounty, input);
    if (taken.OnHead.empty() && taken.Pool)
        taken.OnHead.assign(input.Stacks.size(), 0.0);
    return CheckBountyInput(taken, input.Stacks.size(), 0, false);
}

Status FieldBountyEquity(const BountyInput &bounty, const FieldInput &input, double &money,
                         std::vector<double> &equity)
{
    const BountyInput taken = FieldBounties(bounty, input);
    money = BountyMoney(taken);
    equity.clear();
    if (!(money > 0.0))
        return Status();
    equity.assign(input.Stacks.size(), 0.0);
    return BountyEquity(input.View(), money, equity.data());
}

} // namespace ostrel
