#include "ui/general_format.h"

#include <algorithm>

namespace velt {
namespace {

bool isHexDigit(QChar c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

} // namespace

QString hexNumberText(std::uint32_t number)
{
    return QStringLiteral("&h") + QString::number(number, 16).toUpper();
}

QString formatGeneral(const QString &text)
{
    if (!text.startsWith(QStringLiteral("&h"), Qt::CaseInsensitive))
        return text;
    const QStringView digits = QStringView(text).sliced(2);
    if (digits.isEmpty() || digits.size() > 8 || !std::all_of(digits.begin(), digits.end(), isHexDigit))
        return text;
    return QString::number(digits.toUInt(nullptr, 16));
}

} // namespace velt
