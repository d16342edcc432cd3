#pragma once

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

// Every benchmark program ends its output with one line
// "NAME: key value, key value, ..." so runs can be compared line by line.
inline void printBenchSummary(const char *name,
                              const std::vector<std::pair<std::string, double>> &figures)
{
    std::printf("%s:", name);
    for (std::size_t i = 0; i < figures.size(); ++i)
        std::printf("%s %s %.4g", i == 0 ? "" : ",", figures[i].first.c_str(), figures[i].second);
    std::printf("\n");
}
