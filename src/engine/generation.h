#pragma once

#include <QString>

namespace velt {

class RandomSource;

// The two front-ends' work, apart from the window so it can be measured and
// tested on its own. Both load the five lists afresh and compose before the
// caller touches anything on screen, so a failure leaves the screen as it was.

// The number the count box denotes; error 13 when it is not a number.
int parse_line_count(const QString &text);

// As many sentences as `countText` denotes, each followed by a line break,
// from freshly loaded lists (loaded before the count is read).
QString compose_batch(const QString &countText, RandomSource &random);

// One sentence from freshly loaded lists, without a line break.
QString compose_roulette_step(RandomSource &random);

} // namespace velt
