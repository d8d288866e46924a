#pragma once

#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

// velmora-bench: each scenario does one piece of work through our code and the same work
// through a raw baseline (plain sqlite3, a bare Qt call ...) in the same run, and returns both
// times in milliseconds as {ours, raw}. The runner repeats it, keeps the best of each, and
// prints "NAME ours_ms=X raw_ms=Y ratio=Z".
//
// Adding a scenario: in any bench/bench_*.cpp (picked up by the build on its own)
//
//     VELMORA_BENCH(my_scenario)
//     {
//         ... set up, untimed ...
//         const double ours = benchMs([&] { ... our code ... });
//         const double raw = benchMs([&] { ... the baseline ... });
//         return {ours, raw};
//     }
//
// and run `velmora-bench` (all scenarios) or `velmora-bench my_scenario ...`.

using BenchResult = std::pair<double, double>; // {ours_ms, raw_ms}

struct BenchScenario {
    const char* name;
    std::function<BenchResult()> run;
};

std::vector<BenchScenario>& benchScenarios();

// Registers a scenario at start-up; used through VELMORA_BENCH.
struct BenchRegistration {
    BenchRegistration(const char* name, std::function<BenchResult()> run);
};

// Thrown by a scenario that cannot run here (a server that is not there): the runner prints
// "NAME skipped: reason" and goes on.
struct BenchSkipped : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Wall-clock milliseconds that `work` takes.
double benchMs(const std::function<void()>& work);

#define VELMORA_BENCH(name)                                                                        \
    static BenchResult velmoraBench_##name();                                                      \
    static const BenchRegistration velmoraBenchRegistration_##name(#name, velmoraBench_##name);    \
    static BenchResult velmoraBench_##name()
