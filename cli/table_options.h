/*
 * The table of a push-or-fold question as `spot` and `nash` both take it:
 * the stacks at the table, the prizes (or chip EV), the players at other
 * tables, the button, the blinds and the ante. One registration and one
 * reader, so that both commands judge the same typing the same way.
 */
#ifndef OSTREL_CLI_TABLE_OPTIONS_H
#define OSTREL_CLI_TABLE_OPTIONS_H

#include <CLI/CLI.hpp>

#include <string>

#include "bounty_input.h"
#include "command_input.h"
#include "outcomes.h"

namespace ostrel
{

// The texts as typed; each *Given tells an option typed empty from none.
struct TableOptions
{
    InputOptions Input; // --stacks, --stacks-file, --names, --prizes, --prizes-file, --pool, --pos
    std::string Others, OthersFile;
    std::string Button, Blinds, Ante, BigBlindAnte;
    bool ChipEv = false;
    bool InBigBlinds = false; // --in-bb: the stacks (list or file) are counted in big blinds
    std::string Bounties, OthersBounties, BountyPool, BountyShare, ChipsPerUnit;
    CLI::Option *BountiesGiven = nullptr, *OthersBountiesGiven = nullptr, *BountyPoolGiven = nullptr,
                *BountyShareGiven = nullptr, *ChipsPerUnitGiven = nullptr;
    CLI::Option *StacksGiven = nullptr, *StacksFileGiven = nullptr, *NamesGiven = nullptr,
                *PrizesGiven = nullptr, *PrizesFileGiven = nullptr, *PoolGiven = nullptr, *PosGiven = nullptr,
                *OthersGiven = nullptr, *OthersFileGiven = nullptr, *ButtonGiven = nullptr,
                *BlindsGiven = nullptr, *AnteGiven = nullptr, *BigBlindAnteGiven = nullptr;
};

// Whether an option registered as `option` was typed.
bool Given(const CLI::Option *option);

// --stacks ... --chip-ev on `command`, in that order, with help in words.
void AddTableOptions(CLI::App &command, TableOptions &options);

// The table judged whole: one source for the stacks and for the prizes (none
// with --chip-ev), whole chips everywhere at the table (the blinds and antes
// are counted in them), a button seat at the table, two blinds, at most one
// kind of ante. Field.Prizes stays empty with --chip-ev. Stacks typed in
// big blinds ("15bb", or any with --in-bb) come out in chips, each a whole
// number of them at the big blind given.
// The bounties come from --bounties or from a stacks file's third column,
// not both; the rest of the bounty options as typed (judged by the request).
Status ReadTable(const TableOptions &options, HandField &field, BountyInput &bounty);

} // namespace ostrel

#endif
