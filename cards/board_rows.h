/*
 * Exact equity with 1 or 2 board cards to come, range against range: each
 * live combo's hand value on every completion of the board is computed once
 * (a row per combo, 0 where the completion holds one of its cards), so that
 * each deal of hole cards is a pass over its players' rows: the best value
 * of each completion, and who holds it, where no row is 0.
 *
 * Cost: combos x completions evaluations once (at most 1,326 x 1,176 on a
 * flop), then a few operations per completion and deal, in a loop the
 * compiler can run on several completions at once. Memory: 2 bytes per
 * combo and completion (some 3 MB for `random` on a flop).
 */
#ifndef OSTREL_CARDS_BOARD_ROWS_H
#define OSTREL_CARDS_BOARD_ROWS_H

#include <cstdint>
#include <vector>

#include "evaluator.h"
#include "hand_class.h"

namespace ostrel
{
namespace cards
{

constexpr int MaxRowPlayers = 6;

struct BoardRows
{
    int Completions = 0;
    // Values[p][combo * Completions + completion], the combos in the order given.
    std::vector<HandValue> Values[MaxRowPlayers];
};

// `board` holds the board's cards, `known` the board and the dead cards;
// missing is 1 or 2.
void BuildBoardRows(const Hand &board, CardSet known, int missing, const std::vector<Combo> *combos, int players,
                    BoardRows &rows);

// One deal's counts over the completions where no row is 0: wins, ties and
// shares of the pot in 1/60.
struct RowCounts
{
    uint64_t Wins[MaxRowPlayers] = {};
    uint64_t Ties[MaxRowPlayers] = {};
    uint64_t Shares[MaxRowPlayers] = {};
};
void CountRows(const HandValue *const *rows, int players, int completions, RowCounts &counts);

} // namespace cards
} // namespace ostrel

#endif
