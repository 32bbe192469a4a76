/*
 * Two-card starting hands: the 1,326 combos (two distinct cards) and the 169
 * classes players name them by ("AA", "AKs", "72o"). Class numbers follow the
 * usual 13 x 13 chart, row-major with the ace first: class = row * 13 + col,
 * pairs on the diagonal, suited hands above it (row = the higher rank),
 * offsuit hands below it (row = the lower rank). So class 0 is AA, 1 is AKs,
 * 13 is AKo and 168 is 22.
 */
#ifndef OSTREL_CARDS_HAND_CLASS_H
#define OSTREL_CARDS_HAND_CLASS_H

#include <string>
#include <string_view>

#include "card.h"

namespace ostrel
{
namespace cards
{

constexpr int ComboCount = 1326;
constexpr int ClassCount = 169;
constexpr int MaxClassCombos = 12;

// The two cards of a combo, High > Low as card numbers.
struct Combo
{
    Card High;
    Card Low;
};

enum class ClassKind
{
    Pair,
    Suited,
    Offsuit,
};

// Order-free; the cards must differ. Index = High * (High - 1) / 2 + Low.
int ComboIndex(Card a, Card b);
Combo ComboCards(int combo);
CardSet ComboMask(int combo);

int ClassOfCombo(int combo);
// The class of two ranks (0..12, any order) suited or not; a pair ignores
// `suited`.
int ClassOfRanks(int rankA, int rankB, bool suited);
ClassKind KindOfClass(int handClass);
// Higher and lower rank of a class (equal for a pair).
int HighRankOfClass(int handClass);
int LowRankOfClass(int handClass);

// "AA", "AKs", "AKo".
std::string ClassName(int handClass);
// "AA", "AKs", "AKo" (any case); false for anything else, including "AK".
bool ParseClassName(std::string_view text, int &handClass);

// Writes the combos of a class (6 for a pair, 4 suited, 12 offsuit) in
// ascending combo order and returns how many.
int CombosOfClass(int handClass, int combos[MaxClassCombos]);
int ComboCountOfClass(int handClass);

} // namespace cards
} // namespace ostrel

#endif
