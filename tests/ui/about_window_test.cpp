#include "ui/about_window.h"
#include "ui/application.h"
#include "ui/message_box_reporter.h"
#include "support/message_box_closer.h"
#include "version.h"

#include "ui/about_instance.h"
#include "fake_system_information.h"
#include "support/counting_reporter.h"
#include "ui/object_names.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRawFont>
#include <QTest>
#include <QWindow>

#include <memory>

namespace names = velt::names;

using velt::AboutInstance;
using velt::AboutWindow;
using velt::test::FakeSystemInformation;
using velt::test::CountingReporter;

namespace {

const QString unavailable = QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");

template<typename T = QWidget>
T *control(QWidget *window, const char *name)
{
    T *widget = window->findChild<T *>(QString::fromLatin1(name));
    if (!widget)
        qWarning("no control %s", name);
    return widget;
}

QString textOf(QWidget *window, const char *name)
{
    QWidget *widget = control(window, name);
    return widget ? widget->property("text").toString() : QStringLiteral("<missing>");
}

int visibleAboutWindows()
{
    int count = 0;
    for (QWidget *widget : QApplication::topLevelWidgets())
        count += widget->objectName() == QLatin1StringView(names::kAboutWindow) && widget->isVisible();
    return count;
}

} // namespace

class AboutWindowTest : public QObject
{
    Q_OBJECT

    FakeSystemInformation m_system;
    CountingReporter m_reporter;
    std::unique_ptr<AboutInstance> m_about;

    // Shows the window and waits until it has the keyboard.
    AboutWindow *open()
    {
        m_about->show();
        AboutWindow *window = m_about->window();
        if (window && !QTest::qWaitForWindowActive(window))
            qWarning("the About window did not become active");
        return window;
    }

private slots:
    void initTestCase() { velt::setUpApplication(); }

    void init()
    {
        m_system = FakeSystemInformation();
        m_reporter.messages.clear();
        m_about = std::make_unique<AboutInstance>(m_system, m_reporter);
    }

    void cleanup()
    {
        m_about.reset();
        QTRY_COMPARE(visibleAboutWindows(), 0);
    }

