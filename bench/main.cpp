// Runs the registered scenarios (or those named on the command line), best of a few runs each.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <limits>

#include "Bench.h"

std::vector<BenchScenario>& benchScenarios()
{
    static std::vector<BenchScenario> scenarios;
    return scenarios;
}

BenchRegistration::BenchRegistration(const char* name, std::function<BenchResult()> run)
{
    benchScenarios().push_back({name, std::move(run)});
}

double benchMs(const std::function<void()>& work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

int main(int argc, char** argv)
{
    const char* runsText = std::getenv("VELMORA_BENCH_RUNS");
    const int runs = runsText ? std::max(1, std::atoi(runsText)) : 3;
    auto& scenarios = benchScenarios();
    std::sort(scenarios.begin(), scenarios.end(),
              [](const BenchScenario& a, const BenchScenario& b) {
                  return std::strcmp(a.name, b.name) < 0;
              });
    int failures = 0;
    for (const BenchScenario& scenario : scenarios) {
        const bool wanted = argc < 2 || std::any_of(argv + 1, argv + argc, [&](const char* arg) {
                                return std::strcmp(arg, scenario.name) == 0;
                            });
        if (!wanted)
            continue;
        double ours = std::numeric_limits<double>::max();
        double raw = std::numeric_limits<double>::max();
        try {
            for (int i = 0; i < runs; ++i) {
                const BenchResult result = scenario.run();
                ours = std::min(ours, result.first);
                raw = std::min(raw, result.second);
            }
        } catch (const BenchSkipped& skipped) {
            std::printf("%s skipped: %s\n", scenario.name, skipped.what());
            std::fflush(stdout);
            continue;
        } catch (const std::exception& error) {
            std::printf("%s failed: %s\n", scenario.name, error.what());
            ++failures;
            continue;
        }
        std::printf("%s ours_ms=%.2f raw_ms=%.2f ratio=%.2f\n", scenario.name, ours, raw,
                    raw > 0 ? ours / raw : 0.0);
        std::fflush(stdout);
    }
    return failures == 0 ? 0 : 1;
}
