/*
 * Suit symmetry of two-card hands, which the preflop table rests on: renaming
 * the suits changes no showdown, so one combo of each class (its first, the
 * canonical one) stands for all, and the villain's combos against it fall
 * into orbits of the renamings that keep it. Used by the library and by the
 * table's generator.
 */
#ifndef OSTREL_CARDS_SUIT_SYMMETRY_H
#define OSTREL_CARDS_SUIT_SYMMETRY_H

#include <cstdint>

#include "hand_class.h"

namespace ostrel
{
namespace cards
{

constexpr int SuitPermutationCount = 24;

// Permutation p (0..23) sends suit s to SuitPermutation(p, s).
int SuitPermutation(int permutation, int suit);
int PermuteCombo(int combo, int permutation);
// Every combo's image under one permutation: PermutationImages(p)[combo].
const uint16_t *PermutationImages(int permutation);
// The lowest-numbered combo of a class.
int CanonicalCombo(int handClass);
// A permutation that sends `combo` to its class's canonical combo.
int PermutationToCanonical(int combo);
// The smallest combo that a renaming keeping the hero class's canonical combo
// makes of `villain`: one representative per orbit.
int OrbitRepresentative(int heroClass, int villain);

} // namespace cards
} // namespace ostrel

#endif
