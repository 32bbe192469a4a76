/*
 * `allin`: the all-in equity of 2 to 6 hands or ranges, with an optional
 * board and dead cards, by enumeration or by sampling (cards/equity.h).
 */
#ifndef OSTREL_REQUESTS_ALLIN_REQUEST_H
#define OSTREL_REQUESTS_ALLIN_REQUEST_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "answer_format.h"
#include "equity.h"
#include "field.h"

namespace ostrel
{

struct AllinRequest
{
    std::vector<std::string> Ranges; // each player's range as text: AdAc, TT+, "AKs, AQo:0.5", random, 15%
    std::string Board;               // 0, 3, 4 or 5 cards: Qs9h2c
    std::string Dead;                // cards out of play
    bool Exact = false;              // every board, refused when it would take too long
    uint64_t Samples = 0;            // Monte Carlo showdowns, 2 to 10^10; 0: the library's choice
    std::optional<uint64_t> Seed;    // of the draws, with Samples only (default 1)
};

// The ranges, cards and method as the command judges them, in its words.
Status CheckAllinRequest(const AllinRequest &request);

// Its first part: Exact, Samples and Seed alone (a front end that reads
// them from text asks it before and after reading the numbers, so that
// its messages come in the command's order).
Status CheckAllinSampling(const AllinRequest &request);

struct AllinAnswer
{
    std::vector<std::string> Ranges; // as given
    cards::EquityResult Result;
    uint64_t Seed = 1;
};

Status RunAllinRequest(const AllinRequest &request, AllinAnswer &answer);

// Percentages to 3 decimals in the table; fractions for programs as the
// shortest text that reads back to the same double.
std::string WriteAllinAnswer(const AllinAnswer &answer, Format format);

} // namespace ostrel

#endif
