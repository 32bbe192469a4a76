/*
 * Position names and seats typed by number or position. Cost: O(seats).
 */
#include "positions.h"

#include <algorithm>

namespace ostrel
{
namespace
{

std::string Upper(std::string text)
{
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string Trimmed(const std::string &text)
{
    const size_t first = text.find_first_not_of(" \t");
    return first == std::string::npos ? std::string() : text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool AllDigits(const std::string &text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The names of the positions at the table, for the message of a seat typed wrong.
std::string NamesInOrder(const std::vector<std::string> &positions)
{
    std::string names;
    for (const std::string &name : positions)
        if (!name.empty())
            names += (names.empty() ? "" : ", ") + name;
    return names;
}

} // namespace

std::vector<std::string> PositionNames(const std::vector<int64_t> &stacks, size_t button)
{
    const size_t seats = stacks.size();
    std::vector<std::string> names(seats);
    if (button >= seats || stacks[button] <= 0)
        return names;
    // The seats in play clockwise from the one after the button; the button last.
    std::vector<size_t> after;
    for (size_t step = 1; step <= seats; ++step)
    {
        const size_t seat = (button + step) % seats;
        if (stacks[seat] > 0)
            after.push_back(seat);
    }
    const size_t players = after.size();
    names[button] = "BTN";
    if (players < 2)
        return names;
    if (players == 2)
    {
        names[after[0]] = "BB";
        return names;
    }
    names[after[0]] = "SB";
    names[after[1]] = "BB";
    const size_t early = players - 3; // from UTG to the seat before the button
    const size_t back = early >= 2 ? std::min<size_t>(3, early - 1) : 0;
    const char *const backNames[3] = {"LJ", "HJ", "CO"};
    for (size_t i = 0; i < early; ++i)
    {
        const size_t seat = after[2 + i];
        if (i == 0)
            names[seat] = "UTG";
        else if (i < early - back)
            names[seat] = "UTG" + std::to_string(i);
        else
            names[seat] = backNames[3 - (early - i)];
    }
    return names;
}

Status ParseSeat(const std::string &option, const std::string &typed, const std::vector<std::string> &positions,
                 size_t &seat)
{
    const std::string text = Trimmed(typed);
    const size_t seats = positions.size();
    const std::string range = "1 to " + std::to_string(seats);
    if (AllDigits(text))
    {
        const std::string digits = text.substr(std::min(text.find_first_not_of('0'), text.size()));
        if (digits.empty())
            return Failure(option + " " + typed + ": seats are numbered " + range);
        if (digits.size() > 7 || std::stoul(digits) > seats)
            return Failure(option + " " + typed + ": the table has " + std::to_string(seats) + " seats");
        seat = std::stoul(digits) - 1;
        return Status();
    }
    const std::string names = NamesInOrder(positions);
    const bool headsUp = std::count_if(positions.begin(), positions.end(),
                                       [](const std::string &one) { return !one.empty(); }) == 2;
    std::string name = Upper(text);
    name.erase(std::remove(name.begin(), name.end(), '+'), name.end());
    for (size_t i = 0; i < seats && !name.empty(); ++i)
        if (positions[i] == name || (headsUp && name == "SB" && positions[i] == "BTN"))
        {
            seat = i;
            return Status();
        }
    if (names.empty())
        return Failure(option + " " + typed + ": give the seat's number, " + range +
                       (text.find_first_of("0123456789") == std::string::npos
                            ? " (positions are named from the button's seat)"
                            : ""));
    return Failure(option + " " + typed + ": give a seat's number (" + range + ") or its position (" + names + ")");
}

std::string SeatText(size_t seat, const std::vector<std::string> &positions)
{
    const std::string number = std::to_string(seat + 1);
    return seat < positions.size() && !positions[seat].empty() ? number + " (" + positions[seat] + ")" : number;
}

} // namespace ostrel
