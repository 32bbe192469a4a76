/*
 * What a caller may ask of a run of the quadrature method and what the run
 * reports back (the method itself: quadrature_method.h, which includes
 * this). Apart so that the method's own pieces can take the options without
 * including the method's entry points.
 */
#ifndef OSTREL_MODEL_QUADRATURE_OPTIONS_H
#define OSTREL_MODEL_QUADRATURE_OPTIONS_H

#include <cstddef>

namespace ostrel
{

// How each node's products are formed for the $EV. Every pass keeps the
// accuracy stated in quadrature_method.h and gives the same bytes for any thread count and
// on every platform (not the same bytes as one another); a finish table or
// a bubble row always takes the full band.
enum class QuadraturePass
{
    Auto,     // the product tree from 80 paid places, else the full band
    FullBand, // every count of rung clocks up to the paid places: O(n * K) per node; the reference
    Windowed, // only the counts that blocks of players can reach: O(n * sqrt(n)) per node
    ProductTree, // fast products up and down a tree of the players, O(n log^2 n) per node (model/
                 // product_tree.h); a node whose rounding it cannot vouch for takes the windowed pass,
                 // one whose band of counts is under 60 (before a few dozen clocks ring) the full band
};

// What a run did, for tests and benchmarks: the nodes it evaluated beside
// those the planned step would take, and the nested level it stopped at.
struct QuadratureReport
{
    size_t Nodes = 0;        // nodes evaluated
    size_t PlannedNodes = 0; // nodes at the planned step (the finest level)
    unsigned Level = 0;      // the accepted level: step 2^Level times the planned one
    unsigned Top = 0;        // the coarsest level, 0 where the run did not nest
    double Change[8] = {};   // level L: the largest change of any $EV from level L + 1, relative
};

struct QuadratureOptions
{
    unsigned Threads = 1;            // 0 or 1: the calling thread only, at most 256; results identical for any count
    size_t FinishPlaces = 0;         // columns of the finish table (places 1..FinishPlaces, at most the
                                     // players in play)
    size_t MemoryLimit = 256u << 20; // bytes; a run that would need more is refused before it starts
    QuadraturePass Pass = QuadraturePass::Auto;
    void (*Progress)(void *context, double done) = nullptr; // now and then, calling thread, 0..1
    void *ProgressContext = nullptr;
    bool Nested = true; // the $EV by nested levels, stopped early where they agree; false: the planned step
    QuadratureReport *Report = nullptr; // filled by QuadratureEquities when given
};

} // namespace ostrel

#endif
