/*
 * What a rounded deal needs of the amounts typed for it.
 */
#ifndef OSTREL_REQUESTS_DEAL_AMOUNTS_H
#define OSTREL_REQUESTS_DEAL_AMOUNTS_H

#include <string>
#include <vector>

#include "field.h"
#include "decisions.h"

namespace ostrel
{

// A rounding unit as typed (--round), kept in decimal so that payments come
// out exact.
Status ParseRoundingUnit(const std::string &text, MoneyUnit &unit);

// Every amount the deal decides on, --keep and each --prizes item (a pool's
// share where the prizes are percentages), must be the shortest decimal of
// the double that holds it; `prizes` are the doubles read. `prizesText` is
// the --prizes list as typed (its items judged only when `prizesTyped`),
// `poolText` the --pool amount or empty.
Status CheckExactAmounts(const std::string &keepText, bool prizesTyped, const std::string &prizesText,
                         const std::string &poolText, const std::vector<double> &prizes);

} // namespace ostrel

#endif
