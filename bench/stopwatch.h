#pragma once

#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

// Wall and CPU time since construction.
struct Stopwatch {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    std::clock_t cpu = std::clock();
    // "<wall> s wall, <cpu> s CPU": the CPU time is what counts on a busy machine.
    std::string Elapsed() const {
        char text[96];
        std::snprintf(text, sizeof text, "%.3f s wall, %.3f s CPU",
                      std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count(),
                      static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC);
        return text;
    }
};
