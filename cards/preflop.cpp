/*
 * The preflop tables: HeroVsCombo (class a's canonical combo against combo v)
 * and ClassVsComboOfClass (every combo of a class against any combo of a
 * class, which depends only on that combo's class) are constant data
 * generated into preflop_cells.inc from the records (preflop_build.h), so a
 * process builds nothing but the combos' classes, masks and renamings (some
 * 20,000 small steps, 12 KB) and reads only the cells its question needs.
 */
#include "preflop.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "suit_symmetry.h"

namespace ostrel
{
namespace cards
{
namespace generated
{

#include "preflop_cells.inc"

} // namespace generated

namespace
{

struct Cell
{
    uint32_t Wins;
    uint32_t Ties;
    uint32_t Pairs; // combo pairs without a shared card
};

struct PreflopTables
{
    const uint32_t *HeroVsCombo = generated::HeroVsCombo; // [(class * ComboCount + combo) * 2]: wins, ties
    uint8_t ToCanonical[ComboCount]; // a permutation to the combo's class's canonical combo
    uint8_t Classes[ComboCount];
    CardSet Masks[ComboCount];
    const uint16_t *Images[SuitPermutationCount]; // PermutationImages
};

Cell Reversed(const Cell &cell)
{
    const uint32_t boards = static_cast<uint32_t>(PreflopBoards) * cell.Pairs;
    return Cell{boards - cell.Wins - cell.Ties, cell.Ties, cell.Pairs};
}

PreflopTables BuildTables()
{
    PreflopTables tables;
    for (int combo = 0; combo < ComboCount; ++combo)
    {
        tables.Classes[combo] = static_cast<uint8_t>(ClassOfCombo(combo));
        tables.ToCanonical[combo] = static_cast<uint8_t>(PermutationToCanonical(combo));
        tables.Masks[combo] = ComboMask(combo);
    }
    for (int p = 0; p < SuitPermutationCount; ++p)
        tables.Images[p] = PermutationImages(p);
    return tables;
}

const PreflopTables &Preflop()
{
    static const PreflopTables tables = BuildTables();
    return tables;
}

MatchupCounts CountsOf(const Cell &cell)
{
    MatchupCounts counts;
    counts.Wins = cell.Wins;
    counts.Ties = cell.Ties;
    counts.Showdowns = uint64_t{cell.Pairs} * PreflopBoards;
    return counts;
}

Cell ClassCellOfClass(int heroClass, int villainClass)
{
    const uint32_t *cell =
        generated::ClassVsComboOfClass +
        (static_cast<size_t>(heroClass) * ClassCount + static_cast<size_t>(villainClass)) * 3;
    return Cell{cell[0], cell[1], cell[2]};
}

Cell ClassCell(const PreflopTables &tables, int heroClass, int villainCombo)
{
    return ClassCellOfClass(heroClass, tables.Classes[villainCombo]);
}

// Every combo of one class against every combo of another: each villain
// combo sees the same sums.
MatchupCounts ClassTotals(int heroClass, int villainClass)
{
    const Cell cell = ClassCellOfClass(heroClass, villainClass);
    const uint64_t combos = static_cast<uint64_t>(ComboCountOfClass(villainClass));
    MatchupCounts counts;
    counts.Wins = combos * cell.Wins;
    counts.Ties = combos * cell.Ties;
    counts.Showdowns = combos * cell.Pairs * PreflopBoards;
    return counts;
}

Cell ComboCell(const PreflopTables &tables, int hero, int villain)
{
    const int permutation = tables.ToCanonical[static_cast<size_t>(hero)];
    const uint32_t *counts =
        tables.HeroVsCombo +
        (static_cast<size_t>(tables.Classes[hero]) * ComboCount + tables.Images[permutation][villain]) * 2;
    return Cell{counts[0], counts[1], (tables.Masks[hero] & tables.Masks[villain]) == 0 ? 1u : 0u};
}

// One weight for the class, or -1 when its combos differ.
double ClassWeight(const Range &range, const int *combos, int count)
{
    const double first = range.Weight[static_cast<size_t>(combos[0])];
    for (int i = 1; i < count; ++i)
        if (range.Weight[static_cast<size_t>(combos[i])] != first)
            return -1.0;
    return first;
}

struct Sums
{
    double Wins = 0.0;
    double Ties = 0.0;
    double Showdowns = 0.0;

