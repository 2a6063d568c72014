#include "runtime/random_source.h"

namespace velt {

float RandomSource::next() noexcept
{
    constexpr std::uint32_t multiplier = 1140671485u;
    constexpr std::uint32_t increment = 12820163u;
    constexpr std::uint32_t mask = (1u << 24) - 1;
    m_state = (m_state * multiplier + increment) & mask;
    // 2^24 values fit a float's mantissa exactly, so the division is exact.
    return static_cast<float>(m_state) / 16777216.0f;
}

RandomSource &RandomSource::process() noexcept
{
    static RandomSource source;
    return source;
}

} // namespace velt
