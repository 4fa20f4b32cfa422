// What every benchmark prints: the median of a figure beside the median of its floor
// (the least the same work can cost on this device, measured in the same run) and the
// ratio of the two. A ratio holds from one machine to another; milliseconds do not.
#ifndef BENCH_MEASURE_H
#define BENCH_MEASURE_H

#include <windows.h>
#include <stdio.h>
#include <algorithm>
#include <vector>

inline double NowMs()
{
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

inline double Median(std::vector<double> v)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// One line: figure, floor, ratio, and what the floor is.
inline void PrintAgainstFloor(const char *what, const std::vector<double> &figure, const char *floorName,
                              const std::vector<double> &floor)
{
    double m = Median(figure), f = Median(floor);
    printf("  %-40s %9.3f ms  floor %9.3f ms  ratio %6.2f  (%zu/%zu runs; floor: %s)\n", what, m, f,
           f > 0 ? m / f : 0.0, figure.size(), floor.size(), floorName);
}

// A figure shown for information, with no floor of its own.
inline void PrintFigure(const char *what, const std::vector<double> &figure)
{
    printf("  %-40s %9.3f ms  (%zu runs)\n", what, Median(figure), figure.size());
}

#endif