    void Add(double weight, uint64_t wins, uint64_t ties, uint64_t showdowns)
    {
        Wins += weight * static_cast<double>(wins);
        Ties += weight * static_cast<double>(ties);
        Showdowns += weight * static_cast<double>(showdowns);
    }
};

struct ClassSplit
{
    int Combos[ClassCount][MaxClassCombos];
    int Count[ClassCount];
};

const ClassSplit &Split()
{
    static const ClassSplit split = []() {
        ClassSplit made = {};
        for (int c = 0; c < ClassCount; ++c)
            made.Count[c] = CombosOfClass(c, made.Combos[c]);
        return made;
    }();
    return split;
}

} // namespace

MatchupCounts ClassVsClass(int hero, int villain)
{
    return ClassTotals(hero, villain);
}

MatchupCounts ComboVsCombo(int hero, int villain)
{
    return CountsOf(ComboCell(Preflop(), hero, villain));
}

MatchupCounts ClassVsCombo(int heroClass, int villainCombo)
{
    return CountsOf(
        ClassCell(Preflop(), heroClass, villainCombo));
}

namespace
{

// The weights' dot products with a row's wins and with its ties, each as
// four running sums taken in a fixed order: the same bits on every build,
// and four additions in flight at once.
void Dots(const double *x, const uint32_t *cells, size_t n, double &wins, double &ties)
{
    double w[4] = {0.0, 0.0, 0.0, 0.0};
    double t[4] = {0.0, 0.0, 0.0, 0.0};
    size_t i = 0;
    for (; i + 4 <= n; i += 4)
        for (size_t j = 0; j < 4; ++j)
        {
            w[j] += x[i + j] * static_cast<double>(cells[2 * (i + j)]);
            t[j] += x[i + j] * static_cast<double>(cells[2 * (i + j) + 1]);
        }
    for (; i < n; ++i)
    {
        w[0] += x[i] * static_cast<double>(cells[2 * i]);
        t[0] += x[i] * static_cast<double>(cells[2 * i + 1]);
    }
    wins = (w[0] + w[1]) + (w[2] + w[3]);
    ties = (t[0] + t[1]) + (t[2] + t[3]);
}

// Every hero combo of a class of mixed weights against every villain combo
// of a class of mixed weights. Hero combo h sees villain combo v as its class's
// canonical combo sees v's image under h's renaming, so the villain's weights
// are renamed once per renaming in use and each hero combo is two dot
// products with its class's row of counts. Cost: 24 x 1,326 stores plus
// 2 x 1,326 multiply-adds per hero combo of mixed weight.
void AddMixedAgainstMixed(const PreflopTables &tables, const Range &hero, const bool *heroMixed,
                          const Range &villain, const bool *villainMixed, Sums &sums)
{
    if (std::none_of(heroMixed, heroMixed + ClassCount, [](bool mixed) { return mixed; }) ||
        std::none_of(villainMixed, villainMixed + ClassCount, [](bool mixed) { return mixed; }))
        return;
    std::vector<double> weights(ComboCount, 0.0);
    double cardWeight[CardCount] = {};
    double total = 0.0;
    for (int v = 0; v < ComboCount; ++v)
        if (villainMixed[tables.Classes[v]])
        {
            const double w = villain.Weight[static_cast<size_t>(v)];
            weights[static_cast<size_t>(v)] = w;
            const Combo cards = ComboCards(v);
            cardWeight[cards.High] += w;
            cardWeight[cards.Low] += w;
            total += w;
        }
    if (!(total > 0.0))
        return;
    // A row is written whole (each renaming is a bijection) before it is read.
    const std::unique_ptr<double[]> renamed(new double[static_cast<size_t>(SuitPermutationCount) * ComboCount]);
    bool built[SuitPermutationCount] = {};
    for (int h = 0; h < ComboCount; ++h)
    {
        const double wh = hero.Weight[static_cast<size_t>(h)];
        const int a = tables.Classes[h];
        if (!heroMixed[a] || wh == 0.0)
            continue;
        const int permutation = tables.ToCanonical[static_cast<size_t>(h)];
        double *row = renamed.get() + static_cast<size_t>(permutation) * ComboCount;
        if (!built[permutation])
        {
            const uint16_t *images = PermutationImages(permutation);
            for (int v = 0; v < ComboCount; ++v)
                row[images[v]] = weights[static_cast<size_t>(v)];
            built[permutation] = true;
        }
        const size_t offset = static_cast<size_t>(a) * ComboCount * 2;
        double wins = 0.0;
        double ties = 0.0;
        Dots(row, tables.HeroVsCombo + offset, ComboCount, wins, ties);
        // Villain combos sharing a card with h: those holding either card,
        // h itself counted twice.
        const Combo cards = ComboCards(h);
        const double live = total - cardWeight[cards.High] - cardWeight[cards.Low] + weights[static_cast<size_t>(h)];
        sums.Wins += wh * wins;
        sums.Ties += wh * ties;
        sums.Showdowns += wh * live * static_cast<double>(PreflopBoards);
    }
}

} // namespace

Status HeadsUpPreflop(const Range &hero, const Range &villain, HeadsUpEquity &result)
{
    result = HeadsUpEquity();
    const double heroLargest = *std::max_element(hero.Weight.begin(), hero.Weight.end());
    const double villainLargest = *std::max_element(villain.Weight.begin(), villain.Weight.end());
    if (NormalWeight(1.0, heroLargest) != 1.0 || NormalWeight(1.0, villainLargest) != 1.0)
    {
        Range normalHero = hero;
        Range normalVillain = villain;
        for (double &weight : normalHero.Weight)
            weight = NormalWeight(weight, heroLargest);
        for (double &weight : normalVillain.Weight)
            weight = NormalWeight(weight, villainLargest);
        const Status status = HeadsUpPreflop(normalHero, normalVillain, result);
        result.Weight = result.Weight * heroLargest * villainLargest;
        return status;
    }
    const PreflopTables &tables = Preflop();
    const ClassSplit &split = Split();
    double heroWeight[ClassCount];
    double villainWeight[ClassCount];
    for (int c = 0; c < ClassCount; ++c)
    {
        heroWeight[c] = ClassWeight(hero, split.Combos[c], split.Count[c]);
        villainWeight[c] = ClassWeight(villain, split.Combos[c], split.Count[c]);
    }
    bool heroMixed[ClassCount];
    bool villainMixed[ClassCount];
    for (int c = 0; c < ClassCount; ++c)
    {
        heroMixed[c] = heroWeight[c] < 0.0;
        villainMixed[c] = villainWeight[c] < 0.0;
    }
    Sums sums;
    AddMixedAgainstMixed(tables, hero, heroMixed, villain, villainMixed, sums);
    for (int a = 0; a < ClassCount; ++a)
    {
        if (heroWeight[a] == 0.0)
            continue;
        for (int b = 0; b < ClassCount; ++b)
        {
            if (villainWeight[b] == 0.0 || (heroMixed[a] && villainMixed[b]))
                continue; // both mixed: AddMixedAgainstMixed
            if (heroWeight[a] > 0.0 && villainWeight[b] > 0.0)
            {
                const MatchupCounts counts = ClassTotals(a, b);
                sums.Add(heroWeight[a] * villainWeight[b], counts.Wins, counts.Ties, counts.Showdowns);
                continue;
            }
            if (villainWeight[b] > 0.0)
            {
                // Each hero combo against the whole villain class: the class's
                // counts against that combo, seen from the other side.
                for (int i = 0; i < split.Count[a]; ++i)
                {
                    const int h = split.Combos[a][i];
                    const double wh = hero.Weight[static_cast<size_t>(h)];
                    if (wh == 0.0)
                        continue;
                    const Cell cell = Reversed(ClassCell(tables, b, h));
                    sums.Add(wh * villainWeight[b], cell.Wins, cell.Ties, uint64_t{cell.Pairs} * PreflopBoards);
                }
                continue;
            }
            for (int j = 0; j < split.Count[b]; ++j)
            {
                const int v = split.Combos[b][j];
                const double wv = villain.Weight[static_cast<size_t>(v)];
                if (wv == 0.0)
                    continue;
                const Cell cell = ClassCell(tables, a, v);
                sums.Add(heroWeight[a] * wv, cell.Wins, cell.Ties, uint64_t{cell.Pairs} * PreflopBoards);
            }
        }
    }
    if (!(sums.Showdowns > 0.0))
        return Failure("the two ranges have no pair of hands without a card in common");
    result.Win = sums.Wins / sums.Showdowns;
    result.Tie = sums.Ties / sums.Showdowns;
    result.Equity = (sums.Wins + 0.5 * sums.Ties) / sums.Showdowns;
    result.Weight = sums.Showdowns / static_cast<double>(PreflopBoards);
    return Status();
}

Status ClassVsRange(int heroClass, const Range &villain, HeadsUpEquity &result)
{
    Range hero;
    SetClass(hero, heroClass, 1.0);
    return HeadsUpPreflop(hero, villain, result);
}

} // namespace cards
} // namespace ostrel
