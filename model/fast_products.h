/*
 * Products of polynomials with real coefficients by the fast Fourier
 * transform, for the quadrature method's product tree: the full product,
 * and the middle product that pulls a vector back through a polynomial.
 * Radix 2, its roots from PortableSinPi and PortableCosPi and every sum in a
 * fixed order, so that every platform gives the same bits.
 *
 * Cost: two transforms of the next power of two past the output's reach,
 * N log2 N complex butterflies each; below SchoolbookBelow coefficients in
 * the shorter operand, the schoolbook product instead.
 * Accuracy: every coefficient within a few (log2 N) ulp of the product of
 * the operands' largest coefficients, not of its own size: callers keep
 * that in mind where the coefficients span many orders of magnitude.
 */
#ifndef OSTREL_MODEL_FAST_PRODUCTS_H
#define OSTREL_MODEL_FAST_PRODUCTS_H

#include <cstddef>
#include <vector>

namespace ostrel
{

constexpr size_t SchoolbookBelow = 384;

class FastProducts
{
  public:
    // Zeros on each side of a schoolbook operand: the widest block of outputs.
    static constexpr size_t Pad = 16;

    // Readies products of up to `reach` coefficients (a product's output; a
    // pull-back's g): the roots and the scratch, 4 N + reach + 2 Pad doubles for
    // the power of two N >= reach. A longer product readies itself.
    void Prepare(size_t reach);

    // out[0 .. la + lb - 1) = a * b.
    void Multiply(const double *a, size_t la, const double *b, size_t lb, double *out);

    // out[t] of a * b for t in [from, min(to, la + lb - 1)) only; the rest of
    // out[0 .. la + lb - 1) may be written. The schoolbook's work falls with
    // the outputs left out, the transform's does not.
    void Multiply(const double *a, size_t la, const double *b, size_t lb, double *out, size_t from,
                  size_t to);

    // out[d] = sum_e q[e] g[d + e] for d in [0, lg - lq + 1); lg >= lq >= 1.
    // The schoolbook leaves out the terms where g is 0 past its nonzero run.
    void PullBack(const double *q, size_t lq, const double *g, size_t lg, double *out);

    // Doubles Prepare(reach) takes.
    static size_t Doubles(size_t reach);

  private:
    void Transform(size_t size, bool inverse);
    void SquareAndInvert(size_t size);
    void Schoolbook(const double *a, size_t la, const double *b, size_t lb, double *out, size_t from,
                    size_t to);

    std::vector<double> Roots;  // cos, sin of pi k / h at [h + k], h = 1, 2, 4, ... < TableSize
    std::vector<double> Data;   // interleaved re, im
    std::vector<double> Padded; // a schoolbook operand between zeros
    size_t TableSize = 0;
};

} // namespace ostrel

#endif
