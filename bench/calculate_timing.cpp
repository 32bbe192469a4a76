/*
 * Times one whole Calculate in the Windows build, inside the process with the
 * performance counter, so Wine's start-up is not counted. Run by hand:
 *   cmake/run-under-wine.sh "$PWD/build/windows/wineprefix" build/windows/bench/calculate_timing.exe
 */
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "bench_field.h"
#include "seat_equity.h"

namespace
{

const int Runs = 21;

double CalculateMilliseconds()
{
    LARGE_INTEGER frequency, start, stop;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    ShowSeatEquities(nullptr);
    QueryPerformanceCounter(&stop);
    return 1000.0 * static_cast<double>(stop.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

void TimeCalculate(int seats, int paid)
{
    SetBenchField(seats, paid);
    double times[Runs];
    for (double &time : times)
        time = CalculateMilliseconds();
    std::sort(times, times + Runs);
    std::printf("Calculate %2d seats %2d paid (%s): median %8.3f ms, min %8.3f ms, max %8.3f ms\n",
                seats, paid, PlainCalculateCalls() > PlainCallBudget ? "subsets" : "plain  ",
                times[Runs / 2], times[0], times[Runs - 1]);
}

} // namespace

int main()
{
    TimeCalculate(10, 10);
    TimeCalculate(18, 8);
    TimeCalculate(18, 18);
    TimeCalculate(18, 30);
    return 0;
}
