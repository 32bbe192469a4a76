/*
 * Ranges of starting hands in the notation players use, and back.
 *
 * Tokens, comma-separated, spaces allowed, any case:
 *   TT  TT+  22-55              pairs: one, this and above, from-to
 *   AKs AKo AK                  suited, offsuit, both
 *   A2s+ KTo+ K9+               the kicker from this one up to one below the top card
 *   T9s-T6s  KQo-K9o            a run of kickers with the same top card
 *   AhKh                        one combo
 *   random                      every hand
 *   15%  12.5%                  the first classes of ClassRanking() holding that
 *                               share of the 1,326 combos (see TopShare)
 *   any token:W                 W (0..1) of each combo, e.g. AKs:0.5
 * A later token sets the weight of the combos it names again. Any other token
 * is an error that names it.
 */
#ifndef OSTREL_CARDS_RANGE_H
#define OSTREL_CARDS_RANGE_H

#include <array>
#include <string>
#include <string_view>

#include "field.h"
#include "hand_class.h"
#include "range_weights.h"

namespace ostrel
{
namespace cards
{

// Cost: linear in the text (a `%` token sorts nothing: the ranking is fixed).
Status ParseRange(std::string_view text, Range &range);

// The shortest notation this writer knows ("22+, A2s+, K9s+, AJo+",
// "random", "AKs:0.5, AhKh"), which ParseRange reads back to the same weights
// bit for bit. "" for an empty range.
std::string FormatRange(const Range &range);

// The 169 classes, strongest first: by all-in equity against a random hand
// (exact, from the preflop table), ties broken by class number.
const std::array<uint8_t, ClassCount> &ClassRanking();

// The first classes of ClassRanking() that reach at least `percent` of the
// 1,326 combos: a class is taken while the combos before it are below
// percent / 100 * 1326. percent in [0, 100].
Range TopShare(double percent);

} // namespace cards
} // namespace ostrel

#endif
