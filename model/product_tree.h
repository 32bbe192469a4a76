/*
 * The quadrature method's product tree: at one node of the integral, for
 * every player i at once,
 *     sum_m prize_(m+1) [z^m] prod_(j != i) (a_j + b_j z),
 * the expected prize of a place decided by how many other clocks have rung.
 * Players are grouped by 15; the groups' products are multiplied up a
 * balanced tree, and the prize vector is pulled back down it (the transposed
 * products), then through each group's players one at a time.
 *
 * Windows: each product is kept only for the counts of rung clocks whose
 * chance is not negligible (Bernstein's bound on the count, from its mean
 * and variance), about 2 sqrt(2 L V) + L coefficients with L ~ 87 and
 * V <= size / 4, and never past the paid places. What is left out is a
 * chance under e^-negligible in all, as the band of the other passes.
 *
 * Accuracy: fast products err by about log2(N) ulp of the largest
 * coefficient involved, not of each one. Where the count expected is past
 * the paid places the factors are tilted (see Tilt) so that the paid tail
 * sits at the top of every product. The pull-back keeps every entry at most
 * the largest prize in the root's window (tilted prizes only shrink), so
 * each sum is within about 1e-15 of that prize; a sum under MinimumShare of
 * it (a deep or gapped ladder) refuses the node, and the caller takes
 * another pass. Measured: within 6e-15 of the full band.
 *
 * Cost per node: O(n log^2 w) for w the largest window, plus about 15 n for
 * the groups, and O(n) exponentials and logarithms at a tilted node.
 * Memory: Doubles(n, paid), about 2 n log2(n / 15) + 20 min(n, paid).
 */
#ifndef OSTREL_MODEL_PRODUCT_TREE_H
#define OSTREL_MODEL_PRODUCT_TREE_H

#include <cstddef>
#include <vector>

#include "fast_products.h"

namespace ostrel
{

// The smallest sum, as a share of the largest prize in the window, that the
// tree keeps: its rounding, about 1e-15 of that prize, stays under 1e-12 of it.
constexpr double MinimumShare = 1e-3;

// Bernstein: a sum of independent indicators with variance v strays from its
// mean by r or more with a chance under e^-bound each way, for this r.
double BernsteinReach(double variance, double bound);

class ProductTree
{
  public:
    // Shapes the tree for `players` and readies its memory.
    void Prepare(size_t players, size_t paid);

    // sums[0 .. players) as above, counts whose chance is under e^-negligible
    // left out. Returns false, sums unspecified, where the node is refused.
    bool PrizeSums(const double *a, const double *b, const double *prizes, double negligible, double *sums);

    // Doubles Prepare takes, an upper bound.
    static double Doubles(double players, double paid);

  private:
    struct Node
    {
        size_t First, Last; // players
        size_t Left, Right; // children; Leaf for a group
        size_t Depth;
        size_t Low, High; // window of counts, this node
        size_t Offset;    // of its product in Products
    };
    static constexpr size_t Leaf = static_cast<size_t>(-1);

    size_t Build(size_t first, size_t last, size_t depth);
    void Up(size_t node, const double *a, const double *b);
    void Down(size_t node, const double *a, const double *b, double *sums);
    void GroupSums(const Node &node, const double *a, const double *b, const double *pulled, double *sums);
    void Moments(const double *a, const double *b);
    bool PastPaid() const;
    bool Tilt(const double *a, const double *b);

    std::vector<Node> Nodes;
    size_t Paid = 0;
    std::vector<double> Mean, Variance;              // prefix sums over the players
    std::vector<double> TiltedA, TiltedB, LogFactor; // the tilted factors, ln(a + lambda b)
    double LogLambda = 0.0;
    double LogTotal = 0.0;
    std::vector<double> Products;            // every node's window
    std::vector<std::vector<double>> Pulled; // the pulled-back prizes, one vector per depth
    std::vector<double> Scratch, Wide;       // a product in full; a pull-back's input
    std::vector<double> Rows, Prefix;        // a group's pass
    FastProducts Fast;
};

} // namespace ostrel

#endif
