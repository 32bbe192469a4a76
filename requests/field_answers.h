/*
 * The answers of the field questions (equity, finish, deal, bubble, equal
 * stacks) as plain structs, and their writers: one function per answer, one
 * branch per format, each returning the whole text so that nothing is
 * written before everything is known. Numbers for programs are the shortest
 * text that reads back to the same double; tables round as the window does.
 */
#ifndef OSTREL_REQUESTS_FIELD_ANSWERS_H
#define OSTREL_REQUESTS_FIELD_ANSWERS_H

#include <string>
#include <vector>

#include "answer_format.h"
#include "equal_stacks.h"
#include "field_methods.h"
#include "number_text.h"

namespace ostrel
{

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

// What every run says besides its answer: warnings (a front end adds its
// own prefix) and the seconds the computation took.
struct RunNotes
{
    std::vector<std::string> Warnings;
    double Seconds = 0.0;
};

struct EquityAnswer
{
    bool Finish = false; // the finish table, else the $EV
    SeatsShown Seats;
    double PrizePool = 0.0;
    FieldRun Run;
    RunNotes Notes;
    double BountyMoney = 0.0;        // in play; 0: no bounty columns
    std::vector<double> BountyEquity; // each seat's share of it, by its chips
};

std::string FormatEquity(const EquityAnswer &report, Format format);

// The finish table of the players in play, `places` columns for every seat.
std::string FormatFinish(const EquityAnswer &report, Format format);

struct DealAnswer
{
    SeatsShown Seats;
    std::string Split;
    std::string Methods;
    double Kept = 0.0;
    Deal Result;
    RunNotes Notes;
    double BountyMoney = 0.0;        // dealt too (in every seat's payment, deal value and $EV); 0: none
    std::vector<double> BountyEquity; // each seat's share of it, by its chips
};

std::string FormatDeal(const DealAnswer &report, Format format);

struct BubbleAnswer
{
    SeatsShown Seats;
    std::string Methods;
    bool OneRow = false; // only Seat's row
    size_t Seat = 0;     // 0-based
    BubbleGrid Grid;
    RunNotes Notes;
};

std::string FormatBubbleGrid(const BubbleAnswer &report, Format format);

// The window's equal-stacks numbers, and where busting still pays (the field
// is not above the paid places) the factor with the bust taking the last place.
struct EqualStacksAnswer
{
    EqualStacksBubble Result = {};
    int64_t Players = 0;
    bool BustPaid = false;
    double FactorBustPaid = 0.0;
    RunNotes Notes;
};

std::string FormatEqualStacks(const EqualStacksAnswer &report, Format format);

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
