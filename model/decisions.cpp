/*
 * Deals and pairwise bubble factors. Both only add, compare and divide the
 * results of whichever method computes the field, so they are as exact as
 * that method.
 */
#include "decisions.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "exact_money.h"

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

/*
 * Chips beyond the others' reach: each player gets the lowest prize in play
 * and a chip share of the rest; whoever would pass the first prize is held
 * at it and the excess is shared by the others, again by chips. `held`
 * tells who ended at the first prize.
 */
Status ChipSplit(const Field &field, const InPlay &players, const std::vector<double> &ladder, double dealt,
                 std::vector<double> &payment, std::vector<bool> &held)
{
    const size_t n = players.Seats.size();
    const double lowest = n <= ladder.size() ? ladder[n - 1] : 0.0;
    const double cap = ladder.empty() ? 0.0 : ladder[0];
    held.assign(n, false);
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
            // rest * stack passes the largest double only for prizes near it.
            const double product = rest * stack;
            const double share = std::isfinite(product) ? product / chips : rest * (stack / chips);
            payment[players.Seats[p]] = held[p] ? cap : lowest + share;
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

// The most units a rounded deal pays: every count of units, and every
// payment as units times the unit, is then exact.
constexpr uint64_t MostUnits = uint64_t{1} << 53;

// Each remainder within this many units of another is tied with it in the
// icm split, whose shares carry the method's rounding.
constexpr double IcmTie = 1e-9;

/*
 * The money of the deal in exact decimals: every prize as the shortest
 * decimal of its double (what was typed), scaled to the finest decimals of
 * any amount, the unit included.
 */
struct ExactMoney
{
    int32_t Decimals = 0;
    std::vector<BigNumber> Ladder; // places 1..min(n, Places), place 1 less the kept amount
    BigNumber Dealt;
    BigNumber Unit;
    uint64_t Units = 0; // Dealt / Unit
};

Status ExactMoneyOf(const Field &field, size_t n, const DealTerms &terms, ExactMoney &money)
{
    const size_t places = std::min(field.Places, n);
    std::vector<DecimalAmount> amounts;
    for (size_t place = 0; place < places; ++place)
        amounts.push_back(DecimalOf(field.Prizes[place]));
    const DecimalAmount keep = DecimalOf(terms.Keep);
    DecimalAmount unit;
    unit.Digits = BigOf(static_cast<uint64_t>(terms.Round.Count));
    unit.Decimals = terms.Round.Decimals;
    money.Decimals = std::max(keep.Decimals, unit.Decimals);
    for (const DecimalAmount &amount : amounts)
        money.Decimals = std::max(money.Decimals, amount.Decimals);
    for (const DecimalAmount &amount : amounts)
        money.Ladder.push_back(ScaledTo(amount, money.Decimals));
    const BigNumber kept = ScaledTo(keep, money.Decimals);
    if (!money.Ladder.empty())
        money.Ladder[0] = Subtract(money.Ladder[0], kept); // the keep is at most the first prize
    for (const BigNumber &prize : money.Ladder)
        money.Dealt = Add(money.Dealt, prize);
    money.Unit = ScaledTo(unit, money.Decimals);
    const std::string dealt = DecimalText(money.Dealt, money.Decimals);
    const std::string unitText = DecimalText(unit.Digits, unit.Decimals);
    BigNumber rest;
    if (!SmallQuotient(money.Dealt, money.Unit, money.Units, rest) || money.Units > MostUnits)
        return Failure("the money dealt, " + dealt + ", is more than 2^53 rounding units of " + unitText +
                       ": too many to pay exactly");
    if (!IsZero(rest))
        return Failure("the money dealt, " + dealt + ", is not a multiple of the rounding unit " + unitText);
    return Status();
}

// A player's share in units: Whole plus a fraction that orders the players
// for the units left over.
struct UnitShare
{
    size_t Seat;
    int64_t Stack;
    uint64_t Whole;
    BigNumber ExactRest; // chip and even splits: the fraction's numerator over a common denominator
    double Rest;         // icm split: the fraction in units
};

// Larger stack first, then the lower seat.
bool BeforeInTie(const UnitShare &a, const UnitShare &b)
{
    return a.Stack != b.Stack ? a.Stack > b.Stack : a.Seat < b.Seat;
}

/*
 * The shares of the chip and even splits as exact fractions of one common
 * denominator. Even: Dealt / n. Chip, with h players held at the first prize
 * Cap, the lowest prize in play L and C the chips of those not held:
 *   L + (Dealt - n L - h (Cap - L)) s / C,
 * numerator L C + R s over C, or Cap C for a held player.
 */
Status ExactShares(const Field &field, const InPlay &players, const DealTerms &terms, const ExactMoney &money,
                   const std::vector<bool> &held, std::vector<UnitShare> &shares)
{
    const size_t n = players.Seats.size();
    std::vector<BigNumber> numerators(n);
    uint64_t denominator = n;
    if (terms.Split == DealSplit::Even)
        for (BigNumber &numerator : numerators)
            numerator = money.Dealt;
    else
    {
        const BigNumber zero;
        const BigNumber &lowest = n <= money.Ladder.size() ? money.Ladder[n - 1] : zero;
        const BigNumber &cap = money.Ladder.empty() ? zero : money.Ladder[0];
        uint64_t chips = 0;
        uint64_t heldCount = 0;
        for (size_t p = 0; p < n; ++p)
            if (held[p])
                heldCount += 1;
            else
                chips += static_cast<uint64_t>(field.Stacks[players.Seats[p]]);
        denominator = chips;
        // R = (Dealt + h L) - (n L + h Cap), with its sign.
        const BigNumber plus = Add(money.Dealt, Multiply(lowest, heldCount));
        const BigNumber minus = Add(Multiply(lowest, n), Multiply(cap, heldCount));
        const bool negative = Compare(plus, minus) < 0;
        const BigNumber rest = negative ? Subtract(minus, plus) : Subtract(plus, minus);
        const BigNumber base = Multiply(lowest, chips);
        for (size_t p = 0; p < n; ++p)
        {
            if (held[p])
            {
                numerators[p] = Multiply(cap, chips);
                continue;
            }
            const BigNumber part = Multiply(rest, static_cast<uint64_t>(field.Stacks[players.Seats[p]]));
            if (negative && Compare(part, base) > 0)
                return Failure("the chip split would pay seat " + std::to_string(players.Seats[p] + 1) +
                               " less than nothing on this ladder");
            numerators[p] = negative ? Subtract(base, part) : Add(base, part);
        }
    }
    const BigNumber unitOver = Multiply(money.Unit, denominator);
    for (size_t p = 0; p < n; ++p)
    {
        const size_t seat = players.Seats[p];
        UnitShare share = {seat, field.Stacks[seat], 0, BigNumber(), 0.0};
        if (!SmallQuotient(numerators[p], unitOver, share.Whole, share.ExactRest))
            return Failure("a share of the deal is beyond the units that can be paid exactly");
        shares.push_back(share);
    }
    std::sort(shares.begin(), shares.end(), [](const UnitShare &a, const UnitShare &b) {
        const int order = Compare(a.ExactRest, b.ExactRest);
        return order != 0 ? order > 0 : BeforeInTie(a, b);
    });
    return Status();
}

/*
 * The icm shares, each the method's payment in units: whole units first,
 * then the units left go by the largest fraction, fractions within IcmTie
 * of the last one served being tied. Should the method's rounding make the
 * whole units pass the money dealt, the smallest fractions give units back.
 */
void IcmShares(const InPlay &players, const Field &field, const ExactMoney &money, const DealTerms &terms,
               const std::vector<double> &payment, std::vector<UnitShare> &shares, int64_t &left)
{
    double scale = 1.0;
    for (int32_t i = 0; i < terms.Round.Decimals; ++i)
        scale *= 10.0;
    const double count = static_cast<double>(terms.Round.Count);
    left = static_cast<int64_t>(money.Units);
    for (size_t seat : players.Seats)
    {
        const double exact = std::max(payment[seat], 0.0) * scale / count;
        const double whole = std::floor(exact + IcmTie);
        shares.push_back({seat, field.Stacks[seat], static_cast<uint64_t>(whole), BigNumber(), exact - whole});
        left -= static_cast<int64_t>(whole);
    }
    std::sort(shares.begin(), shares.end(), [](const UnitShare &a, const UnitShare &b) {
        return a.Rest != b.Rest ? a.Rest > b.Rest : BeforeInTie(a, b);
    });
    const int64_t n = static_cast<int64_t>(shares.size());
    if (left <= 0 || left >= n)
        return;
    // Those within IcmTie of the last served fraction are tied: larger stacks first.
    const double last = shares[static_cast<size_t>(left - 1)].Rest;
    auto tiedBegin = std::find_if(shares.begin(), shares.end(),
                                  [&](const UnitShare &share) { return share.Rest <= last + IcmTie; });
    auto tiedEnd = std::find_if(tiedBegin, shares.end(),
                                [&](const UnitShare &share) { return share.Rest < last - IcmTie; });
    std::sort(tiedBegin, tiedEnd, BeforeInTie);
}

/*
 * Largest remainders: each share is cut to whole units, and the units left
 * go one each to the largest cut-off parts, a tie to the larger stack, then
 * to the lower seat. The payments are then whole units, adding up exactly to
 * the money dealt, each the double nearest to its exact decimal amount.
 */
Status RoundPayments(const Field &field, const InPlay &players, const DealTerms &terms,
                     const std::vector<bool> &held, std::vector<double> &payment)
{
    ExactMoney money;
    Status status = ExactMoneyOf(field, players.Seats.size(), terms, money);
    if (!status.Ok)
        return status;
    std::vector<UnitShare> shares;
    int64_t left = 0;
    if (terms.Split == DealSplit::Icm)
        IcmShares(players, field, money, terms, payment, shares, left);
    else
    {
        status = ExactShares(field, players, terms, money, held, shares);
        if (!status.Ok)
            return status;
        left = static_cast<int64_t>(money.Units);
        for (const UnitShare &share : shares)
            left -= static_cast<int64_t>(share.Whole);
    }
    const size_t n = shares.size();
    for (size_t i = 0; left > 0; i = (i + 1) % n, --left)
        shares[i].Whole += 1;
    for (size_t i = n - 1; left < 0; i = (i + n - 1) % n)
        if (shares[i].Whole > 0)
        {
            shares[i].Whole -= 1;
            ++left;
        }
    const BigNumber count = BigOf(static_cast<uint64_t>(terms.Round.Count));
    for (const UnitShare &share : shares)
        payment[share.Seat] = NearestDouble(Multiply(count, share.Whole), terms.Round.Decimals);
    return Status();
}

} // namespace

