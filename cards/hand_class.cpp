/*
 * Combo and class numbering. Every function costs a few operations; the
 * class of a combo is arithmetic on its two ranks and suits.
 */
#include "hand_class.h"

#include <algorithm>

namespace ostrel
{
namespace cards
{

int ComboIndex(Card a, Card b)
{
    const int high = a > b ? a : b;
    const int low = a > b ? b : a;
    return high * (high - 1) / 2 + low;
}

namespace
{

struct ComboTable
{
    Combo Cards[ComboCount];
};

// Built by the compiler: combo -> its two cards.
constexpr ComboTable MakeComboTable()
{
    ComboTable table = {};
    int combo = 0;
    for (int high = 1; high < CardCount; ++high)
        for (int low = 0; low < high; ++low)
            table.Cards[combo++] = Combo{static_cast<Card>(high), static_cast<Card>(low)};
    return table;
}

constexpr ComboTable Combos = MakeComboTable();

} // namespace

Combo ComboCards(int combo)
{
    return Combos.Cards[combo];
}

CardSet ComboMask(int combo)
{
    const Combo cards = ComboCards(combo);
    return MaskOf(cards.High) | MaskOf(cards.Low);
}

int ClassOfRanks(int rankA, int rankB, bool suited)
{
    const int high = rankA > rankB ? rankA : rankB;
    const int low = rankA > rankB ? rankB : rankA;
    const int highRow = 12 - high;
    const int lowRow = 12 - low;
    if (high == low)
        return highRow * 13 + highRow;
    return suited ? highRow * 13 + lowRow : lowRow * 13 + highRow;
}

int ClassOfCombo(int combo)
{
    const Combo cards = ComboCards(combo);
    return ClassOfRanks(RankOf(cards.High), RankOf(cards.Low), SuitOf(cards.High) == SuitOf(cards.Low));
}

ClassKind KindOfClass(int handClass)
{
    const int row = handClass / 13;
    const int col = handClass % 13;
    return row == col ? ClassKind::Pair : row < col ? ClassKind::Suited : ClassKind::Offsuit;
}

int HighRankOfClass(int handClass)
{
    const int row = handClass / 13;
    const int col = handClass % 13;
    return 12 - (row < col ? row : col);
}

int LowRankOfClass(int handClass)
{
    const int row = handClass / 13;
    const int col = handClass % 13;
    return 12 - (row < col ? col : row);
}

std::string ClassName(int handClass)
{
    std::string name{RankChar(HighRankOfClass(handClass)), RankChar(LowRankOfClass(handClass))};
    const ClassKind kind = KindOfClass(handClass);
    if (kind != ClassKind::Pair)
        name += kind == ClassKind::Suited ? 's' : 'o';
    return name;
}

bool ParseClassName(std::string_view text, int &handClass)
{
    if (text.size() < 2 || text.size() > 3)
        return false;
    const int first = ParseRank(text[0]);
    const int second = ParseRank(text[1]);
    if (first < 0 || second < 0)
        return false;
    if (first == second)
    {
        if (text.size() != 2)
            return false;
        handClass = ClassOfRanks(first, second, false);
        return true;
    }
    if (text.size() != 3)
        return false;
    const char kind = text[2];
    if (kind == 's' || kind == 'S')
        handClass = ClassOfRanks(first, second, true);
    else if (kind == 'o' || kind == 'O')
        handClass = ClassOfRanks(first, second, false);
    else
        return false;
    return true;
}

// The cards of the two ranks, suit by suit, then sorted: at most 16 pairs
// looked at instead of all 1,326 combos.
int CombosOfClass(int handClass, int combos[MaxClassCombos])
{
    const int high = HighRankOfClass(handClass);
    const int low = LowRankOfClass(handClass);
    const ClassKind kind = KindOfClass(handClass);
    int count = 0;
    for (int a = 0; a < SuitCount; ++a)
        for (int b = 0; b < SuitCount; ++b)
        {
            const bool take = kind == ClassKind::Pair ? a < b : (kind == ClassKind::Suited) == (a == b);
            if (take)
                combos[count++] = ComboIndex(MakeCard(high, a), MakeCard(low, b));
        }
    std::sort(combos, combos + count);
    return count;
}

int ComboCountOfClass(int handClass)
{
    const ClassKind kind = KindOfClass(handClass);
    return kind == ClassKind::Pair ? 6 : kind == ClassKind::Suited ? 4 : 12;
}

} // namespace cards
} // namespace ostrel
