/*
 * The portable exp, expm1, log and log1p: range reductions, a table of
 * 2^(j/32) and short Taylor series, in a fixed order of plain IEEE
 * operations.
 */
#include "portable_math.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace ostrel
{
namespace
{

// ln 2 = Ln2Hi + Ln2Lo to about 1e-27; Ln2Hi has 29 significant bits, so
// n Ln2Hi / 32 is exact for |n| < 2^24.
constexpr double Ln2Hi = 0x1.62e42ffp-1;
constexpr double Ln2Lo = -0x1.718432a1b0e26p-35;
constexpr double ThirtyTwoOverLn2 = 0x1.71547652b82fep+5;
constexpr double SqrtHalf = 0x1.6a09e667f3bcdp-1;

/*
 * A value as Hi + Lo with |Lo| at most half an ulp of Hi. Each function
 * ends with one rounding of a leading part plus a much smaller rest, so its
 * error is about half an ulp plus the rest's own error; exact sums and
 * products carry the bits that plain rounding would lose where that error
 * would otherwise count.
 */
struct Pair
{
    double Hi;
    double Lo;
};

// 2^(j/32) = Hi + Lo for j = 0..31, to within 5e-33 relative.
constexpr Pair PowersOfTwo[32] = {
    {0x1.0000000000000p+0, 0.0},
    {0x1.059b0d3158574p+0, 0x1.d73e2a475b465p-55},
    {0x1.0b5586cf9890fp+0, 0x1.8a62e4adc610bp-54},
    {0x1.11301d0125b51p+0, -0x1.6c51039449b3ap-54},
    {0x1.172b83c7d517bp+0, -0x1.19041b9d78a76p-55},
    {0x1.1d4873168b9aap+0, 0x1.e016e00a2643cp-54},
    {0x1.2387a6e756238p+0, 0x1.9b07eb6c70573p-54},
    {0x1.29e9df51fdee1p+0, 0x1.612e8afad1255p-55},
    {0x1.306fe0a31b715p+0, 0x1.6f46ad23182e4p-55},
    {0x1.371a7373aa9cbp+0, -0x1.63aeabf42eae2p-54},
    {0x1.3dea64c123422p+0, 0x1.ada0911f09ebcp-55},
    {0x1.44e086061892dp+0, 0x1.89b7a04ef80d0p-59},
    {0x1.4bfdad5362a27p+0, 0x1.d4397afec42e2p-56},
    {0x1.5342b569d4f82p+0, -0x1.07abe1db13cadp-55},
    {0x1.5ab07dd485429p+0, 0x1.6324c054647adp-54},
    {0x1.6247eb03a5585p+0, -0x1.383c17e40b497p-54},
    {0x1.6a09e667f3bcdp+0, -0x1.bdd3413b26456p-54},
    {0x1.71f75e8ec5f74p+0, -0x1.16e4786887a99p-55},
    {0x1.7a11473eb0187p+0, -0x1.41577ee04992fp-55},
    {0x1.82589994cce13p+0, -0x1.d4c1dd41532d8p-54},
    {0x1.8ace5422aa0dbp+0, 0x1.6e9f156864b27p-54},
    {0x1.93737b0cdc5e5p+0, -0x1.75fc781b57ebcp-57},
    {0x1.9c49182a3f090p+0, 0x1.c7c46b071f2bep-56},
    {0x1.a5503b23e255dp+0, -0x1.d2f6edb8d41e1p-54},
    {0x1.ae89f995ad3adp+0, 0x1.7a1cd345dcc81p-54},
    {0x1.b7f76f2fb5e47p+0, -0x1.5584f7e54ac3bp-56},
    {0x1.c199bdd85529cp+0, 0x1.11065895048ddp-55},
    {0x1.cb720dcef9069p+0, 0x1.503cbd1e949dbp-56},
    {0x1.d5818dcfba487p+0, 0x1.2ed02d75b3707p-55},
    {0x1.dfc97337b9b5fp+0, -0x1.1a5cd4f184b5cp-54},
    {0x1.ea4afa2a490dap+0, -0x1.e9c23179c2893p-54},
    {0x1.f50765b6e4540p+0, 0x1.9d3e12dd8a18bp-54},
};

/*
 * The series are summed by Estrin's scheme, pairs of terms first, so that
 * the multiplications do not wait on one another; the order is as fixed as
 * Horner's.
 */

// e^r - 1 - r = r^2 (1/2! + r/3! + ... + r^6/8!). For |r| <= ln2 / 64 the
// first term left out, r^9 / 9!, is under 5e-19 of r.
double ExpAbove(double r)
{
    const double r2 = r * r;
    const double r4 = r2 * r2;
    const double low = (1.0 / 2.0 + r * (1.0 / 6.0)) + r2 * (1.0 / 24.0 + r * (1.0 / 120.0));
    const double high = (1.0 / 720.0 + r * (1.0 / 5040.0)) + r2 * (1.0 / 40320.0);
    return r2 * (low + r4 * high);
}

// R(z) = sum_j 2 z^j / (2j + 1), j = 1..10: ln((1 + s) / (1 - s)) = 2s + s R(s^2).
// For |s| <= 0.1716 (below) the first term left out adds under 1e-18 relative.
double LogSeries(double z)
{
    const double z2 = z * z;
    const double z4 = z2 * z2;
    const double z8 = z4 * z4;
    const double first = (2.0 / 3.0 + z * (2.0 / 5.0)) + z2 * (2.0 / 7.0 + z * (2.0 / 9.0));
    const double second = (2.0 / 11.0 + z * (2.0 / 13.0)) + z2 * (2.0 / 15.0 + z * (2.0 / 17.0));
    const double third = 2.0 / 19.0 + z * (2.0 / 21.0);
    return z * ((first + z4 * second) + z8 * third);
}

// a + b and the exact error of its rounding, whatever their sizes (Knuth).
Pair TwoSum(double a, double b)
{
    const double sum = a + b;
    const double bPart = sum - a;
    return {sum, (a - (sum - bPart)) + (b - bPart)};
}

// a as the sum of halves of 26 and 27 bits, whose products are exact (Veltkamp).
Pair Split(double a)
{
    const double spread = 134217729.0 * a; // 2^27 + 1
    const double high = spread - (spread - a);
    return {high, a - high};
}

// a b exactly, for |a|, |b| < 2^996 (Dekker).
Pair TwoProduct(double a, double b)
{
    const Pair x = Split(a);
    const Pair y = Split(b);
    const double product = a * b;
    return {product, (((x.Hi * y.Hi - product) + x.Hi * y.Lo) + x.Lo * y.Hi) + x.Lo * y.Lo};
}

// 2^k for -1022 <= k <= 1023, from its bits.
double PowerOfTwo(int k)
{
    const uint64_t bits = static_cast<uint64_t>(k + 1023) << 52;
    double power = 0.0;
    std::memcpy(&power, &bits, sizeof power);
    return power;
}

// v 2^k for v near 1 and |k| up to about 1100: exact, but for one rounding
// where the result is subnormal, and +inf past the largest double.
double Scale(double v, int k)
{
    if (k > 1000)
        return v * PowerOfTwo(k - 1000) * 0x1p1000;
    if (k < -1000)
        return v * PowerOfTwo(k + 1000) * 0x1p-1000;
    return v * PowerOfTwo(k);
}

/*
 * x = (32 m + j) ln2 / 32 + r with |r| <= ln2 / 64 (plus a rounding), so
 * e^x = 2^m 2^(j/32) e^r = 2^m (P + P r + P (e^r - 1 - r)), P = 2^(j/32).
 */
struct Reduced
{
    int M;
    Pair Power;   // 2^(j/32)
    Pair R;       // r, exact but for the rounding of n Ln2Lo / 32 (under 1e-23)
    double Above; // e^r - 1 - r, about r^2 / 2
};

Reduced Reduce(double x)
{
    // Adding and taking away 1.5 * 2^52 rounds to the nearest integer.
    const double n = (x * ThirtyTwoOverLn2 + 0x1.8p52) - 0x1.8p52;
    const int k = static_cast<int>(n); // |n| under 2^16
    const int j = k & 31;
    Reduced reduced;
    reduced.M = (k - j) / 32;
    reduced.Power = PowersOfTwo[j];
    // n Ln2Hi / 32 and the first difference are exact.
    reduced.R = TwoSum(x - n * (Ln2Hi / 32.0), -(n * (Ln2Lo / 32.0)));
    reduced.Above = ExpAbove(reduced.R.Hi);
    return reduced;
}

// 2^(j/32) e^r - 2^(j/32), to about 1e-18 of 2^(j/32): far below an ulp of e^r.
double Rest(const Reduced &reduced)
{
    const double q = reduced.R.Hi + (reduced.R.Lo + reduced.Above);
    return reduced.Power.Hi * q + reduced.Power.Lo * (1.0 + q);
}

/*
 * ln(u) + c / u for a finite u > 0 and c no more than an ulp of u (the bits
 * of 1 + x that rounding lost, for log1p). With u = 2^e m, m in
 * [sqrt(1/2), sqrt(2)) and f = m - 1 exact, ln m = 2s + s R(s^2) where
 * s = f / (2 + f); written as f - f^2/2 + s (f^2/2 + R), which equals it,
 * so that the exact f carries the leading bits, and the roundings of f^2/2
 * and of s only touch much smaller parts.
 */
double LogWithCorrection(double u, double c)
{
    // u = m 2^e, 1 <= m < 2, from the bits; a subnormal u first scaled exactly.
    const int shift = u < 0x1p-1022 ? 54 : 0;
    const double scaled = shift > 0 ? u * 0x1p54 : u;
    uint64_t bits = 0;
    std::memcpy(&bits, &scaled, sizeof bits);
    int e = static_cast<int>(bits >> 52) - 1023 - shift;
    bits = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1023} << 52);
    double m = 0.0;
    std::memcpy(&m, &bits, sizeof m);
    if (m >= 2.0 * SqrtHalf)
    {
        m *= 0.5;
        e += 1;
    }
    const double f = m - 1.0;
    const double s = f / (2.0 + f);
    const double sum = LogSeries(s * s);
    const double halfSquare = 0.5 * (f * f);
    const double k = static_cast<double>(e);
    const Pair leading = TwoSum(k * Ln2Hi, f); // k Ln2Hi is exact
    const Pair lead = TwoSum(leading.Hi, -halfSquare);
    const double rest = s * (halfSquare + sum) + (k * Ln2Lo + c / u);
    return lead.Hi + ((leading.Lo + lead.Lo) + rest);
}

} // namespace

