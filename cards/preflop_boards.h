/*
 * Every five-card board of one deal of hole cards, grouped by the board's
 * ranks. A board on which nobody can make a flush (each suit's board cards
 * and any player's hole cards of that suit number at most 4) gives every
 * player his best hand without a flush, which depends only on the ranks: so
 * the boards of one rank multiset are counted (the suits each rank can take,
 * multiplied) and shown down once. The boards on which somebody can make a
 * flush (one suit with 3 or more cards, as many as its holder needs) are
 * enumerated one by one and taken off their rank multiset's count. Every
 * board is counted exactly once, so the integer counts are those of the
 * plain enumeration.
 *
 * Cost: the 6,175 rank multisets (one lookup a player each) and the boards
 * with a possible flush (about 9 % of them for hands of different suits, up
 * to a third when suited hands cover every suit), instead of every board.
 * Memory: a counter per rank entry, given by the caller and left zero.
 */
#ifndef OSTREL_CARDS_PREFLOP_BOARDS_H
#define OSTREL_CARDS_PREFLOP_BOARDS_H

#include <cstdint>
#include <vector>

#include "evaluator.h"

namespace ostrel
{
namespace cards
{

constexpr int MaxBoardPlayers = 6;

// Calls show(values, times) for each group of boards with the same values;
// `hands` holds each player's two hole cards, `used` every card out of the
// deck. `pending` is scratch of Tables().RankEntries zeros, zero again after.
template <typename Show>
void ForEachPreflopBoard(const Hand *hands, int players, CardSet used, std::vector<uint32_t> &pending, Show &&show)
{
    // A suit needs this many board cards for someone's flush.
    int needed[SuitCount];
    for (int suit = 0; suit < SuitCount; ++suit)
    {
        int most = 0;
        for (int p = 0; p < players; ++p)
            most = hands[p].SuitCount(suit) > most ? hands[p].SuitCount(suit) : most;
        needed[suit] = 5 - most;
    }
    int available[RankCount];
    for (int rank = 0; rank < RankCount; ++rank)
    {
        available[rank] = 0;
        for (int suit = 0; suit < SuitCount; ++suit)
            available[rank] += (used & MaskOf(MakeCard(rank, suit))) == 0;
    }
    static constexpr uint64_t Choose[5][5] = {{1, 0, 0, 0, 0}, {1, 1, 0, 0, 0}, {1, 2, 1, 0, 0}, {1, 3, 3, 1, 0},
                                              {1, 4, 6, 4, 1}};
    // The boards with a possible flush, one suit at a time (5 cards hold at
    // most one suit 3 times): `flushCards` cards of the suit one by one, the
    // other 1 or 2 cards by their ranks (they make no flush, and a flush
    // does not depend on them).
    for (int suit = 0; suit < SuitCount; ++suit)
    {
        Card ofSuit[RankCount];
        int suited = 0;
        int others[RankCount];
        for (int rank = 0; rank < RankCount; ++rank)
        {
            const bool free = (used & MaskOf(MakeCard(rank, suit))) == 0;
            if (free)
                ofSuit[suited++] = MakeCard(rank, suit);
            others[rank] = available[rank] - (free ? 1 : 0);
        }
        for (int flushCards = needed[suit]; flushCards <= 5; ++flushCards)
        {
            struct Walk
            {
                const Card *OfSuit;
                int Suited;
                int Suit;
                const int *Others;
                int Players;
                std::vector<uint32_t> *Pending;
                Show *Shown;
                const Hand *Flush[MaxBoardPlayers];

                void Cards(int from, int left, const Hand *at, uint32_t ranks, int rest)
                {
                    if (left == 0)
                    {
                        for (int p = 0; p < Players; ++p)
                            Flush[p] = at[p].SuitCount(Suit) >= 5 ? &at[p] : nullptr;
                        Ranks(0, rest, 1, at, ranks, 0);
                        return;
                    }
                    for (int i = from; i <= Suited - left; ++i)
                    {
                        const Card card = OfSuit[i];
                        Hand more[MaxBoardPlayers];
                        for (int p = 0; p < Players; ++p)
                            more[p] = at[p].Plus(card);
                        Cards(i + 1, left - 1, more, ranks + static_cast<uint32_t>(generated::CardKeys[card]), rest);
                    }
                }
                void Ranks(int rank, int left, uint64_t boards, const Hand *at, uint32_t ranks, uint32_t extra)
                {
                    if (left == 0)
                    {
                        HandValue values[MaxBoardPlayers];
                        for (int p = 0; p < Players; ++p)
                            values[p] = Flush[p] != nullptr ? Flush[p]->Value() : at[p].RankValueWith(extra);
                        (*Shown)(values, boards);
                        (*Pending)[Hand::RankEntry(ranks + extra)] += static_cast<uint32_t>(boards);
                        return;
                    }
                    if (rank == RankCount)
                        return;
                    const uint32_t key = static_cast<uint32_t>(generated::CardKeys[MakeCard(rank, 0)]);
                    for (int take = 0; take <= Others[rank] && take <= left; ++take)
                        Ranks(rank + 1, left - take, boards * Choose[Others[rank]][take], at, ranks,
                              extra + static_cast<uint32_t>(take) * key);
                }
            };
            Walk walk = {ofSuit, suited, suit, others, players, &pending, &show, {}};
            walk.Cards(0, flushCards, hands, 0, 5 - flushCards);
        }
    }
    // Every rank multiset of the board: how many boards have it (suits
    // each rank can take), less those shown down above.
    struct Ranks
    {
        const Hand *Hands;
        int Players;
        const int *Available;
        std::vector<uint32_t> *Pending;
        Show *Shown;

        void Step(int rank, int left, uint64_t boards, uint32_t ranks)
        {
            if (left == 0)
            {
                uint32_t &flushes = (*Pending)[Hand::RankEntry(ranks)];
                const uint64_t plain = boards - flushes;
                flushes = 0;
                if (plain == 0)
                    return;
                HandValue values[MaxBoardPlayers];
                for (int p = 0; p < Players; ++p)
                    values[p] = Hands[p].RankValueWith(ranks);
                (*Shown)(values, plain);
                return;
            }
            if (rank == RankCount)
                return;
            const uint32_t key = static_cast<uint32_t>(generated::CardKeys[MakeCard(rank, 0)]);
            for (int take = 0; take <= Available[rank] && take <= left; ++take)
                Step(rank + 1, left - take, boards * Choose[Available[rank]][take],
                     ranks + static_cast<uint32_t>(take) * key);
        }
    };
    Ranks walk = {hands, players, available, &pending, &show};
    walk.Step(0, 5, 1, 0);
}

} // namespace cards
} // namespace ostrel

#endif
