/*
 * Deals and pairwise bubble factors. Both only add, compare and divide the
 * results of whichever method computes the field, so they are as exact as
 * that method.
 */
#include "decisions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numeric>

namespace ostrel
{
namespace
{

struct InPlay
{
    std::vector<size_t> Seats;
    double Chips = 0.0;
};

InPlay PlayersOf(const Field &field)
{
    InPlay players;
    for (size_t seat = 0; seat < field.Seats; ++seat)
        if (field.Stacks[seat] != 0)
        {
            players.Seats.push_back(seat);
            players.Chips += static_cast<double>(field.Stacks[seat]);
        }
    return players;
}

double Power10(int32_t decimals)
{
    double power = 1.0;
    for (int32_t i = 0; i < decimals; ++i)
        power *= 10.0;
    return power;
}

/*
 * Chips beyond the others' reach: each player gets the lowest prize in play
 * and a chip share of the rest; whoever would pass the first prize is held
 * at it and the excess is shared by the others, again by chips.
 */
Status ChipSplit(const Field &field, const InPlay &players, const std::vector<double> &ladder, double dealt,
                 std::vector<double> &payment)
{
    const size_t n = players.Seats.size();
    const double lowest = n <= ladder.size() ? ladder[n - 1] : 0.0;
    const double cap = ladder.empty() ? 0.0 : ladder[0];
    std::vector<bool> held(n, false);
    for (size_t round = 0; round <= n; ++round)
    {
        double rest = dealt - static_cast<double>(n) * lowest;
        double chips = 0.0;
        for (size_t p = 0; p < n; ++p)
            if (held[p])
                rest -= cap - lowest;
            else
                chips += static_cast<double>(field.Stacks[players.Seats[p]]);
        bool changed = false;
        for (size_t p = 0; p < n; ++p)
        {
            const double stack = static_cast<double>(field.Stacks[players.Seats[p]]);
            payment[players.Seats[p]] = held[p] ? cap : lowest + rest * stack / chips;
            if (!held[p] && n > 1 && payment[players.Seats[p]] > cap)
                held[p] = changed = true;
        }
        if (std::count(held.begin(), held.end(), true) == static_cast<long>(n))
            return Failure("the chip split cannot hold everyone at or below the first prize: this ladder pays "
                           "more below place 1");
        if (!changed)
            return Status();
    }
    return Status();
}

/*
 * Largest remainders: each payment is cut to whole units, and the units left
 * go one each to the largest cut-off parts; a tie goes to the larger stack,
 * then to the lower seat. Payments are then units * Count / 10^Decimals,
 * one rounding from an exact quotient.
 */
Status RoundPayments(const Field &field, const InPlay &players, const MoneyUnit &unit, double dealt,
                     std::vector<double> &payment)
{
    const double scale = Power10(unit.Decimals);
    const double count = static_cast<double>(unit.Count);
    const double scaled = dealt * scale;
    const double whole = std::nearbyint(scaled);
    const double units = whole / count;
    if (std::fabs(scaled - whole) > 1e-6 * std::max(1.0, scaled) || units != std::floor(units) || whole > 9e15)
    {
        char amount[40];
        std::snprintf(amount, sizeof amount, "%.15g", dealt);
        return Failure(std::string("the money dealt, ") + amount + ", is not a multiple of the rounding unit");
    }
    struct Share
    {
        size_t Seat;
        double Units;
        double Remainder;
    };
    std::vector<Share> shares;
    double given = 0.0;
    for (size_t seat : players.Seats)
    {
        const double exact = payment[seat] * scale / count;
        const double cut = std::floor(exact);
        shares.push_back({seat, cut, exact - cut});
        given += cut;
    }
    std::sort(shares.begin(), shares.end(), [&](const Share &a, const Share &b) {
        if (a.Remainder != b.Remainder)
            return a.Remainder > b.Remainder;
        if (field.Stacks[a.Seat] != field.Stacks[b.Seat])
            return field.Stacks[a.Seat] > field.Stacks[b.Seat];
        return a.Seat < b.Seat;
    });
    for (size_t i = 0; given < units && !shares.empty(); i = (i + 1) % shares.size())
    {
        shares[i].Units += 1.0;
        given += 1.0;
    }
    for (const Share &share : shares)
        payment[share.Seat] = share.Units * count / scale;
    return Status();
}

} // namespace

Status ComputeDeal(const Field &field, const DealTerms &terms, const FieldEquity &equity, Deal &deal)
{
    Status status = CheckField(field);
    if (!status.Ok)
        return status;
    const InPlay players = PlayersOf(field);
    const size_t n = players.Seats.size();
    if (n == 0)
        return Failure("no player in play");
    const double first = field.Places > 0 ? field.Prizes[0] : 0.0;
    if (!(terms.Keep >= 0.0 && terms.Keep <= first))
        return Failure("the amount kept for the winner must be from 0 to the first prize");
    if (terms.Round.Count < 0)
        return Failure("the rounding unit must be above 0");
    std::vector<double> ladder(field.Prizes, field.Prizes + std::min(field.Places, n));
    deal.PrizePool = PrizePool(field, n);
    deal.Seats.assign(field.Seats, DealSeat());
    std::vector<double> equities(field.Seats, 0.0);
    status = equity(field, equities.data());
    if (!status.Ok)
        return status;
    ladder[0] -= terms.Keep;
    const Field rest = {field.Stacks, field.Seats, ladder.data(), ladder.size()};
    deal.Dealt = PrizePool(rest, n);
    std::vector<double> payment(field.Seats, 0.0);
    if (terms.Split == DealSplit::Icm && terms.Keep == 0.0)
        payment = equities;
    else if (terms.Split == DealSplit::Icm)
        status = equity(rest, payment.data());
    else if (terms.Split == DealSplit::Chip)
        status = ChipSplit(field, players, ladder, deal.Dealt, payment);
    else
        for (size_t seat : players.Seats)
            payment[seat] = deal.Dealt / static_cast<double>(n);
    if (status.Ok && terms.Round.Count > 0)
        status = RoundPayments(field, players, terms.Round, deal.Dealt, payment);
    if (!status.Ok)
        return status;
    for (size_t seat : players.Seats)
    {
        DealSeat &result = deal.Seats[seat];
        result.Payment = payment[seat];
        result.DealValue = payment[seat] + terms.Keep * (static_cast<double>(field.Stacks[seat]) / players.Chips);
        result.Equity = equities[seat];
        result.Difference = result.DealValue - result.Equity;
    }
    return Status();
}

namespace
{

// The field after `winner` takes min(s_winner, s_loser) chips from `loser`.
std::vector<int64_t> AfterHand(const Field &field, size_t winner, size_t loser)
{
    std::vector<int64_t> stacks(field.Stacks, field.Stacks + field.Seats);
    const int64_t risked = std::min(stacks[winner], stacks[loser]);
    stacks[winner] += risked;
    stacks[loser] -= risked;
    return stacks;
}

// Both players' $EV after `winner` beats `loser`; a busted loser takes place n.
Status EvaluateHand(const Field &field, size_t winner, size_t loser, size_t n, const FieldEquity &equity,
                    double &winnerEquity, double &loserEquity)
{
    const std::vector<int64_t> stacks = AfterHand(field, winner, loser);
    std::vector<double> equities(field.Seats, 0.0);
    const Field after = {stacks.data(), stacks.size(), field.Prizes, field.Places};
    const Status status = equity(after, equities.data());
    winnerEquity = equities[winner];
    loserEquity = stacks[loser] == 0 ? (n <= field.Places ? field.Prizes[n - 1] : 0.0) : equities[loser];
    return status;
}

// A factor is defined where winning raises his $EV.
void PutFactor(BubbleGrid &grid, size_t index, double now, double won, double lost)
{
    if (!(won > now))
        return;
    const double factor = (now - lost) / (won - now);
    grid.Factor[index] = factor;
    grid.Premium[index] = factor / (factor + 1.0) - 0.5;
}

// Each row by one call of `hands`: the fields are the row's own.
Status RowsByHands(const Field &field, const HeroHands &hands, BubbleGrid &grid)
{
    const size_t n = grid.Seats.size();
    std::vector<double> won(field.Seats, 0.0);
    std::vector<double> lost(field.Seats, 0.0);
    for (size_t row = 0; row < grid.Rows.size(); ++row)
    {
        const size_t i = grid.Rows[row];
        double now = 0.0;
        const Status status = hands(field, i, now, won.data(), lost.data());
        if (!status.Ok)
            return status;
        for (size_t column = 0; column < n; ++column)
        {
            const size_t j = grid.Seats[column];
            if (j != i)
                PutFactor(grid, row * n + column, now, won[j], lost[j]);
        }
    }
    return Status();
}

} // namespace

Status ComputeBubbleGrid(const Field &field, const size_t *onlySeat, const FieldEquity &equity,
                         BubbleGrid &grid, const HeroHands *hands)
{
    Status status = CheckField(field);
    if (!status.Ok)
        return status;
    const InPlay players = PlayersOf(field);
    const size_t n = players.Seats.size();
    if (onlySeat != nullptr && (*onlySeat >= field.Seats || field.Stacks[*onlySeat] == 0))
        return Failure("seat " + std::to_string(*onlySeat + 1) + " has no player in play");
    grid.Seats = players.Seats;
    grid.Rows = onlySeat != nullptr ? std::vector<size_t>{*onlySeat} : players.Seats;
    const double undefined = std::numeric_limits<double>::quiet_NaN();
    grid.Factor.assign(grid.Rows.size() * n, undefined);
    grid.Premium.assign(grid.Rows.size() * n, undefined);
    if (hands != nullptr)
        return RowsByHands(field, *hands, grid);
    std::vector<double> now(field.Seats, 0.0);
    status = equity(field, now.data());
    for (size_t row = 0; row < grid.Rows.size() && status.Ok; ++row)
        for (size_t column = 0; column < n && status.Ok; ++column)
        {
            const size_t i = grid.Rows[row];
            const size_t j = players.Seats[column];
            if (i == j || (onlySeat == nullptr && j < i))
                continue;
            // One field per direction serves both players' rows.
            double iWon = 0, jLost = 0, jWon = 0, iLost = 0;
            status = EvaluateHand(field, i, j, n, equity, iWon, jLost);
            if (status.Ok)
                status = EvaluateHand(field, j, i, n, equity, jWon, iLost);
            if (!status.Ok)
                break;
            PutFactor(grid, row * n + column, now[i], iWon, iLost);
            // The whole grid's rows are its columns: j's row is `column`, i's column `row`.
            if (onlySeat == nullptr)
                PutFactor(grid, column * n + row, now[j], jWon, jLost);
        }
    return status;
}

} // namespace ostrel
