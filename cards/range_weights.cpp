/*
 * Weights per combo: one weight for a class, the live combos, and tiny
 * weights brought back into the normal doubles.
 */
#include "range_weights.h"

namespace ostrel
{
namespace cards
{

void SetClass(Range &range, int handClass, double weight)
{
    int combos[MaxClassCombos];
    const int count = CombosOfClass(handClass, combos);
    for (int i = 0; i < count; ++i)
        range.Weight[static_cast<size_t>(combos[i])] = weight;
}

double NormalWeight(double weight, double largest)
{
    return largest > 0.0 && largest < TinyWeight ? weight / largest : weight;
}

int LiveCombos(const Range &range, CardSet removed)
{
    int count = 0;
    for (int combo = 0; combo < ComboCount; ++combo)
        if (range.Weight[static_cast<size_t>(combo)] > 0.0 && (ComboMask(combo) & removed) == 0)
            ++count;
    return count;
}

} // namespace cards
} // namespace ostrel
