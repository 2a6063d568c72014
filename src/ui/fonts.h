#pragma once

// The fonts the windows were designed with, each with the faces that stand
// in where it is missing, in one place.

#include <QFont>

namespace velt::fonts {

// "ＭＳ Ｐゴシック" at `points`: the main window's button and sentence.
QFont gothic(qreal points);

// The About window's own font: one that shows Japanese, half-width
// katakana included, at the size its layout was designed for.
QFont aboutWindow();

// Arial at 14.25 points: the About window's title.
QFont title();

} // namespace velt::fonts
