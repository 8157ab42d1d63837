#pragma once

#include <cstdint>
#include <random>
#include <vector>

// Deterministic pseudo-random choices for the demo database: the same seed gives the same
// database on every platform (only the engine's raw output is used, no library distributions).
class DemoRandom
{
public:
    explicit DemoRandom(std::uint64_t seed) : m_engine(seed) {}

    // 0 <= value < n
    int below(int n) { return n <= 1 ? 0 : int(m_engine() % std::uint64_t(n)); }
    // lo <= value <= hi
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    // true with the given probability (0..1)
    bool chance(double p) { return double(m_engine() >> 11) * (1.0 / 9007199254740992.0) < p; }
    double unit() { return double(m_engine() >> 11) * (1.0 / 9007199254740992.0); }
    // An index chosen by weight.
    int weighted(const std::vector<int>& weights)
    {
        int total = 0;
        for (int w : weights)
            total += w;
        int r = below(total);
        for (int i = 0; i < int(weights.size()); ++i) {
            if (r < weights[i])
                return i;
            r -= weights[i];
        }
        return int(weights.size()) - 1;
    }

private:
    std::mt19937_64 m_engine;
};
