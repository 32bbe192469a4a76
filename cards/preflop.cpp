/*
 * The preflop tables, built once from the generated counts:
 * HeroVsCombo[a][v] is class a's canonical combo against combo v (from the
 * generated orbit representatives, or by symmetry from the other side when v's
 * class comes first); ClassVsCombo and ClassVsClass are its sums over the
 * combos of a class, which depend only on the villain combo's class (so
 * they are kept per class). Cost of the build: some 700,000 small steps, a
 * few milliseconds, once; memory about 3 MB.
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
namespace
{

// 12 bytes a record: the program reads all of them at start.
struct PreflopRecord
{
    uint16_t Hero;
    uint16_t Villain;
    uint32_t Wins; // at most 1,712,304
    uint32_t Ties;
};

const PreflopRecord Records[] = {
#include "preflop_table.inc"
};

struct Cell
{
    uint32_t Wins;
    uint32_t Ties;
    uint32_t Pairs; // combo pairs without a shared card
};

// One combo against one combo: whether they share a card follows from the
// combos, so 8 bytes a cell.
struct Counts
{
    uint32_t Wins;
    uint32_t Ties;
};

struct PreflopTables
{
    std::vector<Counts> HeroVsCombo; // [class * ComboCount + combo]
    // A class against any combo of a class: [class * ClassCount + class].
    std::vector<Cell> ClassVsComboOfClass;
    std::vector<uint8_t> ToCanonical; // [combo]: a permutation to its class's canonical combo
    int Classes[ComboCount];
    CardSet Masks[ComboCount];
    const uint16_t *Images[SuitPermutationCount]; // PermutationImages
};

Cell Reversed(const Cell &cell)
{
    const uint32_t boards = static_cast<uint32_t>(PreflopBoards) * cell.Pairs;
    return Cell{boards - cell.Wins - cell.Ties, cell.Ties, cell.Pairs};
}

std::unique_ptr<PreflopTables> BuildTables()
{
    auto tables = std::make_unique<PreflopTables>();
    for (int combo = 0; combo < ComboCount; ++combo)
    {
        tables->Classes[combo] = ClassOfCombo(combo);
        tables->ToCanonical.push_back(static_cast<uint8_t>(PermutationToCanonical(combo)));
    }
    const size_t cells = static_cast<size_t>(ClassCount) * ComboCount;
    tables->HeroVsCombo.assign(cells, Counts{0, 0});
    const uint16_t *const *images = tables->Images;
    for (int p = 0; p < SuitPermutationCount; ++p)
        tables->Images[p] = PermutationImages(p);
    const CardSet *masks = tables->Masks;
    for (int combo = 0; combo < ComboCount; ++combo)
        tables->Masks[combo] = ComboMask(combo);
    const auto at = [&](int heroClass, int combo) -> Counts & {
        return tables->HeroVsCombo[static_cast<size_t>(heroClass) * ComboCount + static_cast<size_t>(combo)];
    };
    // Each record stands for the orbit of its villain under the renamings
    // that keep the hero's canonical combo.
    int keeping[ClassCount][SuitPermutationCount];
    int keepingCount[ClassCount] = {};
    for (int heroClass = 0; heroClass < ClassCount; ++heroClass)
        for (int p = 0; p < SuitPermutationCount; ++p)
            if (images[p][CanonicalCombo(heroClass)] == CanonicalCombo(heroClass))
                keeping[heroClass][keepingCount[heroClass]++] = p;
    for (const PreflopRecord &record : Records)
        for (int i = 0; i < keepingCount[record.Hero]; ++i)
            at(record.Hero, images[keeping[record.Hero][i]][record.Villain]) =
                Counts{record.Wins, record.Ties};
    // Villains of a class before the hero's: from the other side.
    for (int heroClass = 0; heroClass < ClassCount; ++heroClass)
    {
        const int hero = CanonicalCombo(heroClass);
        for (int villain = 0; villain < ComboCount; ++villain)
        {
            const int villainClass = tables->Classes[villain];
            if (villainClass >= heroClass || (masks[hero] & masks[villain]) != 0)
                continue;
            const uint16_t *image = images[tables->ToCanonical[static_cast<size_t>(villain)]];
            const Counts &other = at(villainClass, image[hero]);
            at(heroClass, villain) =
                Counts{static_cast<uint32_t>(PreflopBoards) - other.Wins - other.Ties, other.Ties};
        }
    }
    // A whole class against a combo depends only on the combo's class (a
    // renaming maps the class onto itself): summed for each class's
    // canonical combo.
    tables->ClassVsComboOfClass.assign(static_cast<size_t>(ClassCount) * ClassCount, Cell{0, 0, 0});
    for (int heroClass = 0; heroClass < ClassCount; ++heroClass)
    {
        int heroes[MaxClassCombos];
        const int count = CombosOfClass(heroClass, heroes);
        for (int villainClass = 0; villainClass < ClassCount; ++villainClass)
        {
            const int villain = CanonicalCombo(villainClass);
            Cell &sum = tables->ClassVsComboOfClass[static_cast<size_t>(heroClass) * ClassCount +
                                                   static_cast<size_t>(villainClass)];
            for (int i = 0; i < count; ++i)
            {
                const Counts &cell = at(heroClass, images[tables->ToCanonical[static_cast<size_t>(heroes[i])]][villain]);
                sum.Wins += cell.Wins;
                sum.Ties += cell.Ties;
                sum.Pairs += (masks[heroes[i]] & masks[villain]) == 0;
            }
        }
    }
    return tables;
}

const PreflopTables &Preflop()
{
    static const std::unique_ptr<PreflopTables> tables = BuildTables();
    return *tables;
}

MatchupCounts CountsOf(const Cell &cell)
{
    MatchupCounts counts;
    counts.Wins = cell.Wins;
    counts.Ties = cell.Ties;
    counts.Showdowns = uint64_t{cell.Pairs} * PreflopBoards;
    return counts;
}

const Cell &ClassCell(const PreflopTables &tables, int heroClass, int villainCombo)
{
    return tables.ClassVsComboOfClass[static_cast<size_t>(heroClass) * ClassCount +
                                      static_cast<size_t>(tables.Classes[villainCombo])];
}

// Every combo of one class against every combo of another: each villain
// combo sees the same sums.
MatchupCounts ClassTotals(const PreflopTables &tables, int heroClass, int villainClass)
{
    const Cell &cell =
        tables.ClassVsComboOfClass[static_cast<size_t>(heroClass) * ClassCount + static_cast<size_t>(villainClass)];
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
    const Counts &counts = tables.HeroVsCombo[static_cast<size_t>(tables.Classes[hero]) * ComboCount +
                                              tables.Images[permutation][villain]];
    return Cell{counts.Wins, counts.Ties, (tables.Masks[hero] & tables.Masks[villain]) == 0 ? 1u : 0u};
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
    return ClassTotals(Preflop(), hero, villain);
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
void Dots(const double *x, const Counts *cells, size_t n, double &wins, double &ties)
{
    double w[4] = {0.0, 0.0, 0.0, 0.0};
    double t[4] = {0.0, 0.0, 0.0, 0.0};
    size_t i = 0;
    for (; i + 4 <= n; i += 4)
        for (size_t j = 0; j < 4; ++j)
        {
            w[j] += x[i + j] * static_cast<double>(cells[i + j].Wins);
            t[j] += x[i + j] * static_cast<double>(cells[i + j].Ties);
        }
    for (; i < n; ++i)
    {
        w[0] += x[i] * static_cast<double>(cells[i].Wins);
        t[0] += x[i] * static_cast<double>(cells[i].Ties);
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
        const size_t offset = static_cast<size_t>(a) * ComboCount;
        double wins = 0.0;
        double ties = 0.0;
        Dots(row, tables.HeroVsCombo.data() + offset, ComboCount, wins, ties);
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
                const MatchupCounts counts = ClassTotals(tables, a, b);
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
                const Cell &cell = ClassCell(tables, a, v);
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
