/*
 * The product tree: windows from the counts' means and variances, products
 * up the tree, prize vectors pulled back down it, and each group's players
 * by the prefix and pulled-back vectors of the plain pass.
 */
#include "product_tree.h"

#include <algorithm>
#include <cmath>

#include "portable_math.h"

namespace ostrel
{
namespace
{

constexpr size_t GroupPlayers = 15; // a count of 0 to 15 takes 16 coefficients: products fit powers of two

size_t Capped(size_t players, size_t paid)
{
    return std::min(players + 1, paid);
}

} // namespace

double BernsteinReach(double variance, double bound)
{
    return bound / 3.0 + std::sqrt(bound * bound / 9.0 + 2.0 * bound * variance);
}

size_t ProductTree::Build(size_t first, size_t last, size_t depth)
{
    const size_t index = Nodes.size();
    Nodes.push_back({first, last, Leaf, Leaf, depth, 0, 0, 0});
    if (last - first > GroupPlayers)
    {
        const size_t groups = (last - first + GroupPlayers - 1) / GroupPlayers;
        const size_t middle = first + groups / 2 * GroupPlayers;
        const size_t left = Build(first, middle, depth + 1);
        const size_t right = Build(middle, last, depth + 1);
        Nodes[index].Left = left;
        Nodes[index].Right = right;
    }
    return index;
}

double ProductTree::Doubles(double players, double paid)
{
    const double groups = std::ceil(players / static_cast<double>(GroupPlayers));
    const double levels = std::ceil(std::log2(std::max(groups, 1.0))) + 1.0;
    const double capped = std::min(players + 1.0, paid);
    const double group = static_cast<double>(GroupPlayers);
    // Products: at most n + (nodes of the level) <= 2 n per level; the
    // pulled-back vectors, one per level; a product and a pull-back's input
    // of twice the window; the transforms: 4 N doubles, N up to 4 times it,
    // and a schoolbook operand of up to twice it.
    // The nodes, 2 per group of 8 doubles each, in a vector that may have grown to twice that.
    return 32.0 * groups + levels * 2.0 * players + levels * capped + 4.0 * capped + 18.0 * capped + 32.0 +
           5.0 * (players + 1.0) + (group + 1.0) * (group + 2.0) + 2.0 * (group + 2.0);
}

void ProductTree::Prepare(size_t players, size_t paid)
{
    Nodes.clear();
    Build(0, players, 0);
    Paid = paid;
    size_t stored = 0;
    size_t depth = 0;
    size_t reach = 2;
    for (const Node &node : Nodes)
    {
        stored += Capped(node.Last - node.First, paid);
        depth = std::max(depth, node.Depth);
        if (node.Left != Leaf)
            reach = std::max(reach, Capped(Nodes[node.Left].Last - Nodes[node.Left].First, paid) +
                                        Capped(Nodes[node.Right].Last - Nodes[node.Right].First, paid));
    }
    Products.resize(stored);
    Pulled.resize(depth + 1);
    for (const Node &node : Nodes)
        if (Pulled[node.Depth].size() < Capped(node.Last - node.First, paid))
            Pulled[node.Depth].resize(Capped(node.Last - node.First, paid));
    Scratch.resize(reach);
    Wide.resize(reach);
    Mean.resize(players + 1);
    Variance.resize(players + 1);
    TiltedA.resize(players);
    TiltedB.resize(players);
    LogFactor.resize(players);
    Rows.resize((GroupPlayers + 1) * (GroupPlayers + 2));
    Prefix.resize(GroupPlayers + 2);
    Fast.Prepare(reach);
}

// The node's product on its window, from its children's or its players'.
void ProductTree::Up(size_t index, const double *a, const double *b)
{
    Node &node = Nodes[index];
    double *product = Products.data() + node.Offset;
    if (node.Left == Leaf)
    {
        const size_t size = node.Last - node.First;
        double *full = Prefix.data();
        std::fill_n(full, size + 1, 0.0);
        full[0] = 1.0;
        for (size_t j = 0; j < size; ++j)
        {
            const double aj = a[node.First + j];
            const double bj = b[node.First + j];
            for (size_t d = j + 1; d > 0; --d)
                full[d] = aj * full[d] + bj * full[d - 1];
            full[0] = aj * full[0];
        }
        std::copy(full + node.Low, full + node.High, product);
        return;
    }
    Up(node.Left, a, b);
    Up(node.Right, a, b);
    const Node &left = Nodes[node.Left];
    const Node &right = Nodes[node.Right];
    const size_t leftWidth = left.High - left.Low;
    const size_t rightWidth = right.High - right.Low;
    // Scratch[t] is the count left.Low + right.Low + t; only the node's
    // window is computed.
    const size_t start = left.Low + right.Low;
    const size_t end = start + leftWidth + rightWidth - 1;
    Fast.Multiply(Products.data() + left.Offset, leftWidth, Products.data() + right.Offset, rightWidth,
                  Scratch.data(), node.Low > start ? node.Low - start : 0,
                  node.High > start ? node.High - start : 0);
    const size_t from = std::min(std::max(start, node.Low), node.High);
    const size_t to = std::max(std::min(end, node.High), from);
    std::fill(product, product + (from - node.Low), 0.0);
    if (to > from)
        std::copy(Scratch.data() + (from - start), Scratch.data() + (to - start),
                  product + (from - node.Low));
    std::fill(product + (to - node.Low), product + (node.High - node.Low), 0.0);
}

/*
 * A child's pulled-back vector: the parent's, through the sibling's product,
 * g_child[d] = sum_e q_sibling[e] g_parent[d + e], the parent's taken as 0
 * outside its window.
 */
void ProductTree::Down(size_t index, const double *a, const double *b, double *sums)
{
    const Node &node = Nodes[index];
    const double *pulled = Pulled[node.Depth].data();
    if (node.Left == Leaf)
    {
        GroupSums(node, a, b, pulled, sums);
        return;
    }
    for (int side = 0; side < 2; ++side)
    {
        const size_t childIndex = side == 0 ? node.Left : node.Right;
        const Node &child = Nodes[childIndex];
        const Node &sibling = Nodes[side == 0 ? node.Right : node.Left];
        const size_t siblingWidth = sibling.High - sibling.Low;
        const size_t start = child.Low + sibling.Low;
        const size_t length = (child.High - child.Low) + siblingWidth - 1;
        // Wide[t] is the count start + t: the parent's window, zeros around it.
        const size_t from = std::min(std::max(start, node.Low), start + length);
        const size_t to = std::max(std::min(start + length, node.High), from);
        double *wide = Wide.data();
        std::fill(wide, wide + (from - start), 0.0);
        if (to > from)
            std::copy(pulled + (from - node.Low), pulled + (to - node.Low), wide + (from - start));
        std::fill(wide + (to - start), wide + length, 0.0);
        Fast.PullBack(Products.data() + sibling.Offset, siblingWidth, Wide.data(), length,
                      Pulled[child.Depth].data());
        Down(childIndex, a, b, sums);
    }
}

// A group's players: the prefix of those before each, dotted with the
// group's vector pulled back through those after it.
void ProductTree::GroupSums(const Node &node, const double *a, const double *b, const double *pulled,
                            double *sums)
{
    const size_t size = node.Last - node.First;
    const size_t stride = size + 2;
    double *rows = Rows.data();
    double *last = rows + (size - 1) * stride;
    for (size_t d = 0; d < stride; ++d)
        last[d] = d >= node.Low && d < node.High ? pulled[d - node.Low] : 0.0;
    // Player j's dot product reads its row at d <= j only, which takes the
    // row after it at d <= j + 1 only.
    for (size_t j = size - 1; j > 0; --j)
    {
        const double *from = rows + j * stride;
        double *to = rows + (j - 1) * stride;
        for (size_t d = 0; d < j; ++d)
            to[d] = a[node.First + j] * from[d] + b[node.First + j] * from[d + 1];
    }
    double *prefix = Prefix.data();
    std::fill_n(prefix, size + 1, 0.0);
    prefix[0] = 1.0;
    for (size_t j = 0; j < size; ++j)
    {
        const double *row = rows + j * stride;
        double sum = 0.0;
        for (size_t d = 0; d <= j; ++d)
            sum += prefix[d] * row[d];
        sums[node.First + j] = sum;
        const double aj = a[node.First + j];
        const double bj = b[node.First + j];
        for (size_t d = j + 1; d > 0; --d)
            prefix[d] = aj * prefix[d] + bj * prefix[d - 1];
        prefix[0] = aj * prefix[0];
    }
}

void ProductTree::Moments(const double *a, const double *b)
{
    const size_t players = Nodes.front().Last;
    Mean[0] = 0.0;
    Variance[0] = 0.0;
    for (size_t j = 0; j < players; ++j)
    {
        Mean[j + 1] = Mean[j] + b[j];
        Variance[j + 1] = Variance[j] + a[j] * b[j];
    }
}

// Whether the count expected at the root is past the last paid place.
bool ProductTree::PastPaid() const
{
    const size_t players = Nodes.front().Last;
    return Paid < players && Mean[players] > static_cast<double>(Paid - 1);
}

/*
 * Where the count expected is past the paid places, only the lower tail of
 * the count is paid, far under the largest coefficient. Each factor is then
 * tilted, (a + lambda b z) / (a + lambda b), which multiplies coefficient m
 * of every product by lambda^m / (its factors' a + lambda b); lambda < 1 is
 * chosen (Newton on ln lambda, whose derivative of the mean is the
 * variance) to bring the tilted count's mean to the last paid place, where
 * the sums are decided. Any lambda gives the same sums exactly; this one
 * keeps their terms near the largest coefficients.
 */
bool ProductTree::Tilt(const double *a, const double *b)
{
    const size_t players = Nodes.front().Last;
    const double paid = static_cast<double>(Paid);
    double low = -745.0; // ln lambda: the count surely under the paid places at `low`, over them at `high`
    double high = 0.0;
    double x = 0.0;
    bool found = false;
    for (int step = 0; step < 100 && !found; ++step)
    {
        const double lambda = PortableExp(x);
        double mean = 0.0;
        double variance = 0.0;
        for (size_t j = 0; j < players; ++j)
        {
            const double total = a[j] + lambda * b[j];
            const double tilted = lambda * b[j] / total;
            mean += tilted;
            variance += tilted * (a[j] / total);
        }
        const double over = mean - (paid - 1.0);
        found = over <= 0.0 && over > -(1.0 + 0.1 * std::sqrt(variance));
        if (found)
            break;
        (over > 0.0 ? high : low) = x;
        const double newton = variance > 0.0 ? x - over / variance : 0.5 * (low + high);
        x = newton > low && newton < high ? newton : 0.5 * (low + high);
    }
    if (!found)
        return false;
    LogLambda = x;
    const double lambda = PortableExp(x);
    double sum = 0.0;
    double lost = 0.0; // Neumaier's compensation: ln Z adds n logarithms
    for (size_t j = 0; j < players; ++j)
    {
        const double total = a[j] + lambda * b[j];
        TiltedA[j] = a[j] / total;
        TiltedB[j] = lambda * b[j] / total;
        LogFactor[j] = PortableLog(total);
        const double next = sum + LogFactor[j];
        lost += std::fabs(sum) >= std::fabs(LogFactor[j]) ? (sum - next) + LogFactor[j]
                                                          : (LogFactor[j] - next) + sum;
        sum = next;
    }
    LogTotal = sum + lost;
    return true;
}

bool ProductTree::PrizeSums(const double *a, const double *b, const double *prizes, double negligible,
                            double *sums)
{
    const size_t players = Nodes.front().Last;
    // Each window leaves out a chance under e^-bound on each side.
    const double bound = negligible + PortableLog(2.0 * static_cast<double>(Nodes.size() + 1));
    Moments(a, b);
    const bool tilted = PastPaid();
    if (tilted)
    {
        if (!Tilt(a, b))
            return false;
        a = TiltedA.data();
        b = TiltedB.data();
        Moments(a, b);
    }
    size_t offset = 0;
    for (Node &node : Nodes)
    {
        const double mean = Mean[node.Last] - Mean[node.First];
        const double spread = BernsteinReach(Variance[node.Last] - Variance[node.First], bound);
        const double size = static_cast<double>(node.Last - node.First);
        node.Low = mean - spread <= 0.0 ? 0 : static_cast<size_t>(mean - spread);
        const double top = std::min({size + 1.0, std::ceil(mean + spread) + 1.0, static_cast<double>(Paid)});
        node.High = static_cast<size_t>(top);
        if (node.Low >= node.High)
            return false;
        node.Offset = offset;
        offset += node.High - node.Low;
    }
    Up(0, a, b);
    const Node &root = Nodes.front();
    double *pulled = Pulled[0].data();
    const double last = static_cast<double>(Paid - 1);
    for (size_t d = root.Low; d < root.High; ++d)
        pulled[d - root.Low] =
            tilted ? prizes[d] * PortableExp((last - static_cast<double>(d)) * LogLambda) : prizes[d];
    const double largest = *std::max_element(pulled, pulled + (root.High - root.Low));
    if (!(largest > 0.0)) // no prize within the window: every sum is negligible
    {
        std::fill_n(sums, players, 0.0);
        return true;
    }
    Down(0, a, b, sums);
    for (size_t i = 0; i < players; ++i)
        if (!(sums[i] >= MinimumShare * largest))
            return false;
    if (tilted) // undo the tilt: sum_i = Z / (a_i + lambda b_i) * lambda^-(paid - 1) * tilted sum_i
        for (size_t i = 0; i < players; ++i)
            sums[i] *= PortableExp((LogTotal - LogFactor[i]) - last * LogLambda);
    return true;
}

} // namespace ostrel
