#include "ui/Mulberry32.h"

namespace vesk {

double Mulberry32::next()
{
    state_ += increment;
    return drawOfState(state_);
}

double Mulberry32::drawOfState(std::uint32_t state)
{
    std::uint32_t t = (state ^ (state >> 15)) * (state | 1u);
    t ^= t + (t ^ (t >> 7)) * (t | 61u);
    return static_cast<double>(t ^ (t >> 14)) / 4294967296.0;
}

double Mulberry32::drawAt(std::uint32_t base, std::uint32_t steps)
{
    return drawOfState(base + steps * increment);
}

} // namespace vesk
