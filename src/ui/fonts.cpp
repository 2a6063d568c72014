#include "ui/fonts.h"

#include <QStringList>

namespace velt::fonts {

// Each Windows face by its Japanese and its English name: which of the two a
// font list answers to depends on the system's language.

QFont gothic(qreal points)
{
    // Where "ＭＳ Ｐゴシック" is missing, its fixed-pitch sibling "ＭＳ ゴシック",
    // then the nearest proportional Japanese gothic faces.
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("IPAGothic"), QStringLiteral("VL PGothic"), QStringLiteral("sans-serif")});
    font.setPointSizeF(points);
    font.setWeight(QFont::Normal);
    return font;
}

QFont aboutWindow()
{
    // The Windows UI fonts first, "ＭＳ ゴシック" where none of them is
    // installed, then the common free Japanese fonts.
    QFont font;
    font.setFamilies({QStringLiteral("MS UI Gothic"), QStringLiteral("Yu Gothic UI"),
                      QStringLiteral("Meiryo UI"), QStringLiteral("ＭＳ ゴシック"),
                      QStringLiteral("MS Gothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("Noto Sans JP"), QStringLiteral("IPAPGothic"),
                      QStringLiteral("VL PGothic"), QStringLiteral("Droid Sans Fallback")});
    font.setPointSize(9);
    return font;
}

QFont title()
{
    // Arial, or a face drawn to Arial's measures.
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Nimbus Sans"), QStringLiteral("Helvetica")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(14.25);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace velt::fonts
