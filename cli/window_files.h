/*
 * The window's payout structure files and its settings file, read natively
 * into the numbers the window computes on.
 */
#ifndef OSTREL_CLI_WINDOW_FILES_H
#define OSTREL_CLI_WINDOW_FILES_H

#include <cstdint>
#include <string>
#include <vector>

#include "field.h"

namespace ostrel
{

// The ladder the window shows after opening the file with an empty ladder:
// places read in order up to the first that is 0, missing or unreadable.
Status ReadPayoutStructure(const std::string &bytes, std::vector<double> &prizes);

// What the window computes on after starting with this settings file: the
// chips of the seats it shows (10 or 18) and its ladder, read over the
// ladder the window starts with.
struct WindowSettings
{
    int32_t ShownSeats = 10;
    std::vector<int64_t> Stacks;
    std::vector<double> Prizes;
};

Status ReadSettings(const std::string &bytes, WindowSettings &settings);

} // namespace ostrel

#endif
