/*
 * exp, expm1, log and log1p computed the same way on every platform, so
 * that the quadrature method gives the same bits on Linux and on Windows,
 * whose C libraries round these functions differently in the last place.
 */
#ifndef OSTREL_MODEL_PORTABLE_MATH_H
#define OSTREL_MODEL_PORTABLE_MATH_H

namespace ostrel
{

/*
 * Each uses only +, -, *, / of doubles and exponents read from or written
 * into the bits, which IEEE arithmetic defines to the bit; the model library
 * is built without contracted multiply-adds. exp and expm1 reduce x by
 * ln2 / 32 (split so that the product is exact) and take 2^(j/32) from a
 * table of pairs; log and log1p reduce to [sqrt(1/2), sqrt(2)) and sum the
 * series of atanh. Short Taylor series in both; where one rounding would
 * lose bits that count, they are carried as exact pairs (Knuth's sum,
 * Dekker's product) until the last step.
 *
 * Accuracy, against long double on millions of arguments over the whole
 * range: exp and expm1 within 0.53 units in the last place, log and log1p
 * within 0.71; exp's subnormal results within 0.75. Special values as the
 * C library's: NaN in, NaN out; exp(+inf) = +inf, exp(-inf) = 0, overflow
 * to +inf; log(0) = -inf, log of a negative number NaN; log1p(-1) = -inf.
 * Cost: exp and expm1 about 1.2 to 1.7 times the C library's, log and log1p
 * about 2 to 2.5 times (neither is in the quadrature method's inner loops).
 */
double PortableExp(double x);
double PortableExpm1(double x);
double PortableLog(double x);
double PortableLog1p(double x);

/*
 * sin(pi x) and cos(pi x), for the roots of unity of the quadrature method's
 * fast products: x is reduced exactly (modulo 2, then by the symmetries to
 * [0, 1/4]), and Taylor series in y = pi x to y^23 take the rest. Within
 * 1.8 units in the last place against long double on 4 million arguments
 * (the rounding of pi x is most of it); NaN for NaN and infinities.
 */
double PortableSinPi(double x);
double PortableCosPi(double x);

} // namespace ostrel

#endif