double PortableExp(double x)
{
    if (std::isnan(x))
        return x;
    if (x < -746.0) // under half the smallest subnormal
        return 0.0;
    if (x > 710.0) // over the largest double
        return std::numeric_limits<double>::infinity();
    const Reduced reduced = Reduce(x);
    return Scale(reduced.Power.Hi + Rest(reduced), reduced.M);
}

double PortableExpm1(double x)
{
    if (std::isnan(x) || x == 0.0)
        return x;
    if (x < -40.0) // e^x under 2^-57: its own error is far below an ulp of -1
        return PortableExp(x) - 1.0;
    if (x > 710.0)
        return std::numeric_limits<double>::infinity();
    const Reduced reduced = Reduce(x);
    const int m = reduced.M;
    if (m > 52) // the 1 is below half an ulp of the result, and past 2^60 below Rest's error
        return Scale(reduced.Power.Hi + (Rest(reduced) - (m < 60 ? PowerOfTwo(-m) : 0.0)), m);
    /*
     * 2^m P - 1 as an exact pair (a single double from m = -1 to 52), plus
     * 2^m P r, exact as a pair too: their sum may be as small as r, so it is
     * taken exactly, and only the much smaller rest is rounded before the end.
     */
    const double scale = PowerOfTwo(m);
    const Pair power = reduced.Power;
    const Pair linear = TwoProduct(power.Hi, reduced.R.Hi);
    const Pair leading = TwoSum(scale * power.Hi, -1.0);
    const Pair lead = TwoSum(leading.Hi, scale * linear.Hi);
    const double above = reduced.R.Lo + reduced.Above;
    const double rest = linear.Lo + power.Hi * above + power.Lo * (1.0 + (reduced.R.Hi + above));
    return lead.Hi + ((leading.Lo + lead.Lo) + scale * rest);
}

