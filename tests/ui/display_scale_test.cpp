// Both windows at the display scale CTest runs this with (QT_SCALE_FACTOR
// 1, 1.25 and 1.5, as laptops run at 100 %, 125 % and 150 %): the client
// areas keep their designed size in logical pixels, every control lies
// wholly inside its window, and the spinner's two arrows share its height
// with nothing between them.

#include "fake_system_information.h"
#include "support/counting_reporter.h"
#include "support/list_dir.h"
#include "ui/about_window.h"
#include "ui/application.h"
#include "ui/main_window.h"
#include "ui/object_names.h"

#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>

#include <cmath>

namespace names = velt::names;

namespace {

// Every visible widget below `window`, each within its parent and within
// the window, in logical pixels.
void holdsEveryControlInside(QWidget *window)
{
    QVERIFY(window->isVisible());
    const QRect whole = window->rect();
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (!widget->isVisible() || widget->isWindow())
            continue;
        const QRect inWindow(widget->mapTo(window, QPoint(0, 0)), widget->size());
        QVERIFY2(whole.contains(inWindow), qPrintable(widget->objectName() + " leaves the window"));
    }
}

} // namespace

class DisplayScaleTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        velt::setUpApplication();
        qInfo("scale %s", qPrintable(qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1"))));
    }

    void mainWindowIsWhole()
    {
        velt::test::ListDir dir;
        velt::test::CountingReporter reporter;
        velt::MainWindow window(&reporter);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.centralWidget()->size(), QSize(473, 322));
        holdsEveryControlInside(&window);
        // The client area begins on a whole screen pixel, and the window,
        // a whole number of them tall, holds its last one.
        const qreal ratio = window.devicePixelRatio();
        const qreal top = window.centralWidget()->y() * ratio;
        QCOMPARE(top, qreal(qRound(top)));
        QVERIFY(qRound(window.height() * ratio) >= std::ceil(top + 322 * ratio));
        window.findChild<QAction *>(QLatin1StringView(names::kRouletteModeAction))->trigger();
        holdsEveryControlInside(&window);
    }

    void spinnerIsTwoArrows()
    {
        velt::test::ListDir dir;
        velt::test::CountingReporter reporter;
        velt::MainWindow window(&reporter);
        window.show();
        auto *spinner = window.findChild<QScrollBar *>(QLatin1StringView(names::kCountSpinner));
        QStyleOptionSlider option;
        option.initFrom(spinner);
        option.orientation = Qt::Vertical;
        option.minimum = spinner->minimum();
        option.maximum = spinner->maximum();
        option.sliderValue = option.sliderPosition = spinner->value();
        option.subControls = QStyle::SC_All;
        for (int y = 0; y < spinner->height(); ++y) {
            const QStyle::SubControl part =
                spinner->style()->hitTestComplexControl(QStyle::CC_ScrollBar, &option, QPoint(8, y), spinner);
            QCOMPARE(part, y < spinner->height() / 2 ? QStyle::SC_ScrollBarSubLine : QStyle::SC_ScrollBarAddLine);
        }
    }

    void aboutWindowIsWhole()
    {
        velt::test::FakeSystemInformation system;
        velt::test::CountingReporter reporter;
        auto *window = new velt::AboutWindow(system, reporter);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QCOMPARE(window->size(), QSize(382, 170));
        holdsEveryControlInside(window);
        window->close();
    }
};

QTEST_MAIN(DisplayScaleTest)
#include "display_scale_test.moc"
