/*
 * All-in equity of 2 to 6 players, each a range, with an optional board and
 * dead cards. Every deal of hole cards that shares no card counts with the
 * product of the players' weights for those combos; each deal's boards are
 * all boards of the remaining deck (exact) or drawn at random (sampled).
 */
#ifndef OSTREL_CARDS_EQUITY_H
#define OSTREL_CARDS_EQUITY_H

#include <cstdint>
#include <vector>

#include "card.h"
#include "field.h"
#include "range.h"

namespace ostrel
{
namespace cards
{

constexpr int MaxPlayers = 6;
// One showdown gives no estimate of the standard error.
constexpr uint64_t MinSamples = 2;

enum class EquityMethod
{
    Automatic, // exact when the work is at most ExactLimit showdowns, else sampled
    Exact,     // exact up to ForcedExactLimit showdowns, else an error
    Sampled,
};

struct EquityRequest
{
    std::vector<Range> Players;
    std::vector<Card> Board; // 0, 3, 4 or 5 cards
    std::vector<Card> Dead;
    EquityMethod Method = EquityMethod::Automatic;
    uint64_t ExactLimit = 200000000;         // showdowns (deals of hole cards x boards)
    uint64_t ForcedExactLimit = 50000000000; // some minutes (3 to 10)
    uint64_t Samples = 1000000;
    uint64_t Seed = 1;
    // Heads-up preflop without dead cards, exact answers come from the class
    // table; false enumerates the boards instead (a second method, for checks).
    bool UseTable = true;
    // Preflop, the boards on which nobody can make a flush are counted by
    // their ranks (preflop_boards.h); false enumerates every board instead
    // (a second method, for checks). The counts are the same integers.
    bool GroupBoards = true;
    // Also fill EquityResult::PotShare (costs 2^players comparisons a showdown).
    bool PotShares = false;
};

struct PlayerEquity
{
    double Equity = 0.0; // win + the shares of split pots
    double Win = 0.0;    // alone the best hand
    double Tie = 0.0;    // the best hand together with others
    double StandardError = 0.0; // of Equity; 0 when exact
    int Combos = 0;      // combos with weight above 0 after board and dead cards
};

struct EquityResult
{
    bool Exact = true;
    uint64_t Boards = 0;   // boards for each deal of hole cards (exact)
    uint64_t Deals = 0;    // deals of hole cards enumerated (exact)
    uint64_t Samples = 0;  // showdowns drawn (sampled)
    double StandardError = 0.0; // the largest of the players'
    std::vector<PlayerEquity> Players;
    // With PotShares: PotShare[subset * players + i] is player i's expected
    // share of a pot that only the players of `subset` (a bit mask, bit i =
    // player i) contest, on the same deals and boards; 0 outside the subset.
    // For three players, subset 0b110 is the side pot between players 1 and
    // 2 after player 0 is all-in for less.
    std::vector<double> PotShare;
};

// Cost, exact: preflop, per deal the 6,175 rank multisets of the board and
// the boards with a possible flush (about 1 ms for three given hands);
// with 1 or 2 board cards to come, each combo's row of values once, then a
// few operations per completion and deal (`5%`, `10%`, `random` on a turn
// about 0.6 s); heads-up without board and dead cards it is the preflop
// table (see HeadsUpPreflop). Sampled: Samples showdowns at some 20 to 40
// million a second (fewer with ranges that often share a card). Memory: a few kilobytes besides the tables, and 2 bytes
// per combo and completion with 1 or 2 cards to come (3 MB for `random` on
// a flop).
// Errors: fewer than 2 or more than 6 players, a board of 1, 2 or 6+ cards, a
// card twice among board and dead cards, too few cards left for the hole
// cards and the board, a range with no weight above 0 or empty after the
// board and dead cards, no deal in which the hands share no card, fewer than
// MinSamples samples. Weights are taken through NormalWeight, so a range
// whose weights are all 1e-300 gives the answer of the same hands at weight 1.
Status AllInEquity(const EquityRequest &request, EquityResult &result);

} // namespace cards
} // namespace ostrel

#endif
