/*
 * The code that expands the preflop table's records (preflop_table.inc, one
 * villain combo per orbit of the suit renamings that keep the hero class's
 * canonical combo) into the cells the library reads: each class's canonical
 * combo against every combo, and each class against any combo of each class.
 * The generator (tools/make_preflop_cells.cpp) writes them into
 * preflop_cells.inc, constant data in the program's image, and a test builds
 * them again to compare; nothing here runs in the program. Cost: some
 * 20 million instructions and 2.2 MB.
 */
#ifndef OSTREL_CARDS_PREFLOP_BUILD_H
#define OSTREL_CARDS_PREFLOP_BUILD_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ostrel
{
namespace cards
{

// 12 bytes a record, as the generator of the records wrote them.
struct PreflopRecord
{
    uint16_t Hero;    // class
    uint16_t Villain; // combo
    uint32_t Wins;    // at most 1,712,304
    uint32_t Ties;
};

// The 47,086 generated records.
const PreflopRecord *PreflopRecords();
size_t PreflopRecordCount();

struct BuiltPreflopCells
{
    // [(class * ComboCount + combo) * 2 + 0 or 1]: the wins and the ties of
    // the class's canonical combo against the combo; 0 where they share a card.
    std::vector<uint32_t> HeroVsCombo;
    // [(class * ClassCount + class) * 3 + 0, 1 or 2]: the wins, ties and
    // combo pairs without a shared card of every combo of the first class
    // against one (any) combo of the second.
    std::vector<uint32_t> ClassVsComboOfClass;
};

BuiltPreflopCells BuildPreflopCells();

} // namespace cards
} // namespace ostrel

#endif
