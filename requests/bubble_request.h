/*
 * `bubble`: the bubble factors and risk premiums between the real stacks
 * of a field (the whole grid, or one seat's row), and the window's
 * equal-stacks bubble factor of a field given by its players and chips.
 */
#ifndef OSTREL_REQUESTS_BUBBLE_REQUEST_H
#define OSTREL_REQUESTS_BUBBLE_REQUEST_H

#include <cstdint>
#include <string>
#include <vector>

#include "field_answers.h"
#include "field_input.h"
#include "run_progress.h"

namespace ostrel
{

// The whole grid takes at most this many players in play, one row this many.
constexpr size_t BubbleGridPlayers = 100;
constexpr size_t BubbleRowPlayers = 1000;

struct BubbleRequest
{
    FieldInput Field;
    Method Using = Method::Automatic;
    unsigned Threads = 0; // 0: one per core
    bool OneRow = false;  // only Seat's row
    size_t Seat = 0;      // 0-based
    std::string SeatTyped; // the seat as typed, for messages; empty: its number
};

// The field's checks, a seat at the table and in play, and the players a
// grid or a row takes; the command's messages.
Status CheckBubbleRequest(const BubbleRequest &request);

// Checks, estimates the time (refusing a run over 10 minutes) and computes,
// each field or row one step of `progress`.
Status RunBubbleRequest(const BubbleRequest &request, const RunProgress &progress, BubbleAnswer &answer);

std::string WriteBubbleAnswer(const BubbleAnswer &answer, Format format);

// Equal stacks: `Players` players of `Chips` chips each, the ladder `Prizes`.
struct EqualStacksRequest
{
    int64_t Players = 0;
    int64_t Chips = 0;
    std::vector<double> Prizes;
};

Status CheckEqualStacksRequest(const EqualStacksRequest &request);
Status RunEqualStacksRequest(const EqualStacksRequest &request, EqualStacksAnswer &answer);
std::string WriteEqualStacksAnswer(const EqualStacksAnswer &answer, Format format);

} // namespace ostrel

#endif
