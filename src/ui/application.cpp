#include "ui/application.h"

#include "version.h"

#include <QApplication>
#include <QIcon>

namespace velt {

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("velt"));
    QApplication::setApplicationVersion(QString::fromLatin1(version::kText));
    // Every window's title bar and task-bar button.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/velt-32.png")));
}

} // namespace velt
