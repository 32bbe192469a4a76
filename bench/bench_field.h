/*
 * The fields the benchmarks and the Windows timing run compute: a fixed,
 * uneven spread of stacks and a falling payout ladder, so that every run
 * measures the same work.
 */
#ifndef OSTREL_BENCH_FIELD_H
#define OSTREL_BENCH_FIELD_H

#include <cstdint>

// Fills seats 1..seats with chips and places 1..paid with prizes, the rest 0;
// shows 10 seats when `seats` is at most 10, else 18, and recounts the ladder.
void SetBenchField(int32_t seats, int32_t paid);

#endif
