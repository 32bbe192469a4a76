/*
 * The 24 renamings of the suits in lexicographic order, applied through a
 * table of every combo's images built once (64 KB). OrbitRepresentative costs
 * 24 lookups, the others one.
 */
#include "suit_symmetry.h"

#include <cstdint>

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

namespace
{

// Every combo under every renaming, and each class's canonical combo: built
// once, 24 x 1,326 small steps.
struct SymmetryTables
{
    uint16_t Image[SuitPermutationCount][ComboCount];
    uint16_t Canonical[ClassCount];
    uint8_t ToCanonical[ComboCount];
};

SymmetryTables BuildSymmetry()
{
    SymmetryTables tables = {};
    for (int p = 0; p < SuitPermutationCount; ++p)
    {
        int image[SuitCount];
        for (int suit = 0; suit < SuitCount; ++suit)
            image[suit] = SuitPermutation(p, suit);
        for (int combo = 0; combo < ComboCount; ++combo)
        {
            const Combo cards = ComboCards(combo);
            tables.Image[p][combo] =
                static_cast<uint16_t>(ComboIndex(MakeCard(RankOf(cards.High), image[SuitOf(cards.High)]),
                                                 MakeCard(RankOf(cards.Low), image[SuitOf(cards.Low)])));
        }
    }
    for (int c = 0; c < ClassCount; ++c)
    {
        int combos[MaxClassCombos];
        CombosOfClass(c, combos);
        tables.Canonical[c] = static_cast<uint16_t>(combos[0]);
    }
    for (int combo = 0; combo < ComboCount; ++combo)
    {
        const int canonical = tables.Canonical[ClassOfCombo(combo)];
        for (int p = 0; p < SuitPermutationCount; ++p)
            if (tables.Image[p][combo] == canonical)
            {
                tables.ToCanonical[combo] = static_cast<uint8_t>(p);
                break;
            }
    }
    return tables;
}

const SymmetryTables &Symmetry()
{
    static const SymmetryTables tables = BuildSymmetry();
    return tables;
}

} // namespace

int PermuteCombo(int combo, int permutation)
{
    return Symmetry().Image[permutation][combo];
}

const uint16_t *PermutationImages(int permutation)
{
    return Symmetry().Image[permutation];
}

int CanonicalCombo(int handClass)
{
    return Symmetry().Canonical[handClass];
}

int PermutationToCanonical(int combo)
{
    return Symmetry().ToCanonical[combo];
}

int OrbitRepresentative(int heroClass, int villain)
{
    const SymmetryTables &tables = Symmetry();
    const int hero = tables.Canonical[heroClass];
    int best = villain;
    for (int permutation = 0; permutation < SuitPermutationCount; ++permutation)
        if (tables.Image[permutation][hero] == hero)
        {
            const int image = tables.Image[permutation][villain];
            best = image < best ? image : best;
        }
    return best;
}

} // namespace cards
} // namespace ostrel
