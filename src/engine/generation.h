#pragma once

#include <QString>

namespace velt {

class RandomSource;
struct PhraseBank;

// What the window's ticks and velt-print make of the lists. The two
// front-ends' work loads the five lists afresh and composes before the
// caller touches anything on screen, so a failure leaves the screen as it was.

// `count` sentences (none when below 1), each followed by a line break.
QString composeSentences(const PhraseBank &bank, int count, RandomSource &random);

// The number the count box denotes; error 13 when it is not a number.
int parseLineCount(const QString &text);

// As many sentences as `countText` denotes, each followed by a line break,
// from freshly loaded lists (loaded before the count is read).
QString composeBatch(const QString &countText, RandomSource &random);

// One sentence from freshly loaded lists, without a line break.
QString composeRouletteStep(RandomSource &random);

} // namespace velt
