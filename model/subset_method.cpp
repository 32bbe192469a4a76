/*
 * Chance[S] is the chance that the players of set S take places 1..|S| in
 * some order. From each reachable S, every player j outside it takes place
 * |S| + 1 with chance Chance[S] * c_j / (chips outside S); that pays him its
 * prize and feeds Chance[S + j].
 */
#include "subset_method.h"

#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>

namespace ostrel
{
namespace
{

struct Players
{
    size_t Count = 0;
    size_t Seat[SubsetMaxPlayers] = {};
    int64_t Stack[SubsetMaxPlayers] = {};
    double Chips[SubsetMaxPlayers] = {};
    int64_t Total = 0;
};

// The field's total is at most 10^18: every sum fits in 64 bits, so the chips left
// outside a set are exact before their one rounding to double. Below 2^53
// they are exact as doubles too.
Players GatherPlayers(const Field &field)
{
    Players players;
    for (size_t seat = 0; seat < field.Seats; ++seat)
    {
        if (field.Stacks[seat] == 0)
            continue;
        players.Seat[players.Count] = seat;
        players.Stack[players.Count] = field.Stacks[seat];
        players.Chips[players.Count] = static_cast<double>(field.Stacks[seat]);
        players.Total += field.Stacks[seat];
        players.Count += 1;
    }
    return players;
}

// A running sum with Kahan's compensation: a seat's equity gathers up to 2^23
// terms, whose rounding errors would otherwise add up.
struct CompensatedSum
{
    double Sum;
    double Lost;
};

void AddCompensated(CompensatedSum &total, double term)
{
    const double corrected = term - total.Lost;
    const double sum = total.Sum + corrected;
    total.Lost = (sum - total.Sum) - corrected;
    total.Sum = sum;
}

// Index of the lowest set bit of a non-zero mask, by de Bruijn multiplication:
// no branch, so walking a set costs the same whatever its members.
size_t LowestMember(uint32_t set)
{
    static const int8_t Position[32] = {0,  1,  28, 2,  29, 14, 24, 3,  30, 22, 20,
                                        15, 25, 17, 4,  8,  31, 27, 13, 23, 21, 19,
                                        16, 7,  26, 12, 18, 6,  11, 5,  10, 9};
    const uint32_t lowest = set & (~set + 1u);
    return static_cast<size_t>(Position[(lowest * 0x077CB531u) >> 27]);
}

struct Pass
{
    const Players &Field;
    const double *Prizes;
    size_t Paid;   // places whose prizes are added
    size_t Places; // places handed out
    double *Chance;
    CompensatedSum *Equity;
    CompensatedSum *Finish; // Count * Count, or null
};

/*
 * Hands out place |set| + 1 from the set `set` of players who took the places
 * above it. Sets are visited in increasing order, and set + j is larger than
 * set, so Chance[set] is complete by the time it is read.
 */
void PlaceNextFinisher(const Pass &pass, uint32_t set)
{
    const Players &players = pass.Field;
    size_t taken = 0;
    int64_t chipsLeft = players.Total;
    for (uint32_t members = set; members != 0; members &= members - 1)
    {
        taken += 1;
        chipsLeft -= players.Stack[LowestMember(members)];
    }
    const double share = pass.Chance[set] / static_cast<double>(chipsLeft);
    const bool paid = taken < pass.Paid;
    const double prize = paid ? pass.Prizes[taken] : 0.0;
    const bool placesBelow = taken + 1 < pass.Places;
    const uint32_t everyone = static_cast<uint32_t>((uint64_t{1} << players.Count) - 1u);
    for (uint32_t rest = everyone & ~set; rest != 0; rest &= rest - 1)
    {
        const size_t player = LowestMember(rest);
        const double finish = share * players.Chips[player];
        if (paid)
            AddCompensated(pass.Equity[player], finish * prize);
        if (pass.Finish != nullptr)
            AddCompensated(pass.Finish[player * players.Count + taken], finish);
        if (placesBelow)
            pass.Chance[set | uint32_t{1} << player] += finish;
    }
}

} // namespace

/*
 * Only sets smaller than the places handed out are ever given a chance; the
 * others keep 0.0 and are passed over. A reachable set's chance rounds to
 * 0.0 only below 2^-1074 (each of its at most 23 factors is at least 10^-18,
 * so only with stacks over 10^13 times apart), and then so would all it adds.
 */
static Status SubsetPass(const Field &field, double *equities, FinishTable *finish, const SubsetProgress &progress);

Status SubsetEquities(const Field &field, double *equities, FinishTable *finish)
{
    return SubsetEquities(field, equities, finish, SubsetProgress());
}

// Nothing is thrown across the library's interface: memory that cannot be
// had is a refusal like any other.
Status SubsetEquities(const Field &field, double *equities, FinishTable *finish, const SubsetProgress &progress)
{
    if (equities == nullptr && field.Seats > 0)
        return Failure("no room given for the results");
    try
    {
        return SubsetPass(field, equities, finish, progress);
    }
    catch (const std::bad_alloc &)
    {
        return Failure("the subset method could not get the memory for this field");
    }
}

double SubsetSteps(const Field &field, bool finish)
{
    if (!CheckField(field).Ok)
        return HUGE_VAL;
    const size_t n = PlayersInPlay(field);
    if (n > SubsetMaxPlayers)
        return HUGE_VAL;
    const size_t places = finish ? n : PaidPlaces(field, n);
    // Sets of i players, i < places, each handing out place i + 1 to n - i players.
    double reachable = 0.0;
    double sets = 1.0; // n choose i
    for (size_t i = 0; i < places; ++i)
    {
        reachable += sets * static_cast<double>(n - i);
        sets = sets * static_cast<double>(n - i) / static_cast<double>(i + 1);
    }
    // Clearing and sweeping the 2^n chances costs about 5 steps a set.
    return 5.0 * std::ldexp(1.0, static_cast<int>(n)) + reachable;
}

static Status SubsetPass(const Field &field, double *equities, FinishTable *finish, const SubsetProgress &progress)
{
    const Status checked = CheckField(field);
    if (!checked.Ok)
        return checked;
    const size_t inPlay = PlayersInPlay(field);
    if (inPlay > SubsetMaxPlayers)
        return Failure("the subset method takes at most " + std::to_string(SubsetMaxPlayers) +
                       " players in play (2^n doubles of memory: 128 MiB at 24); this field has " +
                       std::to_string(inPlay));
    const Players players = GatherPlayers(field);
    const size_t paid = PaidPlaces(field, players.Count);
    const size_t places = finish != nullptr ? players.Count : paid;
    const size_t sets = size_t{1} << players.Count;
    std::unique_ptr<double, decltype(&std::free)> chance(
        static_cast<double *>(std::calloc(sets, sizeof(double))), &std::free);
    std::unique_ptr<CompensatedSum[]> finishes;
    if (finish != nullptr)
        finishes.reset(new (std::nothrow) CompensatedSum[players.Count * players.Count]());
    if (chance == nullptr || (finish != nullptr && players.Count > 0 && finishes == nullptr))
        return Failure("the subset method could not get " + std::to_string(sets * sizeof(double)) +
                       " bytes of memory");
    CompensatedSum playerEquities[SubsetMaxPlayers] = {};
    const Pass pass = {players, field.Prizes, paid, places, chance.get(), playerEquities,
                       finishes.get()};
    if (places > 0)
    {
        chance.get()[0] = 1.0;
        for (uint32_t set = 0; set < sets; ++set)
        {
            if (chance.get()[set] != 0.0)
                PlaceNextFinisher(pass, set);
            if (progress.Report != nullptr && (set & 0xFFFFu) == 0xFFFFu)
                progress.Report(progress.Context, static_cast<double>(set + 1) / static_cast<double>(sets));
        }
    }
    for (size_t seat = 0; seat < field.Seats; ++seat)
        equities[seat] = 0.0;
    for (size_t player = 0; player < players.Count; ++player)
        equities[players.Seat[player]] = playerEquities[player].Sum;
    if (finish != nullptr)
    {
        finish->Seats = field.Seats;
        finish->Places = players.Count;
        finish->Chance.assign(field.Seats * players.Count, 0.0);
        for (size_t player = 0; player < players.Count; ++player)
            for (size_t place = 0; place < players.Count; ++place)
                finish->Chance[players.Seat[player] * players.Count + place] =
                    finishes[player * players.Count + place].Sum;
    }
    return Status();
}

} // namespace ostrel
