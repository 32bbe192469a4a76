// Positions as players name them: every table size from heads-up to ten,
// counted from the button over the seats in play, and seats typed by
// number or by position.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "positions.h"

namespace
{

using ostrel::ParseSeat;
using ostrel::PositionNames;

// The names in the order the seats sit after the button: SB first.
const std::vector<std::vector<std::string>> ByTableSize = {
    {"BB", "BTN"},
    {"SB", "BB", "BTN"},
    {"SB", "BB", "UTG", "BTN"},
    {"SB", "BB", "UTG", "CO", "BTN"},
    {"SB", "BB", "UTG", "HJ", "CO", "BTN"},
    {"SB", "BB", "UTG", "LJ", "HJ", "CO", "BTN"},
    {"SB", "BB", "UTG", "UTG1", "LJ", "HJ", "CO", "BTN"},
    {"SB", "BB", "UTG", "UTG1", "UTG2", "LJ", "HJ", "CO", "BTN"},
    {"SB", "BB", "UTG", "UTG1", "UTG2", "UTG3", "LJ", "HJ", "CO", "BTN"},
};

TEST(Positions, EveryTableSizeFromAnyButton)
{
    for (const std::vector<std::string> &order : ByTableSize)
    {
        const size_t players = order.size();
        for (size_t button = 0; button < players; ++button)
        {
            const std::vector<std::string> names = PositionNames(std::vector<int64_t>(players, 100), button);
            SCOPED_TRACE(std::to_string(players) + " players, button " + std::to_string(button));
            for (size_t step = 1; step <= players; ++step)
                EXPECT_EQ(order[step - 1], names[(button + step) % players]);
        }
    }
}

// Empty seats are skipped and named nothing: the positions are the players'.
TEST(Positions, EmptySeatsAreSkipped)
{
    const struct
    {
        std::vector<int64_t> Stacks;
        size_t Button;
        std::vector<std::string> Names;
    } rows[] = {
        {{100, 0, 100, 100}, 0, {"BTN", "", "SB", "BB"}},
        {{100, 0, 100, 0, 100, 100}, 4, {"BB", "", "UTG", "", "BTN", "SB"}},
        {{0, 100, 100}, 1, {"", "BTN", "BB"}},
        {{100, 100, 100}, 5, {"", "", ""}}, // the button off the table
        {{100, 0, 100}, 1, {"", "", ""}},   // the button on an empty seat
    };
    for (const auto &row : rows)
        EXPECT_EQ(row.Names, PositionNames(row.Stacks, row.Button));
}

TEST(Positions, SeatsTypedByNumberOrPosition)
{
    // Six-max, button on seat 4: SB 5, BB 6, UTG 1, HJ 2, CO 3.
    const std::vector<std::string> sixMax = PositionNames({100, 100, 100, 100, 100, 100}, 3);
    const std::vector<std::string> headsUp = PositionNames({100, 100}, 1);
    const std::vector<std::string> nine = PositionNames(std::vector<int64_t>(9, 100), 0); // UTG on seat 4
    const std::vector<std::string> unknown(3);
    const struct
    {
        const std::vector<std::string> &At;
        const char *Typed;
        size_t Seat;       // from 0; or:
        const char *Says;  // in the refusal
    } rows[] = {
        {sixMax, "1", 0, ""},
        {sixMax, " 6 ", 5, ""},
        {sixMax, "06", 5, ""},
        {sixMax, "BTN", 3, ""},
        {sixMax, "co", 2, ""},
        {sixMax, "Hj", 1, ""},
        {sixMax, "UTG", 0, ""},
        {sixMax, "SB", 4, ""},
        {sixMax, "bb", 5, ""},
        {nine, "utg+1", 4, ""},
        {nine, "UTG2", 5, ""},
        {headsUp, "SB", 1, ""}, // heads-up the button posts the small blind
        {headsUp, "BTN", 1, ""},
        {headsUp, "BB", 0, ""},
        {sixMax, "7", 0, "--hero 7: the table has 6 seats"},
        {sixMax, "0", 0, "--hero 0: seats are numbered 1 to 6"},
        {sixMax, "1.5", 0, "--hero 1.5: give a seat's number (1 to 6) or its position (UTG, HJ, CO, BTN, SB, BB)"},
        {sixMax, "LJ", 0, "--hero LJ: give a seat's number (1 to 6) or its position (UTG, HJ, CO, BTN, SB, BB)"},
        {sixMax, "-1", 0, "--hero -1: give a seat's number"},
        {sixMax, "", 0, "--hero : give a seat's number"},
        {unknown, "BTN", 0, "--hero BTN: give the seat's number, 1 to 3 (positions are named from the button's seat)"},
        {unknown, "1.5", 0, "--hero 1.5: give the seat's number, 1 to 3"},
    };
    for (const auto &row : rows)
    {
        SCOPED_TRACE(row.Typed);
        size_t seat = 99;
        const ostrel::Status status = ParseSeat("--hero", row.Typed, row.At, seat);
        EXPECT_EQ(row.Says[0] == '\0', status.Ok) << status.Message;
        if (status.Ok)
            EXPECT_EQ(row.Seat, seat);
        else
            EXPECT_EQ(0u, status.Message.find(row.Says)) << status.Message;
    }
    EXPECT_EQ("3 (CO)", ostrel::SeatText(2, sixMax));
    EXPECT_EQ("3", ostrel::SeatText(2, unknown));
}

} // namespace
