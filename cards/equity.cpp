/*
 * All-in equity by enumeration or by sampling.
 *
 * Exact: every deal of hole cards without a shared card (one combo a player,
 * depth-first), then every board of the remaining deck: preflop grouped by
 * the board's ranks (preflop_boards.h), else the players' hands built up one
 * board card at a time, the last card's value looked up once per rank. Counts are integers per deal (a split
 * among k players adds 60 / k to each, 60 being divisible by 1..6), weighted
 * by the product of the combos' weights once per deal.
 * Sampled: each player's combo drawn by weight, the whole deal drawn again
 * when two share a card (which leaves exactly the product of the weights),
 * then the missing board cards uniformly from the rest of the deck; players
 * whose range is every combo left draw their cards as the board does (see
 * Sample). The standard error is that of the mean of each player's share of
 * the pot.
 */
#include "equity.h"

#include <algorithm>
#include <cmath>

#include "board_rows.h"
#include "evaluator.h"
#include "preflop.h"
#include "preflop_boards.h"
#include "sampling.h"

namespace ostrel
{
namespace cards
{
namespace
{

constexpr uint64_t ShareUnit = 60;
// ShareUnit / k for a pot split k ways, without a division per showdown.
constexpr uint64_t ShareOf[MaxPlayers + 1] = {0, 60, 30, 20, 15, 12, 10};

struct LiveCombo
{
    CardSet Mask;
    Card High;
    Card Low;
    double Weight;
    Hand Start; // the board and the combo
};

struct Table
{
    int Players = 0;
    std::vector<LiveCombo> Combos[MaxPlayers];
    CardSet Known = 0; // board and dead cards
    Hand Board;
    int Missing = 0; // board cards still to come
    bool PotShares = false;
    bool GroupBoards = true;
    const BoardRows *Rows = nullptr; // with 1 or 2 board cards to come
};

// Integer counts of one deal's boards.
struct DealCounts
{
    uint64_t Wins[MaxPlayers] = {};
    uint64_t Ties[MaxPlayers] = {};
    uint64_t Shares[MaxPlayers] = {}; // in 1/60 of a pot
    std::vector<uint64_t> PotShares;  // [subset * players + i], in 1/60
};

struct Totals
{
    double Weight = 0.0;
    uint64_t Deals = 0;
    double Win[MaxPlayers] = {};
    double Tie[MaxPlayers] = {};
    double Share[MaxPlayers] = {};
    std::vector<double> PotShares;
    std::vector<uint32_t> Pending; // scratch of ForEachPreflopBoard
};

uint64_t Choose(int n, int k)
{
    if (k < 0 || k > n)
        return 0;
    uint64_t result = 1;
    for (int i = 1; i <= k; ++i)
        result = result * static_cast<uint64_t>(n - k + i) / static_cast<uint64_t>(i);
    return result;
}

// `times` showdowns of these values. Without branches on the values, which
// an enumeration cannot predict.
void Showdown(const Table &table, const HandValue *values, DealCounts &counts, uint64_t times = 1)
{
    HandValue best = 0;
    for (int p = 0; p < table.Players; ++p)
        best = values[p] > best ? values[p] : best;
    uint64_t winners = 0;
    for (int p = 0; p < table.Players; ++p)
        winners += values[p] == best;
    const uint64_t alone = winners == 1 ? times : 0;
    const uint64_t shared = times - alone;
    const uint64_t share = ShareOf[winners] * times;
    for (int p = 0; p < table.Players; ++p)
    {
        const uint64_t in = values[p] == best;
        counts.Wins[p] += in * alone;
        counts.Ties[p] += in * shared;
        counts.Shares[p] += in * share;
    }
    if (!table.PotShares)
        return;
    const size_t players = static_cast<size_t>(table.Players);
    for (size_t subset = 1; subset < (size_t{1} << players); ++subset)
    {
        HandValue top = 0;
        uint64_t tied = 0;
        for (size_t p = 0; p < players; ++p)
            if ((subset >> p) & 1)
            {
                if (values[p] > top)
                {
                    top = values[p];
                    tied = 1;
                }
                else if (values[p] == top)
                    tied += 1;
            }
        for (size_t p = 0; p < players; ++p)
            if (((subset >> p) & 1) && values[p] == top)
                counts.PotShares[subset * players + p] += ShareOf[tied] * times;
    }
}

// Adds the boards that take `missing` more cards from deck[from..].
void EnumerateBoards(const Table &table, const Card *deck, int deckSize, int from, int missing, const Hand *hands,
                     DealCounts &counts)
{
    Hand more[MaxPlayers] = {hands[0], hands[0], hands[0], hands[0], hands[0], hands[0]};
    HandValue values[MaxPlayers];
    if (missing == 1)
    {
        // The deck is in card order, so the cards of one rank are together:
        // each player's value without a flush is looked up once per rank,
        // and where nobody has four of a suit no card is looked at alone.
        bool noFlush = true;
        for (int p = 0; p < table.Players; ++p)
            noFlush = noFlush && hands[p].NoFlushPlus();
        for (int i = from; i < deckSize;)
        {
            const int rank = RankOf(deck[i]);
            int end = i + 1;
            while (end < deckSize && RankOf(deck[end]) == rank)
                ++end;
            HandValue plain[MaxPlayers];
            for (int p = 0; p < table.Players; ++p)
                plain[p] = hands[p].RankValuePlus(deck[i]);
            if (noFlush)
            {
                Showdown(table, plain, counts, static_cast<uint64_t>(end - i));
                i = end;
                continue;
            }
            if (table.Players == 2 && !table.PotShares)
            {
                // Heads-up, the common case, without the general showdown.
                uint64_t wins = 0;
                uint64_t losses = 0;
                for (int j = i; j < end; ++j)
                {
                    const HandValue first = hands[0].FlushPlus(deck[j]) ? hands[0].ValuePlus(deck[j]) : plain[0];
                    const HandValue second = hands[1].FlushPlus(deck[j]) ? hands[1].ValuePlus(deck[j]) : plain[1];
                    wins += first > second;
                    losses += first < second;
                }
                const uint64_t ties = static_cast<uint64_t>(end - i) - wins - losses;
                counts.Wins[0] += wins;
                counts.Wins[1] += losses;
                counts.Ties[0] += ties;
                counts.Ties[1] += ties;
                counts.Shares[0] += wins * ShareUnit + ties * (ShareUnit / 2);
                counts.Shares[1] += losses * ShareUnit + ties * (ShareUnit / 2);
                i = end;
                continue;
            }
            // The cards of the rank that make nobody a flush give one showdown.
            uint64_t plainCards = 0;
            for (; i < end; ++i)
            {
                bool flush = false;
                for (int p = 0; p < table.Players; ++p)
                    flush = flush || hands[p].FlushPlus(deck[i]);
                if (!flush)
                {
                    plainCards += 1;
                    continue;
                }
                for (int p = 0; p < table.Players; ++p)
                    values[p] = hands[p].FlushPlus(deck[i]) ? hands[p].ValuePlus(deck[i]) : plain[p];
                Showdown(table, values, counts);
            }
            if (plainCards > 0)
                Showdown(table, plain, counts, plainCards);
        }
        return;
    }
    for (int i = from; i <= deckSize - missing; ++i)
    {
        for (int p = 0; p < table.Players; ++p)
            more[p] = hands[p].Plus(deck[i]);
        EnumerateBoards(table, deck, deckSize, i + 1, missing - 1, more, counts);
    }
}

// One deal's integer counts into the totals, weighted (rows and boards alike).
template <class Counts> void AddDeal(Totals &totals, int players, double weight, const Counts &counts)
{
    totals.Weight += weight;
    totals.Deals += 1;
    for (int p = 0; p < players; ++p)
    {
        totals.Win[p] += weight * static_cast<double>(counts.Wins[p]);
        totals.Tie[p] += weight * static_cast<double>(counts.Ties[p]);
        totals.Share[p] += weight * static_cast<double>(counts.Shares[p]);
    }
}

// One deal from the combos' rows: the same counts as its boards one by one.
void CountDealByRows(const Table &table, const LiveCombo *const *held, double weight, Totals &totals)
{
    const HandValue *rows[MaxPlayers];
    for (int p = 0; p < table.Players; ++p)
        rows[p] = table.Rows->Values[p].data() +
                  static_cast<size_t>(held[p] - table.Combos[p].data()) * static_cast<size_t>(table.Rows->Completions);
    RowCounts counts;
    CountRows(rows, table.Players, table.Rows->Completions, counts);
    AddDeal(totals, table.Players, weight, counts);
}

void CountDeal(const Table &table, const LiveCombo *const *held, double weight, Totals &totals)
{
    if (table.Rows != nullptr)
    {
        CountDealByRows(table, held, weight, totals);
        return;
    }
    CardSet used = table.Known;
    Hand hands[MaxPlayers];
    for (int p = 0; p < table.Players; ++p)
    {
        used |= held[p]->Mask;
        hands[p] = table.Board.Plus(held[p]->High).Plus(held[p]->Low);
    }
    DealCounts counts;
    const size_t players = static_cast<size_t>(table.Players);
    if (table.PotShares)
        counts.PotShares.assign(players << players, 0);
    if (table.Missing == 0)
    {
        HandValue values[MaxPlayers];
        for (int p = 0; p < table.Players; ++p)
            values[p] = hands[p].Value();
        Showdown(table, values, counts);
    }
    else if (table.Missing == 5 && table.GroupBoards)
    {
        if (totals.Pending.empty())
            totals.Pending.assign(Tables().RankEntries, 0);
        ForEachPreflopBoard(hands, table.Players, used, totals.Pending,
                            [&](const HandValue *values, uint64_t times) { Showdown(table, values, counts, times); });
    }
    else
    {
        Card deck[CardCount];
        int deckSize = 0;
        for (int card = 0; card < CardCount; ++card)
            if ((used & MaskOf(static_cast<Card>(card))) == 0)
                deck[deckSize++] = static_cast<Card>(card);
        EnumerateBoards(table, deck, deckSize, 0, table.Missing, hands, counts);
    }
    AddDeal(totals, table.Players, weight, counts);
    for (size_t i = 0; i < counts.PotShares.size(); ++i)
        totals.PotShares[i] += weight * static_cast<double>(counts.PotShares[i]);
}

void EnumerateDeals(const Table &table, int player, CardSet used, double weight, const LiveCombo **held,
                    Totals &totals)
{
    if (player == table.Players)
    {
        CountDeal(table, held, weight, totals);
        return;
    }
    for (const LiveCombo &combo : table.Combos[player])
        if ((combo.Mask & used) == 0)
        {
            held[player] = &combo;
            EnumerateDeals(table, player + 1, used | combo.Mask, weight * combo.Weight, held, totals);
        }
}

// Whether some deal has no shared card; gives up (answering yes) after
// `budget` steps, which only sampling can then contradict.
bool SomeDeal(const Table &table, int player, CardSet used, uint64_t &budget)
{
    if (player == table.Players)
        return true;
    for (const LiveCombo &combo : table.Combos[player])
    {
        if (budget == 0)
            return true;
        budget -= 1;
        if ((combo.Mask & used) == 0 && SomeDeal(table, player + 1, used | combo.Mask, budget))
            return true;
    }
    return false;
}

Card HighestCard(CardSet cards)
{
#if defined(__GNUC__) || defined(__clang__)
    return static_cast<Card>(63 - __builtin_clzll(cards));
#else
    int card = CardCount - 1;
    while (((cards >> card) & 1) == 0)
        --card;
    return static_cast<Card>(card);
#endif
}

// A player whose range is every combo the board and dead cards leave, at one
// weight: his cards are drawn from the deck as the board's are.
bool TakesAnyCards(const Table &table, int player)
{
    const std::vector<LiveCombo> &combos = table.Combos[player];
    const uint64_t left = static_cast<uint64_t>(CardCount - CountCards(table.Known));
    if (combos.size() != left * (left - 1) / 2)
        return false;
    for (const LiveCombo &combo : combos)
        if (combo.Weight != combos[0].Weight)
            return false;
    return true;
}

// The players of other ranges draw their combos by weight (alias tables),
// all again when two share a card, which leaves exactly the product of the
// weights; then the players who take any cards and the board's missing
// cards come one card at a time from the rest of the deck, a partial
// Fisher-Yates shuffle of the cards the board and dead cards leave (a card
// of the first players is drawn again). Given the first players' combos
// every completion is equally likely and their number is the same, so the
// deals and boards come with the same chances as when every player draws by
// weight and the board card by card.
Status Sample(const Table &table, uint64_t samples, uint64_t seed, EquityResult &result)
{
    Random random(seed);
    const size_t players = static_cast<size_t>(table.Players);
    int listed[MaxPlayers];
    int listedCount = 0;
    int dealt[MaxPlayers];
    int dealtCount = 0;
    std::vector<AliasTable> drawers;
    for (int p = 0; p < table.Players; ++p)
    {
        std::vector<double> weights;
        for (const LiveCombo &combo : table.Combos[p])
            weights.push_back(combo.Weight);
        drawers.emplace_back(weights);
        if (TakesAnyCards(table, p))
            dealt[dealtCount++] = p;
        else
            listed[listedCount++] = p;
    }
    // The first players' combos, inline where their weights are one.
    const LiveCombo *combos[MaxPlayers];
    uint32_t sizes[MaxPlayers];
    bool uniform[MaxPlayers];
    for (int i = 0; i < listedCount; ++i)
    {
        const std::vector<LiveCombo> &live = table.Combos[listed[i]];
        combos[i] = live.data();
        sizes[i] = static_cast<uint32_t>(live.size());
        uniform[i] = drawers[static_cast<size_t>(listed[i])].IsUniform();
    }
    // The cards the board and dead cards leave, in card order, and where.
    Card fullDeck[CardCount] = {};
    uint8_t position[CardCount] = {};
    uint32_t deckSize = 0;
    for (int card = 0; card < CardCount; ++card)
        if ((table.Known & MaskOf(static_cast<Card>(card))) == 0)
        {
            position[card] = static_cast<uint8_t>(deckSize);
            fullDeck[deckSize++] = static_cast<Card>(card);
        }
    // Cards drawn a showdown, made even where the deck has a card more: the
    // last draw is then made and not used.
    const uint32_t needed = static_cast<uint32_t>(2 * dealtCount + table.Missing);
    const uint32_t even = (needed + 1) & ~1u;
    const uint32_t drawing = even <= deckSize - 2 * static_cast<uint32_t>(listedCount) ? even : needed;
    // How often each set of players (bit p = player p) had the best hand: the
    // shares, their squares, wins and ties follow as exact integer sums.
    uint64_t bestSets[size_t{1} << MaxPlayers] = {};
    DealCounts potCounts;
    potCounts.PotShares.assign(table.PotShares ? players << players : 0, 0);
    const uint64_t maxRejections = samples * 1000 + 1000000;
    uint64_t rejections = 0;
    Hand hands[MaxPlayers];
    for (uint64_t sample = 0; sample < samples; ++sample)
    {
        CardSet held = 0;
        for (int i = 0; i < listedCount;)
        {
            const int p = listed[i];
            const size_t at =
                uniform[i] ? random.Below(sizes[i]) : drawers[static_cast<size_t>(p)].Draw(random);
            const LiveCombo &combo = combos[i][at];
            if ((combo.Mask & held) != 0)
            {
                if (++rejections > maxRejections)
                    return Failure("the ranges almost never make a deal without a shared card; sampling gave up");
                held = 0;
                i = 0;
                continue;
            }
            held |= combo.Mask;
            hands[p] = combo.Start;
            ++i;
        }
        // The deck without the first players' cards: each of them, highest
        // first, takes the place of the deck's last card, which is then
        // never one of them (or is that card itself).
        Card deck[CardCount];
        std::copy(fullDeck, fullDeck + CardCount, deck); // a fixed size: a few moves
        uint32_t end = deckSize;
        for (CardSet rest = held; rest != 0;)
        {
            const Card card = HighestCard(rest);
            rest &= ~MaskOf(card);
            deck[position[card]] = deck[--end];
        }
        // A partial shuffle: deck[0, drawing) are the cards drawn, two
        // draws from each word.
        uint64_t word = 0;
        for (uint32_t top = 0; top < drawing; ++top)
        {
            word = top & 1 ? word >> 32 : random.Next();
            const uint32_t at = top + random.Below(static_cast<uint32_t>(word), end - top);
            const Card card = deck[at];
            deck[at] = deck[top];
            deck[top] = card;
        }
        for (int i = 0; i < dealtCount; ++i)
            hands[dealt[i]] = table.Board.Plus(deck[2 * i]).Plus(deck[2 * i + 1]);
        Hand drawn;
        for (int i = 2 * dealtCount; i < 2 * dealtCount + table.Missing; ++i)
            drawn = drawn.Plus(deck[i]);
        HandValue values[MaxPlayers];
        HandValue best = 0;
        for (int p = 0; p < table.Players; ++p)
        {
            values[p] = hands[p].With(drawn).Value();
            best = values[p] > best ? values[p] : best;
        }
        size_t bestSet = 0;
        for (int p = 0; p < table.Players; ++p)
            bestSet |= static_cast<size_t>(values[p] == best) << p;
        bestSets[bestSet] += 1;
        if (table.PotShares)
            Showdown(table, values, potCounts);
    }
    uint64_t shares[MaxPlayers] = {};
    uint64_t squares[MaxPlayers] = {};
    uint64_t wins[MaxPlayers] = {};
    uint64_t ties[MaxPlayers] = {};
    for (size_t set = 1; set < (size_t{1} << players); ++set)
    {
        size_t winners = 0;
        for (size_t p = 0; p < players; ++p)
            winners += (set >> p) & 1;
        const uint64_t share = ShareOf[winners];
        for (size_t p = 0; p < players; ++p)
            if ((set >> p) & 1)
            {
                shares[p] += share * bestSets[set];
                squares[p] += share * share * bestSets[set];
                (winners == 1 ? wins : ties)[p] += bestSets[set];
            }
    }
    const double n = static_cast<double>(samples);
    const double unit = static_cast<double>(ShareUnit);
    result.Exact = false;
    result.Samples = samples;
    for (size_t p = 0; p < players; ++p)
    {
        PlayerEquity &player = result.Players[p];
        const double sum = static_cast<double>(shares[p]) / unit;
        const double sumOfSquares = static_cast<double>(squares[p]) / (unit * unit);
        player.Equity = sum / n;
        player.Win = static_cast<double>(wins[p]) / n;
        player.Tie = static_cast<double>(ties[p]) / n;
        const double variance = samples > 1 ? std::max(0.0, (sumOfSquares - sum * sum / n) / (n - 1.0)) : 0.0;
        player.StandardError = std::sqrt(variance / n);
        result.StandardError = std::max(result.StandardError, player.StandardError);
    }
    for (size_t i = 0; i < potCounts.PotShares.size(); ++i)
        result.PotShare[i] = static_cast<double>(potCounts.PotShares[i]) / unit / n;
    return Status();
}

Status Enumerate(Table &table, EquityResult &result)
{
    const size_t players = static_cast<size_t>(table.Players);
    BoardRows rows;
    if ((table.Missing == 1 || table.Missing == 2) && table.GroupBoards && !table.PotShares)
    {
        std::vector<Combo> combos[MaxPlayers];
        for (size_t p = 0; p < players; ++p)
            for (const LiveCombo &combo : table.Combos[p])
                combos[p].push_back(Combo{combo.High, combo.Low});
        BuildBoardRows(table.Board, table.Known, table.Missing, combos, table.Players, rows);
        table.Rows = &rows;
    }
    Totals totals;
    totals.PotShares.assign(table.PotShares ? players << players : 0, 0.0);
    const LiveCombo *held[MaxPlayers] = {};
    EnumerateDeals(table, 0, table.Known, 1.0, held, totals);
    table.Rows = nullptr;
    if (!(totals.Weight > 0.0))
        return Failure("every deal of these ranges gives two players a card in common");
    const int deck = CardCount - CountCards(table.Known) - 2 * table.Players;
    result.Exact = true;
    result.Boards = Choose(deck, table.Missing);
    result.Deals = totals.Deals;
    const double boards = static_cast<double>(result.Boards);
    const double scale = totals.Weight * boards;
    for (size_t p = 0; p < players; ++p)
    {
        PlayerEquity &player = result.Players[p];
        player.Win = totals.Win[p] / scale;
        player.Tie = totals.Tie[p] / scale;
        player.Equity = totals.Share[p] / (scale * static_cast<double>(ShareUnit));
    }
    for (size_t i = 0; i < totals.PotShares.size(); ++i)
        result.PotShare[i] = totals.PotShares[i] / (scale * static_cast<double>(ShareUnit));
    return Status();
}

// Heads-up preflop without dead cards: the class table.
Status FromPreflopTable(const EquityRequest &request, EquityResult &result)
{
    HeadsUpEquity first;
    const Status status = HeadsUpPreflop(request.Players[0], request.Players[1], first);
    if (!status.Ok)
        return status;
    result.Exact = true;
    result.Boards = PreflopBoards;
    result.Players[0].Equity = first.Equity;
    result.Players[0].Win = first.Win;
    result.Players[0].Tie = first.Tie;
    result.Players[1].Equity = 1.0 - first.Equity;
    result.Players[1].Win = 1.0 - first.Win - first.Tie;
    result.Players[1].Tie = first.Tie;
    if (request.PotShares)
    {
        result.PotShare[1 * 2 + 0] = 1.0;
        result.PotShare[2 * 2 + 1] = 1.0;
        result.PotShare[3 * 2 + 0] = result.Players[0].Equity;
        result.PotShare[3 * 2 + 1] = result.Players[1].Equity;
    }
    return Status();
}

Status CheckRequest(const EquityRequest &request, Table &table)
{
    const size_t players = request.Players.size();
    if (players < 2 || players > MaxPlayers)
        return Failure("an all-in takes 2 to 6 players, not " + std::to_string(players));
    const size_t board = request.Board.size();
    if (board == 1 || board == 2 || board > 5)
        return Failure("a board has 0, 3, 4 or 5 cards, not " + std::to_string(board));
    table.Players = static_cast<int>(players);
    table.Board = Hand(Tables());
    for (const std::vector<Card> *list : {&request.Board, &request.Dead})
        for (Card card : *list)
        {
            if (card >= CardCount)
                return Failure("a card number out of range");
            if ((table.Known & MaskOf(card)) != 0)
                return Failure(FormatCard(card) + " is given twice");
            table.Known |= MaskOf(card);
        }
    for (Card card : request.Board)
        table.Board = table.Board.Plus(card);
    table.Missing = 5 - static_cast<int>(board);
    table.PotShares = request.PotShares;
    table.GroupBoards = request.GroupBoards;
    const int left = CardCount - CountCards(table.Known);
    if (left < 2 * table.Players + table.Missing)
        return Failure("the board and dead cards leave " + std::to_string(left) + " cards, too few for " +
                       std::to_string(players) + " players' hole cards and " + std::to_string(table.Missing) +
                       " more board cards");
    for (size_t p = 0; p < players; ++p)
    {
        const std::string who = "player " + std::to_string(p + 1);
        double largest = 0.0;
        for (int combo = 0; combo < ComboCount; ++combo)
        {
            const double weight = request.Players[p].Weight[static_cast<size_t>(combo)];
            if (!(weight >= 0.0 && weight <= 1.0))
                return Failure(who + ": a weight outside 0..1");
            largest = std::max(largest, weight);
            const CardSet mask = ComboMask(combo);
            if (weight > 0.0 && (mask & table.Known) == 0)
            {
                const Combo cards = ComboCards(combo);
                table.Combos[p].push_back(
                    LiveCombo{mask, cards.High, cards.Low, weight, table.Board.Plus(cards.High).Plus(cards.Low)});
            }
        }
        if (largest == 0.0)
            return Failure(who + "'s range is empty: no hand has a weight above 0");
        if (table.Combos[p].empty())
            return Failure(who + "'s range is empty after the board and dead cards");
        for (LiveCombo &combo : table.Combos[p])
            combo.Weight = NormalWeight(combo.Weight, largest);
    }
    uint64_t budget = 10000000;
    if (!SomeDeal(table, 0, table.Known, budget))
        return Failure("every deal of these ranges gives two players a card in common");
    return Status();
}

} // namespace

Status AllInEquity(const EquityRequest &request, EquityResult &result)
{
    result = EquityResult();
    Table table;
    const Status checked = CheckRequest(request, table);
    if (!checked.Ok)
        return checked;
    const size_t players = request.Players.size();
    result.Players.resize(players);
    for (size_t p = 0; p < players; ++p)
        result.Players[p].Combos = static_cast<int>(table.Combos[p].size());
    if (request.PotShares)
        result.PotShare.assign(players << players, 0.0);
    if (request.Method == EquityMethod::Sampled)
    {
        if (request.Samples < MinSamples)
            return Failure("sampling needs at least 2 showdowns: one gives no estimate of its standard error");
        return Sample(table, request.Samples, request.Seed, result);
    }
    if (request.UseTable && players == 2 && request.Board.empty() && request.Dead.empty())
        return FromPreflopTable(request, result);
    double work = static_cast<double>(Choose(CardCount - CountCards(table.Known) - 2 * table.Players, table.Missing));
    for (size_t p = 0; p < players; ++p)
        work *= static_cast<double>(table.Combos[p].size());
    const bool forced = request.Method == EquityMethod::Exact;
    if (work > static_cast<double>(forced ? request.ForcedExactLimit : request.ExactLimit))
    {
        if (forced)
            return Failure("exact enumeration would take up to " + std::to_string(static_cast<uint64_t>(work)) +
                           " showdowns, above the limit of " + std::to_string(request.ForcedExactLimit) +
                           "; sample instead");
        return Sample(table, request.Samples, request.Seed, result);
    }
    return Enumerate(table, result);
}

} // namespace cards
} // namespace ostrel
