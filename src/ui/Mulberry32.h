#pragma once

#include <cstdint>

namespace vesk {

// The 32-bit Mulberry32 generator that the drawn art seeds its stars with.
// All arithmetic wraps modulo 2^32.
class Mulberry32 {
public:
    static constexpr std::uint32_t increment = 0x6D2B79F5u;

    explicit Mulberry32(std::uint32_t state) : state_(state) { }

    // Steps the state once and returns the draw of the new state, in [0, 1).
    double next();
    std::uint32_t state() const { return state_; }

    // The draw of a given state, without stepping.
    static double drawOfState(std::uint32_t state);
    // The draw `steps` steps after `base`.
    static double drawAt(std::uint32_t base, std::uint32_t steps);

private:
    std::uint32_t state_;
};

} // namespace vesk
