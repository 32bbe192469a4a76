/*
 * `deal`: the money split now, by $EV (icm), by chips or evenly, with an
 * amount left on the table for the winner and payments rounded to a unit.
 */
#ifndef OSTREL_REQUESTS_DEAL_REQUEST_H
#define OSTREL_REQUESTS_DEAL_REQUEST_H

#include <string>

#include "decisions.h"
#include "field_answers.h"
#include "field_input.h"
#include "run_progress.h"

namespace ostrel
{

struct DealRequest
{
    FieldInput Field;
    Method Using = Method::Automatic;
    unsigned Threads = 0; // 0: one per core
    DealTerms Terms;      // split, kept amount, rounding unit (Count 0: none)
    std::string KeepTyped; // the kept amount as typed, for messages; empty: its shortest text
    bool Separators = false;
    BountyInput Bounty;        // the bounty money dealt too (OnHead and Pool only)
    bool DealBounties = false; // deal it: required with bounties, which would otherwise be left out
};

// The split's name as an answer writes it: icm, chip or even.
const char *DealSplitName(DealSplit split);

// The field's checks, a kept amount from 0 up to the first prize and a
// rounding unit above 0; the command's messages.
Status CheckDealRequest(const DealRequest &request);

// Checks, refuses a run estimated over 10 minutes and computes; the deal's
// two field evaluations are the steps of `progress`.
Status RunDealRequest(const DealRequest &request, const RunProgress &progress, DealAnswer &answer);

std::string WriteDealAnswer(const DealAnswer &answer, Format format);

} // namespace ostrel

#endif
