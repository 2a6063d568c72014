#pragma once

#include <cstdint>

namespace velt {

// The run-time's uniform generator: a 24-bit linear congruential sequence
// from one fixed state, never seeded (docs/behaviour.md says why).
class RandomSource
{
public:
    RandomSource() = default;

    // The next value r, 0 <= r < 1, in single precision.
    float next() noexcept;

    // The one generator the whole process draws from.
    static RandomSource &process() noexcept;

private:
    std::uint32_t m_state = 327680;
};

} // namespace velt
