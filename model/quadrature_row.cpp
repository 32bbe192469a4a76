/*
 * One node of a hero's row. The hero's factor is taken out of the products
 * (a = 1, b = 0 leaves them unchanged to the bit), so at opponent j the
 * prefix P and the pulled-back prizes G are those of every player but the
 * two. After a hand j's factor is a' + b' z, and the hero's term is
 *     density' * <P (a' + b' z), G> = density' * (a' <P, G> + b' <P, G shifted by one>),
 * two dot products per opponent for both hands. At the hero's own place the
 * same <P, G> is his $EV term on the field as it stands. The band allows for
 * j's clock after a hand: at most one more ring expected.
 *
 * Of the four clocks after a hand, those of a sum of stacks are products of
 * the players' own (e^-(s + s')t = a a', 1 - a a' = b + a b', no cancelling),
 * so only the difference of the two stacks takes an exponential of its own.
 */
#include "quadrature_passes.h"

#include <cmath>

namespace ostrel
{
namespace quadrature
{

void EvaluateRowNode(const Run &run, Workspace &work, size_t node, const Sink &sink)
{
    const std::vector<double> &stack = run.InPlay->Stack;
    double time = 0.0;
    double weight = 0.0;
    NodeAt(run.Plan, node, time, weight);
    double mu = ClockChances(run, work, time);
    const size_t hero = run.Hero;
    const double heroA = work.A[hero];
    mu -= work.B[hero];
    work.A[hero] = 1.0;
    work.B[hero] = 0.0;
    const size_t band = Band(mu + 1.0, run.Places);
    const size_t paid = std::min(run.Paid, band);
    SaveBlockEnds(run, work, paid, 0);
    WalkForward(run, work, band, paid, 0, sink, [&](size_t j, const double *prefix, size_t low, size_t row) {
        const double *after = work.Rows.data() + row * run.Paid;
        const double same = low < paid ? Dot(prefix + low, after + low, paid - low) : 0.0;
        const double shifted = low + 1 < paid ? Dot(prefix + low, after + low + 1, paid - low - 1) : 0.0;
        const size_t seat = sink.Index != nullptr ? sink.Index[j] : j;
        double *hands = &sink.Finish[seat * 2];
        if (j == hero)
        {
            sink.Put(&sink.Equity[seat], weight * stack[j] * heroA * same);
            sink.Put(&hands[0], 0.0);
            sink.Put(&hands[1], 0.0);
            return;
        }
        const Hand &hand = run.Hands[j];
        const double a = work.A[j];
        const double b = work.B[j];
        double differenceA = 0.0; // the clock of |s_hero - s_j|
        double differenceB = 0.0;
        Clock(std::fabs(stack[hero] - stack[j]) * time, differenceA, differenceB);
        sink.Put(&sink.Equity[seat], 0.0);
        if (hand.OtherWon == 0.0) // s_j <= s_hero: j is busted when he loses
        {
            sink.Put(&hands[0], weight * hand.HeroWon * (heroA * a) * same);
            sink.Put(&hands[1], hand.HeroLost > 0.0 ? weight * hand.HeroLost * differenceA *
                                                          ((a * a) * same + (b + a * b) * shifted)
                                                    : 0.0);
        }
        else
        {
            sink.Put(&hands[0],
                     weight * hand.HeroWon * (heroA * heroA) * (differenceA * same + differenceB * shifted));
            sink.Put(&hands[1], 0.0); // s_j > s_hero: the hero is busted when he loses
        }
    });
}

} // namespace quadrature
} // namespace ostrel
