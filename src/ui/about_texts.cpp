#include "ui/about_texts.h"

namespace velt::about_texts {

QString caption(QStringView title)
{
    return title.toString() + QStringLiteral("のﾊﾞｰｼﾞｮﾝ情報");
}

QString versionLabel(int major, int minor, int revision)
{
    return QStringLiteral("ﾊﾞｰｼﾞｮﾝ %1.%2.%3").arg(major).arg(minor).arg(revision);
}

} // namespace velt::about_texts