    void loadStepFillsCaptionVersionAndTitle()
    {
        AboutWindow *window = open();
        QVERIFY(window);
        QCOMPARE(window->windowTitle(), QStringLiteral("VELT for Windowsのﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(textOf(window, names::kVersionLabel), QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + QLatin1StringView(velt::version::kText));
        QCOMPARE(textOf(window, names::kTitleLabel), QStringLiteral("VELT for Windows"));
    }

    void fixedTexts_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("text");
        QTest::newRow("description")
            << QByteArray(names::kDescriptionLabel)
            << QStringLiteral("単なる”文字遊び”の一種です（もぬ）。まぁジョークソフトの一種ってトコでしょうか？");
        QTest::newRow("disclaimer") << QByteArray(names::kDisclaimerLabel)
                                    << QStringLiteral("警告: このソフトの使用が元でのシステムの破損、故障、"
                                                      "友人と縁が切れても一切の責任はとりませんので悪しからず。");
        QTest::newRow("OK") << QByteArray(names::kOkButton) << QStringLiteral("OK");
        QTest::newRow("system information") << QByteArray(names::kSystemInformationButton) << QStringLiteral("ｼｽﾃﾑ情報(&S)...");
    }

    void fixedTexts()
    {
        QFETCH(QByteArray, name);
        QFETCH(QString, text);
        AboutWindow *window = open();
        QVERIFY(window);
        QCOMPARE(textOf(window, name.constData()), text);
    }

    void controlsLieInsideTheClientArea_data()
    {
        QTest::addColumn<QByteArray>("name");
        for (const char *name : {names::kIconPicture, names::kTitleLabel, names::kVersionLabel, names::kDescriptionLabel, names::kDisclaimerLabel, names::kOkButton,
                                 names::kSystemInformationButton, names::kSeparatorWhite, names::kSeparatorGrey})
            QTest::newRow(name) << QByteArray(name);
    }

    void controlsLieInsideTheClientArea()
    {
        QFETCH(QByteArray, name);
        AboutWindow *window = open();
        QVERIFY(window);
        QWidget *widget = control(window, name.constData());
        QVERIFY(widget);
        QVERIFY(widget->isVisible());
        QVERIFY2(window->rect().contains(widget->geometry()), name.constData());
    }

    void clientAreaIsFixedWithoutMinimizeAndMaximize()
    {
        AboutWindow *window = open();
        QVERIFY(window);
        QCOMPARE(window->size(), QSize(382, 170));
        QCOMPARE(window->minimumSize(), window->maximumSize());
        QVERIFY(!(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        // A tool window has no task-bar button of its own.
        QCOMPARE(window->windowType(), Qt::Tool);
    }

    void separatorLiesBetweenDescriptionAndDisclaimer()
    {
        AboutWindow *window = open();
        QVERIFY(window);
        const QRect description = control(window, names::kDescriptionLabel)->geometry();
        const QRect disclaimer = control(window, names::kDisclaimerLabel)->geometry();
        for (const char *name : {names::kSeparatorWhite, names::kSeparatorGrey}) {
            const QRect line = control(window, name)->geometry();
            QVERIFY2(line.top() > description.bottom() && line.bottom() < disclaimer.top(), name);
            QVERIFY2(line.width() > window->width() * 9 / 10, name);
        }
    }

    void picturesComeFromTheResources()
    {
        AboutWindow *window = open();
        QVERIFY(window);
        const QImage expected(QStringLiteral(":/icons/about-32.png"));
        QCOMPARE(expected.size(), QSize(32, 32));
        const QPixmap shown = control<QLabel>(window, names::kIconPicture)->pixmap();
        QCOMPARE(shown.toImage().convertToFormat(expected.format()), expected);
        QVERIFY(!QImage(QStringLiteral(":/icons/velt-32.png")).isNull());
        QVERIFY(!window->windowIcon().isNull());
    }

    void titleHasItsOwnFont()
    {
        AboutWindow *window = open();
        QVERIFY(window);
        const QFont title = control(window, names::kTitleLabel)->font();
        QCOMPARE(title.families().value(0), QStringLiteral("Arial"));
        QCOMPARE(title.pointSizeF(), 14.25);
        QCOMPARE(title.weight(), QFont::Normal);
        for (const char *name : {names::kVersionLabel, names::kDescriptionLabel, names::kDisclaimerLabel, names::kOkButton, names::kSystemInformationButton})
            QVERIFY2(control(window, name)->font() == window->font(), name);
    }

    // The window's own face, not a fallback found by chance, has every
    // character the window shows, half-width katakana included.
    void windowFontShowsEveryText()
    {
        AboutWindow *window = open();
        QVERIFY(window);
        const QRawFont face = QRawFont::fromFont(window->font());
        QVERIFY(face.isValid());
        QString missing;
        for (const char *name : {names::kVersionLabel, names::kDescriptionLabel, names::kDisclaimerLabel, names::kSystemInformationButton}) {
            for (QChar c : textOf(window, name)) {
                if (!face.supportsCharacter(c))
                    missing += c;
            }
        }
        QVERIFY2(missing.isEmpty(), qPrintable(face.familyName() + QStringLiteral(" lacks ") + missing));
    }

    void opensWithTheFocusOnOk()
    {
        AboutWindow *window = open();
        QVERIFY(window);
        QTRY_COMPARE(QApplication::focusWidget(), control(window, names::kOkButton));
    }

    void tabGoesBetweenTheTwoButtons()
    {
        AboutWindow *window = open();
        QVERIFY(window);
        QTRY_COMPARE(QApplication::focusWidget(), control(window, names::kOkButton));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control(window, names::kSystemInformationButton));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), control(window, names::kOkButton));
    }

    void keys_data()
    {
        QTest::addColumn<QByteArray>("focus");
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("unloads");
        QTest::addColumn<int>("launches");
        QTest::newRow("Return on OK") << QByteArray(names::kOkButton) << int(Qt::Key_Return) << true << 0;
        QTest::newRow("Enter on OK") << QByteArray(names::kOkButton) << int(Qt::Key_Enter) << true << 0;
        QTest::newRow("Esc on OK") << QByteArray(names::kOkButton) << int(Qt::Key_Escape) << true << 0;
        QTest::newRow("Return on system information") << QByteArray(names::kSystemInformationButton) << int(Qt::Key_Return) << false << 1;
        QTest::newRow("Esc on system information") << QByteArray(names::kSystemInformationButton) << int(Qt::Key_Escape) << true << 0;
    }

