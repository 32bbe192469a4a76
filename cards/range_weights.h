/*
 * A range as a weight per combo, and what is done with the weights alone.
 * The notation and the ranking of classes (range.h) and the preflop table
 * (preflop.h) both build on it; it needs neither, so neither needs the other.
 */
#ifndef OSTREL_CARDS_RANGE_WEIGHTS_H
#define OSTREL_CARDS_RANGE_WEIGHTS_H

#include <array>

#include "hand_class.h"

namespace ostrel
{
namespace cards
{

// Weight[combo] in [0, 1]: the share of that combo the player holds.
struct Range
{
    std::array<double, ComboCount> Weight{};
};

// Combos with weight above 0 that share no card with `removed`.
int LiveCombos(const Range &range, CardSet removed);

// One weight for every combo of a class.
void SetClass(Range &range, int handClass, double weight);

// Equity multiplies the players' weights, and weights like 1e-200 would make
// the products 0. A range whose largest weight is below TinyWeight has its
// weights divided by that largest, which makes it 1 (its answer is that of
// the same hands at weight 1); at TinyWeight and above weights are used as
// given, so no product of 6 players' largest weights can leave the normal
// doubles. NormalWeight(weight, largest) is the weight to use.
constexpr double TinyWeight = 0x1p-64;
double NormalWeight(double weight, double largest);

} // namespace cards
} // namespace ostrel

#endif