double PortableLog(double x)
{
    if (std::isnan(x))
        return x;
    if (x < 0.0)
        return std::numeric_limits<double>::quiet_NaN();
    if (x == 0.0)
        return -std::numeric_limits<double>::infinity();
    if (x == std::numeric_limits<double>::infinity())
        return x;
    return LogWithCorrection(x, 0.0);
}

double PortableLog1p(double x)
{
    if (std::isnan(x))
        return x;
    if (x < -1.0)
        return std::numeric_limits<double>::quiet_NaN();
    if (x == -1.0)
        return -std::numeric_limits<double>::infinity();
    if (x == std::numeric_limits<double>::infinity())
        return x;
    const double u = 1.0 + x;
    // What 1 + x lost to rounding, exactly (the larger operand first).
    const double lost = x > 1.0 ? 1.0 - (u - x) : x - (u - 1.0);
    return LogWithCorrection(u, lost);
}

namespace
{

constexpr double Pi = 0x1.921fb54442d18p+1;

// sin(pi f) for 0 <= f <= 1/4: y - y^3 S(y^2), S(z) = 1/3! - z/5! + ... + z^10/23!.
double SinSeries(double f)
{
    const double y = Pi * f;
    const double z = y * y;
    double sum = 1.0 / 25852016738884976640000.0; // 1/23!, then Horner down to 1/3!
    const double inverse[] = {1.0 / 51090942171709440000.0,
                              1.0 / 121645100408832000.0,
                              1.0 / 355687428096000.0,
                              1.0 / 1307674368000.0,
                              1.0 / 6227020800.0,
                              1.0 / 39916800.0,
                              1.0 / 362880.0,
                              1.0 / 5040.0,
                              1.0 / 120.0,
                              1.0 / 6.0};
    for (size_t term = 0; term < 10; ++term)
        sum = inverse[term] - z * sum;
    return y - y * z * sum;
}

// cos(pi f) for 0 <= f <= 1/4: 1 - y^2/2 + y^4 C(y^2), C(z) = 1/4! - z/6! + ... + z^9/22!.
double CosSeries(double f)
{
    const double y = Pi * f;
    const double z = y * y;
    double sum = 1.0 / 1124000727777607680000.0; // 1/22!, then Horner down to 1/4!
    const double inverse[] = {1.0 / 2432902008176640000.0,
                              1.0 / 6402373705728000.0,
                              1.0 / 20922789888000.0,
                              1.0 / 87178291200.0,
                              1.0 / 479001600.0,
                              1.0 / 3628800.0,
                              1.0 / 40320.0,
                              1.0 / 720.0,
                              1.0 / 24.0};
    for (size_t term = 0; term < 9; ++term)
        sum = inverse[term] - z * sum;
    return 1.0 + (z * z * sum - 0.5 * z);
}

// x modulo 2 in [0, 2), exactly.
double ModuloTwo(double x)
{
    return x - 2.0 * std::floor(0.5 * x);
}

} // namespace

double PortableSinPi(double x)
{
    if (!std::isfinite(x))
        return std::numeric_limits<double>::quiet_NaN();
    double r = ModuloTwo(x);
    const double sign = r >= 1.0 ? -1.0 : 1.0;
    if (r >= 1.0)
        r -= 1.0;
    if (r > 0.5)
        r = 1.0 - r;
    return sign * (r <= 0.25 ? SinSeries(r) : CosSeries(0.5 - r));
}

double PortableCosPi(double x)
{
    if (!std::isfinite(x))
        return std::numeric_limits<double>::quiet_NaN();
    double r = ModuloTwo(x);
    double sign = 1.0;
    if (r >= 1.0)
    {
        r -= 1.0;
        sign = -sign;
    }
    if (r > 0.5)
    {
        r = 1.0 - r;
        sign = -sign;
    }
    return sign * (r <= 0.25 ? CosSeries(r) : SinSeries(0.5 - r));
}

} // namespace ostrel
