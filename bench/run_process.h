/*
 * Whole processes timed by the benchmarks: a program started and waited for
 * once an iteration, its standard output thrown away.
 */
#ifndef OSTREL_BENCH_RUN_PROCESS_H
#define OSTREL_BENCH_RUN_PROCESS_H

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

// arguments[0] is the program's path; a run that fails stops the benchmark
// with an error.
void RunProcesses(benchmark::State &state, std::vector<std::string> arguments);

#endif
