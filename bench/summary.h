#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

// Every benchmark program ends its output with one line
// "NAME: key value, key value, ..." so runs can be compared line by line.
inline void printBenchSummary(
    const char *name, const std::vector<std::pair<std::string, double>> &figures)
{
    std::printf("%s:", name);
    for (std::size_t i = 0; i < figures.size(); ++i)
        std::printf("%s %s %.4g", i == 0 ? "" : ",", figures[i].first.c_str(), figures[i].second);
    std::printf("\n");
}

// The median wall time of runs calls of f, in milliseconds.
template <typename F> double medianMs(F f, int runs)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        const auto t1 = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}
