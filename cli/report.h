/*
 * The command's answers as text: one function per format, each fed by one
 * result, each returning the whole text so that nothing is written before
 * everything is known.
 */
#ifndef OSTREL_CLI_REPORT_H
#define OSTREL_CLI_REPORT_H

#include <string>
#include <vector>

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

} // namespace ostrel

#endif