    void keys()
    {
        QFETCH(QByteArray, focus);
        QFETCH(int, key);
        QFETCH(bool, unloads);
        QFETCH(int, launches);

        QPointer<AboutWindow> window = open();
        QVERIFY(window);
        QWidget *target = control(window, focus.constData());
        target->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), target);

        QTest::keyClick(target, Qt::Key(key));

        // With nothing to find, every launch ends in the one message.
        QCOMPARE(m_reporter.messages.size(), launches);
        if (unloads) {
            QTRY_VERIFY(window.isNull());
            QVERIFY(!m_about->window());
        } else {
            QVERIFY(window && window->isVisible());
            QCOMPARE(m_about->window(), window.data());
        }
    }

    void altSStartsTheLauncher()
    {
        const QString tool = QStringLiteral("C:\\Tools\\msinfo32.exe");
        m_system.program = tool;
        m_system.startable << tool;
        AboutWindow *window = open();
        QVERIFY(window);
        QTest::keyClick(window, Qt::Key_S, Qt::AltModifier);
        // An access key clicks its button with a short animation.
        QTRY_COMPARE(m_system.started, QStringList{tool});
        QVERIFY(m_reporter.messages.isEmpty());
        QCOMPARE(m_about->window(), window);
    }

    void failedLaunchShowsTheMessageAndStaysOpen()
    {
        QPointer<AboutWindow> window = open();
        QVERIFY(window);
        control<QPushButton>(window, names::kSystemInformationButton)->click();
        control<QPushButton>(window, names::kSystemInformationButton)->click();
        QCOMPARE(m_reporter.messages, QStringList({unavailable, unavailable}));
        QTest::qWait(50);
        QVERIFY(window && window->isVisible());
    }

    void everyFailureEndsInTheOneMessage_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<bool>("raises");
        QTest::newRow("found and started") << "C:\\x.exe" << true << false;
        QTest::newRow("none found") << QString() << false << false;
        QTest::newRow("found, does not start") << "C:\\gone.exe" << false << false;
        QTest::newRow("found empty") << "" << false << false;
        QTest::newRow("an error on the way") << "C:\\x.exe" << true << true;
    }

    void everyFailureEndsInTheOneMessage()
    {
        QFETCH(QString, program);
        QFETCH(bool, starts);
        QFETCH(bool, raises);
        if (!program.isNull())
            m_system.program = program;
        if (starts)
            m_system.startable << program;
        m_system.raise = raises;
        AboutWindow *window = open();
        QVERIFY(window);
        window->startSystemInformation();
        const bool started = starts && !raises;
        QCOMPARE(m_system.started, started ? QStringList{program} : QStringList());
        QCOMPARE(m_reporter.messages, started ? QStringList() : QStringList{unavailable});
    }

    // The box sits over the About window and hands the focus back to it, so
    // Esc closes the About window right after OK, even with the main window
    // (here a stand-in) open beside it.
    void messageBelongsToTheWindowThatAsked()
    {
        QWidget main;
        main.show();
        velt::MessageBoxReporter boxes;
        AboutInstance about(m_system, boxes);
        about.show();
        AboutWindow *window = about.window();
        QVERIFY(QTest::qWaitForWindowActive(window));
        velt::test::MessageBoxCloser closer;
        closer.arm();
        control<QPushButton>(window, names::kSystemInformationButton)->click();
        QVERIFY(closer.seen);
        QCOMPARE(closer.owner.data(), window);
        QCOMPARE(closer.text, unavailable);
        QTRY_COMPARE(QApplication::activeWindow(), window);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QTRY_VERIFY(!about.window());
    }

    void okUnloadsAndTheNextRequestLoadsAfresh()
    {
        QPointer<AboutWindow> first = open();
        QVERIFY(first);
        control<QLabel>(first, names::kVersionLabel)->setText(QStringLiteral("left over"));
        first->setWindowTitle(QStringLiteral("left over"));

        control<QPushButton>(first, names::kOkButton)->click();
        QVERIFY(!m_about->window());
        QTRY_VERIFY(first.isNull());
        QCOMPARE(visibleAboutWindows(), 0);

        AboutWindow *second = open();
        QVERIFY(second);
        QCOMPARE(second->windowTitle(), QStringLiteral("VELT for Windowsのﾊﾞｰｼﾞｮﾝ情報"));
        QCOMPARE(textOf(second, names::kVersionLabel), QStringLiteral("ﾊﾞｰｼﾞｮﾝ ") + QLatin1StringView(velt::version::kText));
        QTRY_COMPARE(QApplication::focusWidget(), control(second, names::kOkButton));
    }

    void titleBarCloseUnloadsLikeOk()
    {
        QPointer<AboutWindow> window = open();
        QVERIFY(window);
        QVERIFY(window->close());
        QVERIFY(!m_about->window());
        QTRY_VERIFY(window.isNull());
        QVERIFY(open());
    }

    void secondRequestWhileOpenOpensNothingNew()
    {
        AboutWindow *window = open();
        QVERIFY(window);
        control<QLabel>(window, names::kVersionLabel)->setText(QStringLiteral("not reloaded"));

        m_about->show();

        QCOMPARE(m_about->window(), window);
        QCOMPARE(visibleAboutWindows(), 1);
        QCOMPARE(textOf(window, names::kVersionLabel), QStringLiteral("not reloaded"));
    }

    // Opened while another window is active, it still belongs to none.
    void ownedByNoOtherWindow()
    {
        QWidget mainWindow;
        mainWindow.show();
        mainWindow.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&mainWindow));

        AboutWindow *window = open();
        QVERIFY(window);
        QVERIFY(!window->parentWidget());
        QVERIFY(window->windowHandle());
        QVERIFY(!window->windowHandle()->transientParent());
    }
};

QTEST_MAIN(AboutWindowTest)
#include "about_window_test.moc"

