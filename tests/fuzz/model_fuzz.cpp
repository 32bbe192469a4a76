// libFuzzer target for every public entry point of the model library, under
// the address and undefined-behaviour sanitizers: small fields, ladders,
// options and sizes drawn from the bytes, null pointers and extreme values
// included. No call may crash; what is accepted must hold the invariants a
// caller relies on (finite results, deals that pay what they deal).
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <vector>

#include "decisions.h"
#include "equal_stacks.h"
#include "equities.h"
#include "exact_money.h"
#include "portable_math.h"
#include "quadrature_method.h"
#include "subset_method.h"

namespace
{

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// Reads the input a byte at a time; 0 once it is used up.
struct Bytes
{
    const uint8_t *Data;
    size_t Size;
    size_t At = 0;

    uint8_t Next()
    {
        return At < Size ? Data[At++] : 0;
    }

    uint64_t Wide()
    {
        uint64_t value = 0;
        for (int i = 0; i < 8; ++i)
            value = value << 8 | Next();
        return value;
    }
};

int64_t StackFrom(Bytes &in)
{
    static const int64_t Special[] = {0, 1, 2, 3, 10, 1500, 2147483647, 2147483648, 1000000000000000,
                                      999999999999999999, 1000000000000000000, -1, INT64_MAX};
    const uint8_t pick = in.Next();
    if (pick < 13 * 8)
        return Special[pick % 13];
    return static_cast<int64_t>(in.Wide() % 1000000);
}

double PrizeFrom(Bytes &in)
{
    static const double Special[] = {0.0, 1.0, 0.5, 0.01, 100.0, 1e305, 1.7e308, 4.9e-324, 1e-300,
                                     -1.0, std::numeric_limits<double>::quiet_NaN(), HUGE_VAL, 617283.95};
    const uint8_t pick = in.Next();
    if (pick < 13 * 8)
        return Special[pick % 13];
    return static_cast<double>(in.Wide() % 100000000) / 100.0;
}

// A method for the decisions, with the seats' $EV by the subset method.
ostrel::Status BySubsets(const ostrel::Field &field, double *equities)
{
    return ostrel::SubsetEquities(field, equities, nullptr);
}

void CheckFinite(const double *values, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        Check(std::isfinite(values[i]));
}

void FuzzMethods(Bytes &in, const ostrel::Field &field)
{
    std::vector<double> equities(field.Seats + 1, 0.0);
    double *out = in.Next() % 8 == 0 ? nullptr : equities.data();
    ostrel::FinishTable table;
    const bool finish = in.Next() % 2 == 0;
    if (ostrel::SubsetEquities(field, out, finish ? &table : nullptr).Ok)
        CheckFinite(equities.data(), field.Seats);
    ostrel::QuadratureOptions quadrature;
    quadrature.Threads = in.Next() % 4;
    quadrature.FinishPlaces = in.Next() % 12;
    quadrature.MemoryLimit = in.Next() % 8 == 0 ? 0 : quadrature.MemoryLimit;
    if (ostrel::QuadratureEquities(field, quadrature, out, finish ? &table : nullptr).Ok)
        CheckFinite(equities.data(), field.Seats);
    (void)ostrel::QuadratureMemory(field, quadrature, finish);
    (void)ostrel::QuadratureSteps(field, in.Next());
    (void)ostrel::SubsetSteps(field, finish);
    std::vector<double> won(field.Seats + 1), lost(field.Seats + 1);
    double now = 0.0;
    (void)ostrel::QuadratureHeroHands(field, in.Next() % (field.Seats + 2), quadrature, now,
                                      in.Next() % 8 == 0 ? nullptr : won.data(), lost.data());
    ostrel::EquityOptions options;
    options.FinishPlaces = in.Next() % 12;
    options.SecondsLimit = in.Next() % 2 == 0 ? 0.0 : 1e-9;
    const auto method = static_cast<ostrel::EquityMethod>(in.Next() % 4);
    ostrel::EquityMethod ran = ostrel::EquityMethod::Automatic;
    if (ostrel::ComputeEquities(field, method, options, out, finish ? &table : nullptr, &ran).Ok)
        CheckFinite(equities.data(), field.Seats);
    (void)ostrel::ChooseEquityMethod(field, options.FinishPlaces);
    (void)ostrel::EstimatedSeconds(field, method, options.FinishPlaces);
    (void)ostrel::PrizeScale(field);
}

void FuzzDecisions(Bytes &in, const ostrel::Field &field)
{
    ostrel::DealTerms terms;
    terms.Split = static_cast<ostrel::DealSplit>(in.Next() % 4);
    terms.Keep = in.Next() % 2 == 0 ? 0.0 : PrizeFrom(in);
    terms.Round.Count = static_cast<int64_t>(in.Next()) - 8;
    terms.Round.Decimals = static_cast<int32_t>(in.Next() % 24) - 2;
    ostrel::Deal deal;
    const ostrel::FieldEquity none;
    const bool withMethod = in.Next() % 8 != 0;
    if (ostrel::ComputeDeal(field, terms, withMethod ? ostrel::FieldEquity(BySubsets) : none, deal).Ok)
    {
        double paid = 0.0;
        for (const ostrel::DealSeat &seat : deal.Seats)
        {
            Check(std::isfinite(seat.Payment) && std::isfinite(seat.Difference));
            paid += seat.Payment;
        }
        Check(std::fabs(paid - deal.Dealt) <= 1e-9 * std::fabs(deal.Dealt) + 1e-9);
    }
    ostrel::BubbleGrid grid;
    const size_t seat = in.Next() % (field.Seats + 2);
    (void)ostrel::ComputeBubbleGrid(field, in.Next() % 2 == 0 ? &seat : nullptr,
                                    withMethod ? ostrel::FieldEquity(BySubsets) : none, grid);
    const ostrel::HeroHands hands;
    (void)ostrel::ComputeBubbleGrid(field, nullptr, BySubsets, grid, in.Next() % 2 == 0 ? &hands : nullptr);
}

void FuzzEqualStacks(Bytes &in, const ostrel::Field &field)
{
    ostrel::EqualStacksBubble result = {};
    const int64_t players = StackFrom(in);
    const int64_t stack = StackFrom(in);
    (void)ostrel::EqualStacksBubbleFactor(players, stack, in.Next() % 4 == 0 ? nullptr : field.Prizes,
                                          field.Places, result);
    const ostrel::EqualStacksField chain = {players, stack, static_cast<int64_t>(in.Next() % 4), field.Prizes,
                                            field.Places};
    (void)ostrel::EqualStacksEquity(chain, StackFrom(in), static_cast<int64_t>(in.Next()) - 2);
}

void FuzzMoney(Bytes &in)
{
    const double amount = PrizeFrom(in);
    if (std::isfinite(amount) && amount >= 0.0)
    {
        const ostrel::DecimalAmount exact = ostrel::DecimalOf(amount);
        Check(ostrel::NearestDouble(exact.Digits, exact.Decimals) == amount);
        const ostrel::BigNumber divisor = ostrel::BigOf(in.Wide() % 1000 + 1);
        uint64_t quotient = 0;
        ostrel::BigNumber rest;
        if (ostrel::SmallQuotient(exact.Digits, divisor, quotient, rest))
            Check(ostrel::Compare(ostrel::Add(ostrel::Multiply(divisor, quotient), rest), exact.Digits) == 0 &&
                  ostrel::Compare(rest, divisor) < 0);
    }
    const double x = static_cast<double>(static_cast<int64_t>(in.Wide())) / 1e12;
    (void)ostrel::PortableExp(x);
    (void)ostrel::PortableExpm1(x);
    (void)ostrel::PortableLog(x);
    (void)ostrel::PortableLog1p(x);
    (void)ostrel::DurationText(x);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Bytes in = {data, size};
    std::vector<int64_t> stacks(in.Next() % 9);
    for (int64_t &stack : stacks)
        stack = StackFrom(in);
    std::vector<double> prizes(in.Next() % 11);
    for (double &prize : prizes)
        prize = PrizeFrom(in);
    const bool nullStacks = in.Next() % 16 == 0;
    const ostrel::Field field = {nullStacks ? nullptr : stacks.data(), stacks.size(),
                                 in.Next() % 16 == 0 ? nullptr : prizes.data(), prizes.size()};
    if (ostrel::CheckField(field).Ok)
    {
        const size_t players = ostrel::PlayersInPlay(field);
        (void)ostrel::PaidPlaces(field, players);
        (void)ostrel::PrizePool(field, players);
        (void)ostrel::TotalChips(field);
    }
    FuzzMethods(in, field);
    FuzzDecisions(in, field);
    FuzzEqualStacks(in, field);
    FuzzMoney(in);
    return 0;
}
