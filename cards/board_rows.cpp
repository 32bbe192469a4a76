/*
 * The rows and the pass over a deal's rows (see board_rows.h). The pass
 * keeps, for each player, the completions won alone and those tied among k
 * players, so that the shares (60 / k of a pot) are whole numbers summed
 * after the loop, the same integers as a showdown per board.
 */
#include "board_rows.h"

namespace ostrel
{
namespace cards
{

void BuildBoardRows(const Hand &board, CardSet known, int missing, const std::vector<Combo> *combos, int players,
                    BoardRows &rows)
{
    Card deck[CardCount];
    int size = 0;
    for (int card = 0; card < CardCount; ++card)
        if ((known & MaskOf(static_cast<Card>(card))) == 0)
            deck[size++] = static_cast<Card>(card);
    std::vector<CardSet> masks;
    std::vector<Hand> boards;
    for (int a = 0; a < size; ++a)
    {
        if (missing == 1)
        {
            masks.push_back(MaskOf(deck[a]));
            boards.push_back(board.Plus(deck[a]));
            continue;
        }
        for (int b = a + 1; b < size; ++b)
        {
            masks.push_back(MaskOf(deck[a]) | MaskOf(deck[b]));
            boards.push_back(board.Plus(deck[a]).Plus(deck[b]));
        }
    }
    rows.Completions = static_cast<int>(boards.size());
    for (int p = 0; p < players; ++p)
    {
        std::vector<HandValue> &values = rows.Values[p];
        values.assign(combos[p].size() * boards.size(), 0);
        size_t at = 0;
        for (const Combo &combo : combos[p])
        {
            const CardSet mask = MaskOf(combo.High) | MaskOf(combo.Low);
            for (size_t i = 0; i < boards.size(); ++i, ++at)
                if ((masks[i] & mask) == 0)
                    values[at] = boards[i].Plus(combo.High).Plus(combo.Low).Value();
        }
    }
}

namespace
{

constexpr uint64_t ShareUnit = 60;

template <size_t N> void CountRowsOf(const HandValue *const *rows, int completions, RowCounts &counts)
{
    uint32_t alone[N] = {};
    uint32_t tied[N][N + 1] = {};
    for (int i = 0; i < completions; ++i)
    {
        HandValue v[N];
        HandValue best = 0;
        HandValue lowest = 0xffff;
        for (size_t p = 0; p < N; ++p)
        {
            v[p] = rows[p][i];
            best = v[p] > best ? v[p] : best;
            lowest = v[p] < lowest ? v[p] : lowest;
        }
        const uint32_t valid = lowest != 0;
        uint32_t holds[N];
        uint32_t winners = 0;
        for (size_t p = 0; p < N; ++p)
        {
            holds[p] = (v[p] == best) & valid;
            winners += holds[p];
        }
        for (size_t p = 0; p < N; ++p)
        {
            alone[p] += holds[p] & (winners == 1);
            for (size_t k = 2; k <= N; ++k)
                tied[p][k] += holds[p] & (winners == k);
        }
    }
    for (size_t p = 0; p < N; ++p)
    {
        counts.Wins[p] = alone[p];
        counts.Ties[p] = 0;
        counts.Shares[p] = ShareUnit * alone[p];
        for (size_t k = 2; k <= N; ++k)
        {
            counts.Ties[p] += tied[p][k];
            counts.Shares[p] += ShareUnit / k * tied[p][k];
        }
    }
}

} // namespace

void CountRows(const HandValue *const *rows, int players, int completions, RowCounts &counts)
{
    switch (players)
    {
    case 2:
        return CountRowsOf<2>(rows, completions, counts);
    case 3:
        return CountRowsOf<3>(rows, completions, counts);
    case 4:
        return CountRowsOf<4>(rows, completions, counts);
    case 5:
        return CountRowsOf<5>(rows, completions, counts);
    default:
        return CountRowsOf<6>(rows, completions, counts);
    }
}

} // namespace cards
} // namespace ostrel
