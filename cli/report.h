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

struct EquityReport
{
    std::vector<int64_t> Stacks;
    double PrizePool = 0.0;
    const FieldRun *Run = nullptr;
};

std::string FormatEquity(const EquityReport &report, Format format);

// The finish table of the players in play, `places` columns for every seat.
std::string FormatFinish(const EquityReport &report, Format format);

struct DealReport
{
    std::vector<int64_t> Stacks;
    std::string Split;
    std::string Methods;
    double Kept = 0.0;
    const Deal *Result = nullptr;
};

std::string FormatDeal(const DealReport &report, Format format);

struct BubbleReport
{
    std::string Methods;
    const size_t *OnlySeat = nullptr; // 0-based
    const BubbleGrid *Grid = nullptr;
};

std::string FormatBubbleGrid(const BubbleReport &report, Format format);

std::string FormatEqualStacks(const EqualStacksBubble &result, Format format);

} // namespace ostrel

#endif
