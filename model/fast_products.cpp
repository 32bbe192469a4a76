/*
 * Fast products: one complex transform carries both real operands,
 * z = alpha a + i beta b, and Im(z * z) / (2 alpha beta) is their product,
 * so a product costs two transforms. alpha and beta are powers of two that
 * bring both operands' largest coefficients near 1, where the rounding of
 * the two halves of z weighs the same (the real half, a^2 - b^2, leaks into
 * the imaginary by rounding: with b = 0 that leak would be all the output,
 * so a zero operand gives zeros without a transform).
 */
#include "fast_products.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <utility>

#include "portable_math.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace ostrel
{
namespace
{

size_t PowerOfTwoFrom(size_t count)
{
    size_t size = 1;
    while (size < count)
        size *= 2;
    return size;
}

// 2^-e with 2^(e-1) <= the largest |coefficient| < 2^e; 0 for all zeros.
double Balance(const double *values, size_t count)
{
    double largest = 0.0;
    for (size_t i = 0; i < count; ++i)
        largest = std::max(largest, std::fabs(values[i]));
    if (!(largest > 0.0))
        return 0.0;
    int exponent = 0;
    std::frexp(largest, &exponent);
    return std::ldexp(1.0, -exponent);
}

/*
 * out[lane] = sum_k c[k] x[k step + lane] for lane < 16, k rising: sixteen
 * chains of additions side by side (eight registers of two, enough to keep
 * both adders of a core busy while each sum waits on its last addition).
 * Each output is still summed alone over its terms in order, so the bits
 * are those of the plain loop.
 */
void SixteenSums(const double *c, size_t count, const double *x, std::ptrdiff_t step, double *out)
{
#if defined(__SSE2__)
    __m128d s0 = _mm_setzero_pd(), s1 = _mm_setzero_pd(), s2 = _mm_setzero_pd(), s3 = _mm_setzero_pd();
    __m128d s4 = _mm_setzero_pd(), s5 = _mm_setzero_pd(), s6 = _mm_setzero_pd(), s7 = _mm_setzero_pd();
    for (size_t k = 0; k < count; ++k, x += step)
    {
        const __m128d w = _mm_set1_pd(c[k]);
        s0 = _mm_add_pd(s0, _mm_mul_pd(w, _mm_loadu_pd(x)));
        s1 = _mm_add_pd(s1, _mm_mul_pd(w, _mm_loadu_pd(x + 2)));
        s2 = _mm_add_pd(s2, _mm_mul_pd(w, _mm_loadu_pd(x + 4)));
        s3 = _mm_add_pd(s3, _mm_mul_pd(w, _mm_loadu_pd(x + 6)));
        s4 = _mm_add_pd(s4, _mm_mul_pd(w, _mm_loadu_pd(x + 8)));
        s5 = _mm_add_pd(s5, _mm_mul_pd(w, _mm_loadu_pd(x + 10)));
        s6 = _mm_add_pd(s6, _mm_mul_pd(w, _mm_loadu_pd(x + 12)));
        s7 = _mm_add_pd(s7, _mm_mul_pd(w, _mm_loadu_pd(x + 14)));
    }
    _mm_storeu_pd(out, s0);
    _mm_storeu_pd(out + 2, s1);
    _mm_storeu_pd(out + 4, s2);
    _mm_storeu_pd(out + 6, s3);
    _mm_storeu_pd(out + 8, s4);
    _mm_storeu_pd(out + 10, s5);
    _mm_storeu_pd(out + 12, s6);
    _mm_storeu_pd(out + 14, s7);
#else
    double sum[16] = {};
    for (size_t k = 0; k < count; ++k, x += step)
        for (size_t lane = 0; lane < 16; ++lane)
            sum[lane] += c[k] * x[lane];
    std::copy_n(sum, 16, out);
#endif
}

// The same for eight outputs.
void EightSums(const double *c, size_t count, const double *x, std::ptrdiff_t step, double *out)
{
    double sum[8] = {};
    for (size_t k = 0; k < count; ++k, x += step)
        for (size_t lane = 0; lane < 8; ++lane)
            sum[lane] += c[k] * x[lane];
    std::copy_n(sum, 8, out);
}

} // namespace

/*
 * out[t] = sum_i a[i] b[t - i], i rising, for t in [from, to), a block of
 * outputs at a time; b is read from a copy with Pad zeros on each side.
 */
void FastProducts::Schoolbook(const double *a, size_t la, const double *b, size_t lb, double *out,
                              size_t from, size_t to)
{
    if (Padded.size() < lb + 2 * Pad)
        Padded.resize(lb + 2 * Pad);
    double *padded = Padded.data();
    std::fill_n(padded, Pad, 0.0);
    std::copy_n(b, lb, padded + Pad);
    std::fill_n(padded + Pad + lb, Pad, 0.0);
    // Outputs t .. t + lanes take the terms i in [first, last]; the zeros
    // each side of b give the zero terms this adds at the ends of a block,
    // which leave every sum as it is. The last block ends at the last output
    // and may overlap the one before: an output's sum is the same in either.
    auto block = [&](size_t lanes, size_t start) {
        const size_t first = start + 1 > lb ? start + 1 - lb : 0;
        const size_t last = std::min(la - 1, start + lanes - 1);
        const double *x = padded + Pad + start - first;
        (lanes == 16 ? SixteenSums : EightSums)(a + first, last + 1 - first, x, -1, out + start);
    };
    const size_t length = to - from;
    const size_t lanes = length >= 16 ? 16 : 8;
    size_t t = from;
    if (length >= lanes)
    {
        for (; t + lanes <= to; t += lanes)
            block(lanes, t);
        if (t < to)
            block(lanes, to - lanes);
        return;
    }
    for (; t < to; ++t)
    {
        double sum = 0.0;
        for (size_t i = t + 1 > lb ? t + 1 - lb : 0; i <= std::min(la - 1, t); ++i)
            sum += a[i] * b[t - i];
        out[t] = sum;
    }
}

size_t FastProducts::Doubles(size_t reach)
{
    return 4 * PowerOfTwoFrom(std::max<size_t>(reach, 2)) + reach + 2 * Pad;
}

void FastProducts::Prepare(size_t reach)
{
    if (Padded.size() < reach + 2 * Pad)
        Padded.resize(reach + 2 * Pad);
    const size_t size = PowerOfTwoFrom(std::max<size_t>(reach, 2));
    if (size <= TableSize)
        return;
    TableSize = size;
    // Stage by stage, so that each stage reads its roots in a row: the roots
    // of a butterfly span h at [h, 2 h), e^(i pi k / h) for k < h.
    Roots.resize(2 * size);
    for (size_t half = 1; half < size; half *= 2)
        for (size_t k = 0; k < half; ++k)
        {
            const double turn = static_cast<double>(k) / static_cast<double>(half); // exact
            Roots[2 * (half + k)] = PortableCosPi(turn);
            Roots[2 * (half + k) + 1] = PortableSinPi(turn);
        }
    Data.resize(2 * size);
}

// In place, radix 2, decimation in time: e^(-2 pi i j k / size), or
// e^(+...) unscaled when `inverse`.
void FastProducts::Transform(size_t size, bool inverse)
{
    double *x = Data.data();
    for (size_t i = 1, j = 0; i < size; ++i)
    {
        size_t bit = size >> 1;
        for (; (j & bit) != 0; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
        {
            std::swap(x[2 * i], x[2 * j]);
            std::swap(x[2 * i + 1], x[2 * j + 1]);
        }
    }
    for (size_t start = 0; start < size; start += 2) // span 1: the root is 1
    {
        const double ur = x[2 * start];
        const double ui = x[2 * start + 1];
        x[2 * start] = ur + x[2 * start + 2];
        x[2 * start + 1] = ui + x[2 * start + 3];
        x[2 * start + 2] = ur - x[2 * start + 2];
        x[2 * start + 3] = ui - x[2 * start + 3];
    }
    const double sign = inverse ? 1.0 : -1.0;
    for (size_t half = 2; half < size; half *= 2)
    {
        const double *roots = Roots.data() + 2 * half;
        for (size_t start = 0; start < size; start += 2 * half)
        {
            double *u = x + 2 * start;
            double *v = u + 2 * half;
#if defined(__SSE2__)
            // One complex number a register: v w = (vr wr - vi wi, vi wr + vr wi),
            // the same products and sums as below (a sum does not depend on
            // the order of its two terms), so the same bits.
            const __m128d flip = _mm_set_pd(0.0, -0.0);
            const __m128d signs = _mm_set_pd(sign, 1.0);
            for (size_t k = 0; k < half; ++k)
            {
                const __m128d w = _mm_mul_pd(_mm_loadu_pd(roots + 2 * k), signs); // (wr, wi)
                const __m128d vk = _mm_loadu_pd(v + 2 * k);                       // (vr, vi)
                const __m128d real = _mm_mul_pd(vk, _mm_unpacklo_pd(w, w));       // (vr wr, vi wr)
                const __m128d cross =
                    _mm_mul_pd(_mm_shuffle_pd(vk, vk, 1), _mm_unpackhi_pd(w, w)); // (vi wi, vr wi)
                const __m128d product = _mm_add_pd(real, _mm_xor_pd(cross, flip));
                const __m128d uk = _mm_loadu_pd(u + 2 * k);
                _mm_storeu_pd(v + 2 * k, _mm_sub_pd(uk, product));
                _mm_storeu_pd(u + 2 * k, _mm_add_pd(uk, product));
            }
#else
            for (size_t k = 0; k < half; ++k)
            {
                const double wr = roots[2 * k];
                const double wi = sign * roots[2 * k + 1];
                const double vr = v[2 * k] * wr - v[2 * k + 1] * wi;
                const double vi = v[2 * k] * wi + v[2 * k + 1] * wr;
                v[2 * k] = u[2 * k] - vr;
                v[2 * k + 1] = u[2 * k + 1] - vi;
                u[2 * k] = u[2 * k] + vr;
                u[2 * k + 1] = u[2 * k + 1] + vi;
            }
#endif
        }
    }
}

// Data = transform of z; afterwards Data holds size * (z cyclically convolved with z).
void FastProducts::SquareAndInvert(size_t size)
{
    Transform(size, false);
    double *x = Data.data();
    for (size_t i = 0; i < size; ++i)
    {
        const double re = x[2 * i];
        const double im = x[2 * i + 1];
        x[2 * i] = re * re - im * im;
        x[2 * i + 1] = 2.0 * (re * im);
    }
    Transform(size, true);
}

void FastProducts::Multiply(const double *a, size_t la, const double *b, size_t lb, double *out)
{
    Multiply(a, la, b, lb, out, 0, la + lb - 1);
}

void FastProducts::Multiply(const double *a, size_t la, const double *b, size_t lb, double *out, size_t from,
                            size_t to)
{
    const size_t length = la + lb - 1;
    to = std::min(to, length);
    if (from >= to)
        return;
    if (std::min(la, lb) < SchoolbookBelow)
    {
        Schoolbook(a, la, b, lb, out, from, to);
        return;
    }
    const size_t size = PowerOfTwoFrom(length);
    Prepare(size);
    const double alpha = Balance(a, la);
    const double beta = Balance(b, lb);
    if (alpha == 0.0 || beta == 0.0) // the rounding of one operand's square would be all there is
    {
        std::fill_n(out + from, to - from, 0.0);
        return;
    }
    double *x = Data.data();
    std::fill_n(x, 2 * size, 0.0);
    for (size_t i = 0; i < la; ++i)
        x[2 * i] = alpha * a[i];
    for (size_t i = 0; i < lb; ++i)
        x[2 * i + 1] = beta * b[i];
    SquareAndInvert(size);
    const double half = 0.5 / static_cast<double>(size); // powers of two: exact scalings
    for (size_t i = from; i < to; ++i)
        out[i] = x[2 * i + 1] * half / alpha / beta;
}

/*
 * The reversed q convolved with g: term t = lq - 1 + d is out[d]; a cyclic
 * convolution of size >= lg wraps only terms below lq - 1.
 */
void FastProducts::PullBack(const double *q, size_t lq, const double *g, size_t lg, double *out)
{
    const size_t length = lg - lq + 1;
    if (std::min(lq, length) < SchoolbookBelow)
    {
        // Blocks as in Schoolbook, the last one ending at the last output.
        // The terms where g is 0 beyond its nonzero run [low, high) are left
        // out of each block: they add zeros, which leave every sum as it is.
        size_t low = 0;
        while (low < lg && g[low] == 0.0)
            ++low;
        size_t high = lg;
        while (high > low && g[high - 1] == 0.0)
            --high;
        auto block = [&](size_t lanes, size_t start) {
            // Terms e with start + lane + e in [low, high) for some lane.
            const size_t first = low > start + lanes - 1 ? low - (start + lanes - 1) : 0;
            const size_t last = std::min(lq, high > start ? high - start : 0);
            if (first >= last)
            {
                std::fill_n(out + start, lanes, 0.0);
                return;
            }
            (lanes == 16 ? SixteenSums : EightSums)(q + first, last - first, g + start + first, 1,
                                                    out + start);
        };
        const size_t lanes = length >= 16 ? 16 : 8;
        if (length >= lanes)
        {
            size_t d = 0;
            for (; d + lanes <= length; d += lanes)
                block(lanes, d);
            if (d < length)
                block(lanes, length - lanes);
            return;
        }
        for (size_t d = 0; d < length; ++d)
        {
            double sum = 0.0;
            for (size_t e = 0; e < lq; ++e)
                sum += q[e] * g[d + e];
            out[d] = sum;
        }
        return;
    }
    const size_t size = PowerOfTwoFrom(lg);
    Prepare(size);
    const double alpha = Balance(q, lq);
    const double beta = Balance(g, lg);
    if (alpha == 0.0 || beta == 0.0)
    {
        std::fill_n(out, length, 0.0);
        return;
    }
    double *x = Data.data();
    std::fill_n(x, 2 * size, 0.0);
    for (size_t e = 0; e < lq; ++e)
        x[2 * (lq - 1 - e)] = alpha * q[e];
    for (size_t i = 0; i < lg; ++i)
        x[2 * i + 1] = beta * g[i];
    SquareAndInvert(size);
    const double half = 0.5 / static_cast<double>(size);
    for (size_t d = 0; d < length; ++d)
        out[d] = x[2 * (lq - 1 + d) + 1] * half / alpha / beta;
}

} // namespace ostrel
