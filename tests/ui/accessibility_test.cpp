// A screen reader names whatever has the focus: every control of both
// windows that can take the focus, and every text the user reads, has an
// accessible name.

#include "os/system_information.h"
#include "support/counting_reporter.h"
#include "support/list_dir.h"
#include "ui/about_window.h"
#include "ui/main_window.h"
#include "ui/object_names.h"

#include <QAccessible>
#include <QAction>
#include <QLabel>
#include <QTest>

namespace names = velt::names;

using velt::test::CountingReporter;

namespace {

QString accessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name) : QString();
}

// Controls that take the focus or show text, with no accessible name.
QStringList unnamed(QWidget *window)
{
    QStringList missing;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        const bool focusable = widget->focusPolicy() != Qt::NoFocus && widget->isEnabled();
        const bool reads = qobject_cast<QLabel *>(widget) != nullptr;
        if (widget->objectName().isEmpty() || widget->objectName().startsWith("qt_"))
            continue;
        if ((focusable || reads) && accessibleName(widget).trimmed().isEmpty())
            missing << widget->objectName();
    }
    return missing;
}

} // namespace

class AccessibilityTest : public QObject
{
    Q_OBJECT

private slots:
    void mainWindow()
    {
        velt::test::ListDir dir;
        dir.writeDefaultLists();
        CountingReporter reporter;
        velt::MainWindow window(&reporter);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(unnamed(&window), QStringList());
        window.findChild<QAction *>(names::kRouletteModeAction)->trigger();
        QCOMPARE(unnamed(&window), QStringList());
        // The boxes without a caption of their own get a Japanese description.
        for (const char *name : {names::kSentenceBox, names::kCountBox, names::kCountSpinner, names::kRouletteLabel}) {
            const QString text = accessibleName(window.findChild<QWidget *>(name));
            QVERIFY2(!text.isEmpty() && text.front().unicode() > 0x3000, name);
        }
    }

    void aboutWindow()
    {
        CountingReporter reporter;
        auto *window = new velt::AboutWindow(velt::SystemInformation::native(), reporter);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(unnamed(window), QStringList());
        window->close();
    }
};

QTEST_MAIN(AccessibilityTest)
#include "accessibility_test.moc"

