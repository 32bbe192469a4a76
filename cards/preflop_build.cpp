/*
 * The expansion of the preflop records into cells (see preflop_build.h): each
 * record stands for the orbit of its villain under the renamings that keep
 * the hero's canonical combo; villains of a class before the hero's follow
 * from the other side; a whole class against a combo depends only on the
 * combo's class (a renaming maps the class onto itself).
 */
#include "preflop_build.h"

#include "hand_class.h"
#include "preflop.h"
#include "suit_symmetry.h"

namespace ostrel
{
namespace cards
{
namespace
{

const PreflopRecord Records[] = {
#include "preflop_table.inc"
};

} // namespace

const PreflopRecord *PreflopRecords()
{
    return Records;
}

size_t PreflopRecordCount()
{
    return sizeof(Records) / sizeof(Records[0]);
}

BuiltPreflopCells BuildPreflopCells()
{
    BuiltPreflopCells built;
    std::vector<uint32_t> &cells = built.HeroVsCombo;
    cells.assign(static_cast<size_t>(ClassCount) * ComboCount * 2, 0);
    const auto at = [&](int heroClass, int combo) {
        return &cells[(static_cast<size_t>(heroClass) * ComboCount + static_cast<size_t>(combo)) * 2];
    };
    int keeping[ClassCount][SuitPermutationCount];
    int keepingCount[ClassCount] = {};
    for (int heroClass = 0; heroClass < ClassCount; ++heroClass)
        for (int p = 0; p < SuitPermutationCount; ++p)
            if (PermuteCombo(CanonicalCombo(heroClass), p) == CanonicalCombo(heroClass))
                keeping[heroClass][keepingCount[heroClass]++] = p;
    for (const PreflopRecord &record : Records)
        for (int i = 0; i < keepingCount[record.Hero]; ++i)
        {
            uint32_t *cell = at(record.Hero, PermuteCombo(record.Villain, keeping[record.Hero][i]));
            cell[0] = record.Wins;
            cell[1] = record.Ties;
        }
    for (int heroClass = 0; heroClass < ClassCount; ++heroClass)
    {
        const int hero = CanonicalCombo(heroClass);
        for (int villain = 0; villain < ComboCount; ++villain)
        {
            const int villainClass = ClassOfCombo(villain);
            if (villainClass >= heroClass || (ComboMask(hero) & ComboMask(villain)) != 0)
                continue;
            const uint32_t *other = at(villainClass, PermuteCombo(hero, PermutationToCanonical(villain)));
            uint32_t *cell = at(heroClass, villain);
            cell[0] = static_cast<uint32_t>(PreflopBoards) - other[0] - other[1];
            cell[1] = other[1];
        }
    }
    built.ClassVsComboOfClass.assign(static_cast<size_t>(ClassCount) * ClassCount * 3, 0);
    for (int heroClass = 0; heroClass < ClassCount; ++heroClass)
    {
        int heroes[MaxClassCombos];
        const int count = CombosOfClass(heroClass, heroes);
        for (int villainClass = 0; villainClass < ClassCount; ++villainClass)
        {
            const int villain = CanonicalCombo(villainClass);
            const size_t cell =
                static_cast<size_t>(heroClass) * ClassCount + static_cast<size_t>(villainClass);
            uint32_t *sum = &built.ClassVsComboOfClass[cell * 3];
            for (int i = 0; i < count; ++i)
            {
                const uint32_t *counts =
                    at(heroClass, PermuteCombo(villain, PermutationToCanonical(heroes[i])));
                sum[0] += counts[0];
                sum[1] += counts[1];
                sum[2] += (ComboMask(heroes[i]) & ComboMask(villain)) == 0;
            }
        }
    }
    return built;
}

} // namespace cards
} // namespace ostrel