Status ComputeDeal(const Field &field, const DealTerms &terms, const FieldEquity &equity, Deal &deal)
{
    Status status = CheckField(field);
    if (!status.Ok)
        return status;
    if (!equity)
        return Failure("no method given to compute the field");
    const InPlay players = PlayersOf(field);
    const size_t n = players.Seats.size();
    if (n == 0)
        return Failure("no player in play");
    const double first = field.Places > 0 ? field.Prizes[0] : 0.0;
    if (!(terms.Keep >= 0.0 && terms.Keep <= first))
        return Failure("the amount kept for the winner must be from 0 to the first prize");
    if (terms.Round.Count < 0 || terms.Round.Count > MaxTotalChips || terms.Round.Decimals < 0 ||
        terms.Round.Decimals > 18)
        return Failure("the rounding unit must be above 0, with up to 18 digits and 18 decimals");
    if (terms.Split != DealSplit::Icm && terms.Split != DealSplit::Chip && terms.Split != DealSplit::Even)
        return Failure("the split must be icm, chip or even");
    std::vector<double> ladder(field.Prizes, field.Prizes + std::min(field.Places, n));
    deal.PrizePool = PrizePool(field, n);
    deal.Seats.assign(field.Seats, DealSeat());
    std::vector<double> equities(field.Seats, 0.0);
    status = equity(field, equities.data());
    if (!status.Ok)
        return status;
    if (!ladder.empty())
        ladder[0] -= terms.Keep;
    const Field rest = {field.Stacks, field.Seats, ladder.data(), ladder.size()};
    deal.Dealt = PrizePool(rest, n);
    std::vector<double> payment(field.Seats, 0.0);
    std::vector<bool> held(n, false);
    if (terms.Split == DealSplit::Icm && terms.Keep == 0.0)
        payment = equities;
    else if (terms.Split == DealSplit::Icm)
        status = equity(rest, payment.data());
    else if (terms.Split == DealSplit::Chip)
        status = ChipSplit(field, players, ladder, deal.Dealt, payment, held);
    else
        for (size_t seat : players.Seats)
            payment[seat] = deal.Dealt / static_cast<double>(n);
    if (status.Ok && terms.Round.Count > 0)
        status = RoundPayments(field, players, terms, held, payment);
    if (!status.Ok)
        return status;
    for (size_t seat : players.Seats)
    {
        DealSeat &result = deal.Seats[seat];
        result.Payment = payment[seat];
        result.DealValue = payment[seat] + terms.Keep * (static_cast<double>(field.Stacks[seat]) / players.Chips);
        result.Equity = equities[seat];
        result.Difference = result.DealValue - result.Equity;
        if (!std::isfinite(result.DealValue) || !std::isfinite(result.Difference) || !std::isfinite(result.Equity))
            return Failure("seat " + std::to_string(seat + 1) + ": the deal's figures pass the largest number a "
                           "double holds");
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
    if (hands != nullptr ? !*hands : !equity)
        return Failure("no method given to compute the fields");
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
