#pragma once
// The program's one pseudo-random generator: Random(n) of the effects and the
// generators. It is counter based (SplitMix64): draw k can be made without the draws
// before it, so a pass cut into bands over several threads draws exactly what one
// thread would. Tests and vermeo-cli seed it; a reseed from the clock can be pinned.
#include <cstdint>
#include <optional>

namespace vermeo {

class ProgramRandom {
public:
    // Random(n): a uniform integer in 0 .. n - 1 (0 when n < 1).
    static int next(int n);
    static void seed(std::uint64_t s);
    // Reseeds from the clock, or with the pinned seed while one is pinned.
    static void seedFromClock();
    static void pinClockSeed(std::optional<std::uint64_t> s);
    // A seed from the clock, or the pinned one: for generators that keep their own sequence.
    static std::uint64_t clockSeed();

    // Takes count draws at once for a pass that makes them itself: draw i of them
    // (0-based) is drawAt(base, i, n), the same value next(n) would have given.
    static std::uint64_t reserve(std::uint64_t count);
    static int drawAt(std::uint64_t base, std::uint64_t i, int n)
    {
        std::uint64_t z = base + (i + 1) * kGamma;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        z ^= z >> 31;
        return n < 1 ? 0 : int(((z >> 32) * std::uint64_t(n)) >> 32);
    }

private:
    static constexpr std::uint64_t kGamma = 0x9E3779B97F4A7C15ull;
};

} // namespace vermeo
