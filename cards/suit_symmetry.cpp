/*
 * The 24 renamings of the suits in lexicographic order. Each function costs
 * at most 24 small steps.
 */
#include "suit_symmetry.h"

namespace ostrel
{
namespace cards
{

int SuitPermutation(int permutation, int suit)
{
    int left[SuitCount] = {0, 1, 2, 3};
    int remaining = SuitCount;
    int image = 0;
    int code = permutation;
    int factorial = 6;
    for (int position = 0; position <= suit; ++position)
    {
        const int pick = code / factorial;
        code %= factorial;
        image = left[pick];
        for (int i = pick; i < remaining - 1; ++i)
            left[i] = left[i + 1];
        remaining -= 1;
        factorial = remaining > 1 ? factorial / remaining : 1;
    }
    return image;
}

int PermuteCombo(int combo, int permutation)
{
    const Combo cards = ComboCards(combo);
    const Card high = MakeCard(RankOf(cards.High), SuitPermutation(permutation, SuitOf(cards.High)));
    const Card low = MakeCard(RankOf(cards.Low), SuitPermutation(permutation, SuitOf(cards.Low)));
    return ComboIndex(high, low);
}

int CanonicalCombo(int handClass)
{
    int combos[MaxClassCombos];
    CombosOfClass(handClass, combos);
    return combos[0];
}

int PermutationToCanonical(int combo)
{
    const int canonical = CanonicalCombo(ClassOfCombo(combo));
    for (int permutation = 0; permutation < SuitPermutationCount; ++permutation)
        if (PermuteCombo(combo, permutation) == canonical)
            return permutation;
    return 0;
}

int OrbitRepresentative(int heroClass, int villain)
{
    const int hero = CanonicalCombo(heroClass);
    int best = villain;
    for (int permutation = 0; permutation < SuitPermutationCount; ++permutation)
        if (PermuteCombo(hero, permutation) == hero)
        {
            const int image = PermuteCombo(villain, permutation);
            best = image < best ? image : best;
        }
    return best;
}

} // namespace cards
} // namespace ostrel
