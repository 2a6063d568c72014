#pragma once

#include <QString>

#include <cstdint>

namespace velt {

// A 32-bit registry number as a hexadecimal literal: "&h" and the number in
// upper-case hexadecimal digits without leading zeros (at least one digit),
// e.g. "&h105" for 261.
QString hexNumberText(std::uint32_t number);

// The run-time's formatting of a text with no pattern: a hexadecimal literal
// "&h" + 1 to 8 hex digits (either case) becomes the same 32-bit number in
// decimal digits, so "&h105" reads "261"; every other text comes out as it
// went in.
QString formatGeneral(const QString &text);

} // namespace velt
