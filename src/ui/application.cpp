#include "ui/application.h"

#include "ui/accessible_interfaces.h"
#include "version.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace velt {

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("velt"));
    QApplication::setApplicationVersion(QString::fromLatin1(version::kText));
    // Every window's title bar and task-bar button.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/velt-32.png")));
    installAccessibleInterfaces();

    // Qt's own texts (a text box's context menu, standard buttons) in
    // Japanese, whatever the locale: everything of ours is Japanese. Qt's
    // translations folder first, then a copy built into the program where
    // Qt has none (a static Windows build).
    auto *translator = new QTranslator(qApp);
    const QLocale japanese(QLocale::Japanese, QLocale::Japan);
    if (translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))
        || translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"), QStringLiteral(":/translations")))
        QApplication::installTranslator(translator);
    else
        delete translator;
}

} // namespace velt
