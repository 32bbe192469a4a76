/*
 * The command's answers as text: one function per format, each fed by one
 * result, each returning the whole text so that nothing is written before
 * everything is known.
 */
#ifndef OSTREL_CLI_REPORT_H
#define OSTREL_CLI_REPORT_H

#include <string>
#include <vector>

#include "equal_stacks.h"
#include "field_methods.h"
#include "number_lists.h"

namespace ostrel
{

enum class Format
{
    Table,
    Csv,
    Json,
};

// The seats as the person gave them, and what every table's footer says.
struct SeatsShown
{
    std::vector<int64_t> Stacks; // in units of 10^-StackDecimals
    int32_t StackDecimals = 0;
    std::vector<std::string> Names; // one per seat, or none
    size_t Players = 0;             // in play
    size_t Paid = 0;                // places paid among them
    int MoneyDecimals = 2;          // decimals of money in tables
    bool Separators = false;        // money in tables grouped by thousands: 12,345.67
};

struct EquityReport
{
    SeatsShown Seats;
    double PrizePool = 0.0;
    const FieldRun *Run = nullptr;
};

std::string FormatEquity(const EquityReport &report, Format format);

// The finish table of the players in play, `places` columns for every seat.
std::string FormatFinish(const EquityReport &report, Format format);

struct DealReport
{
    SeatsShown Seats;
    std::string Split;
    std::string Methods;
    double Kept = 0.0;
    const Deal *Result = nullptr;
};

std::string FormatDeal(const DealReport &report, Format format);

struct BubbleReport
{
    SeatsShown Seats;
    std::string Methods;
    const size_t *OnlySeat = nullptr; // 0-based
    const BubbleGrid *Grid = nullptr;
};

std::string FormatBubbleGrid(const BubbleReport &report, Format format);

// The window's equal-stacks numbers, and where busting still pays (the field
// is not above the paid places) the factor with the bust taking the last place.
struct EqualStacksReport
{
    const EqualStacksBubble *Result = nullptr;
    int64_t Players = 0;
    bool BustPaid = false;
    double FactorBustPaid = 0.0;
};

std::string FormatEqualStacks(const EqualStacksReport &report, Format format);

// A table's number with `decimals` decimals, or more where a small value
// would show fewer than two significant digits (in exponent form below
// 10^-11); never "-0.00".
std::string Readable(double value, int decimals);

// Money rounded to `decimals`: a difference that rounds to zero is 0.00.
std::string Money(double value, int decimals);

// A number's text with a comma between each three digits before the point:
// "-12345.67" is "-12,345.67". Texts with an exponent are left as they are.
std::string Grouped(const std::string &text);

// An amount as Money, but a non-zero one that would show as zeros gets two
// significant digits, as Readable.
std::string Amount(double value, int decimals);

} // namespace ostrel

#endif
