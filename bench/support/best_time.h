#pragma once

#include <algorithm>
#include <chrono>
#include <functional>

namespace tavlo::bench {

// The shortest of `rounds` runs of `work`, in seconds: on a shared machine the shortest run is
// the one nothing interrupted.
inline double BestSeconds(const std::function<void()>& work, int rounds) {
    using Clock = std::chrono::steady_clock;
    double best = 1e30;
    for (int i = 0; i < rounds; ++i) {
        const auto start = Clock::now();
        work();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

}  // namespace tavlo::bench
