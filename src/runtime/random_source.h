#pragma once

#include <cstdint>

namespace velt {

// The run-time's uniform generator: a 24-bit linear congruential sequence that
// always starts from the same state, so the same lists and the same clicks
// give the same sentences in every run. Never seeded by this program.
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
