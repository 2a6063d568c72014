#include "engine/phrase_list.h"
#include "engine/generation.h"
#include "text/cp932.h"
#include "runtime/random_source.h"
#include "runtime/runtime_timer.h"
#include "support/counting_reporter.h"
#include "support/first_sentences.h"
#include "support/accessibility_recorder.h"
#include "support/list_dir.h"
#include "support/message_box_closer.h"
#include "support/system_files.h"
#include "ui/application.h"
#include "ui/main_window.h"
#include "ui/object_names.h"
#include "ui/spoken_notice.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

namespace names = velt::names;

using velt::MainWindow;
using velt::RuntimeTimer;
using velt::test::CountingReporter;
using velt::test::ListDir;

class MainWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ListDir> m_dir;
    std::unique_ptr<CountingReporter> m_reporter;
    std::unique_ptr<velt::RandomSource> m_random;
    std::unique_ptr<MainWindow> m_window;

    template <typename T>
    T *find(const char *name) const
    {
        T *child = m_window->findChild<T *>(QLatin1StringView(name));
        if (!child)
            qFatal("no control named %s", name);
        return child;
    }
    QPlainTextEdit *veltbox() const { return find<QPlainTextEdit>(names::kSentenceBox); }
    QLabel *label2() const { return find<QLabel>(names::kRouletteLabel); }
    RuntimeTimer *timer(const char *name) const { return find<RuntimeTimer>(name); }
    static QWidget *aboutWindow()
    {
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (window->objectName() == names::kAboutWindow && window->isVisible())
                return window;
        }
        return nullptr;
    }
    void click(const char *button) const { QTest::mouseClick(find<QPushButton>(button), Qt::LeftButton); }
    void trigger(const char *action) const { find<QAction>(action)->trigger(); }

    void runBatch()
    {
        QSignalSpy ticks(timer(names::kBatchTimer), &RuntimeTimer::tick);
        click(names::kShowButton);
        QTRY_COMPARE(ticks.count(), 1);
    }

private slots:
    void initTestCase() { velt::setUpApplication(); }

    void init()
    {
        m_dir = std::make_unique<ListDir>();
        m_dir->writeDefaultLists();
        m_reporter = std::make_unique<CountingReporter>();
        m_random = std::make_unique<velt::RandomSource>();
        m_window = std::make_unique<MainWindow>(m_reporter.get(), m_random.get());
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QTRY_COMPARE(veltbox()->toPlainText(), QStringLiteral("もぬ"));
    }

    void cleanup()
    {
        m_window.reset();
        m_dir.reset();
    }

    void startState()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("VELT for Windows"));
        QCOMPARE(find<QLineEdit>(names::kCountBox)->text(), QStringLiteral("20"));
        QCOMPARE(timer(names::kPlaceholderTimer)->interval(), 0);
        QCOMPARE(timer(names::kBatchTimer)->interval(), 0);
        QCOMPARE(timer(names::kRouletteTimer)->interval(), 0);
        for (const char *shown : {names::kSentenceBox, names::kShowButton, names::kCountLabel, names::kCountBox, names::kCountSpinner, names::kRouletteLabel})
            QVERIFY2(find<QWidget>(shown)->isVisible(), shown);
        for (const char *hidden : {names::kSpinButton, names::kNextButton, names::kStopButton})
            QVERIFY2(!find<QWidget>(hidden)->isVisible(), hidden);
        QVERIFY(!find<QAction>(names::kCharacterEditAction)->isEnabled());
        QVERIFY(find<QAction>(names::kSaveAction)->isEnabled());
        QCOMPARE(label2()->text(), QString());
        QVERIFY(find<QLineEdit>(names::kCountBox)->isReadOnly());
        QVERIFY(veltbox()->isReadOnly());
    }

    void geometryIsFixed()
    {
        QCOMPARE(m_window->centralWidget()->size(), QSize(473, 322));
        QCOMPARE(veltbox()->geometry(), QRect(0, 0, 473, 281));
        QCOMPARE(find<QWidget>(names::kCountSpinner)->geometry(), QRect(184, 304, 17, 17));
        QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
        const Qt::WindowFlags flags = m_window->windowFlags();
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        // Label2 lies beneath the box, which covers it completely.
        QVERIFY(veltbox()->geometry().contains(label2()->geometry()));
        const QObjectList order = m_window->centralWidget()->children();
        QVERIFY(order.indexOf(label2()) < order.indexOf(veltbox()));
    }

    void tabOrder_data()
    {
        QTest::addColumn<bool>("roulette");
        QTest::addColumn<QStringList>("chain");
        QTest::newRow("multi-line mode") << false << QStringList{names::kSentenceBox, names::kShowButton, names::kCountBox, names::kCountSpinner, names::kSentenceBox};
        QTest::newRow("roulette mode") << true << QStringList{names::kSpinButton, names::kNextButton, names::kStopButton, names::kSpinButton};
    }

    void tabOrder()
    {
        QFETCH(bool, roulette);
        QFETCH(QStringList, chain);
        if (roulette)
            trigger(names::kRouletteModeAction);
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        find<QWidget>(qPrintable(chain.first()))->setFocus();
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), chain.first());
        for (const QString &next : chain.mid(1)) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(QApplication::focusWidget()->objectName(), next);
        }
        QVERIFY(!veltbox()->toPlainText().contains(u'\t'));
    }

    void qtTextsAreJapanese()
    {
        const std::unique_ptr<QMenu> menu(veltbox()->createStandardContextMenu());
        QStringList texts;
        for (const QAction *action : menu->actions())
            texts << action->text();
        QVERIFY2(texts.join(u' ').contains(QStringLiteral("コピー")), qPrintable(texts.join(u' ')));
    }

    // Styles draw no focus for a scroll bar: this one shows it, in place.
    void spinnerShowsTheKeyboardFocus()
    {
        QWidget *spinner = find<QWidget>(names::kCountSpinner);
        const QRect place = spinner->geometry();
        const QImage unfocused = spinner->grab().toImage();
        QApplication::setActiveWindow(m_window.get());
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
        find<QWidget>(names::kCountBox)->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), spinner);
        QVERIFY(spinner->grab().toImage() != unfocused);
        QCOMPARE(spinner->geometry(), place);
    }

    void spinnerDrivesTheCount_data()
    {
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<QString>("count");
        QTest::newRow("Down grows by 10") << QList<int>{Qt::Key_Down} << "30";
        QTest::newRow("Up shrinks to the minimum 10") << QList<int>{Qt::Key_Up, Qt::Key_Up} << "10";
        QTest::newRow("End reaches the maximum 2000") << QList<int>{Qt::Key_End, Qt::Key_Down} << "2000";
    }

    void spinnerDrivesTheCount()
    {
        QFETCH(QList<int>, keys);
        QFETCH(QString, count);
        auto *spinner = find<QScrollBar>(names::kCountSpinner);
        QCOMPARE(spinner->focusPolicy() & Qt::TabFocus, Qt::TabFocus);
        for (int key : keys)
            QTest::keyClick(spinner, Qt::Key(key));
        QCOMPARE(find<QLineEdit>(names::kCountBox)->text(), count);
    }

    void lowerArrowGrowsTheCount()
    {
        auto *spinner = find<QScrollBar>(names::kCountSpinner);
        // Clicking near the bottom edge hits the lower arrow.
        QTest::mouseClick(spinner, Qt::LeftButton, {}, QPoint(spinner->width() / 2, spinner->height() - 2));
        QCOMPARE(find<QLineEdit>(names::kCountBox)->text(), QStringLiteral("30"));
    }

    void batchShowsWhatTheEngineComposes()
    {
        runBatch();
        QCOMPARE(veltbox()->toPlainText(), velt::test::kFirstSentences.mid(0, 20).join(u'\n') + u'\n');
        QCOMPARE(timer(names::kBatchTimer)->interval(), 0);
    }

    void batchFollowsTheSpinner()
    {
        find<QScrollBar>(names::kCountSpinner)->setValue(2000);
        runBatch();
        QCOMPARE(veltbox()->toPlainText().count(u'\n'), 2000);
    }

    void twoQuickClicksMakeOneBatch()
    {
        QSignalSpy ticks(timer(names::kBatchTimer), &RuntimeTimer::tick);
        click(names::kShowButton);
        click(names::kShowButton);
        QTRY_COMPARE(ticks.count(), 1);
        QTest::qWait(60);
        QCOMPARE(ticks.count(), 1);
        // A later click makes a fresh batch that replaces the lines.
        const QString first = veltbox()->toPlainText();
        runBatch();
        QCOMPARE(veltbox()->toPlainText().count(u'\n'), 20);
        QVERIFY(veltbox()->toPlainText() != first);
    }

    void saveWritesTheBoxWithCrLf_data()
    {
        QTest::addColumn<QString>("lists");
        QTest::newRow("right after start") << "none";
        QTest::newRow("after a batch") << "code page 932";
        // Written elsewhere, with 〜 and − where code page 932 has ～ and －.
        QTest::newRow("after a batch from UTF-8 lists") << "UTF-8";
    }

    void saveWritesTheBoxWithCrLf()
    {
        QFETCH(QString, lists);
        if (lists == "UTF-8") {
            for (const char16_t *name : velt::kListFiles)
                m_dir->writeBytes(QString::fromUtf16(name), QString("10〜12時,−5度,東京\n大阪\n").toUtf8());
        }
        QByteArray expected = ListDir::sjis(QStringLiteral("もぬ\r\n"));
        if (lists == "code page 932") {
            runBatch();
            expected = ListDir::sjis(velt::test::kFirstSentences.mid(0, 20).join(QStringLiteral("\r\n"))
                                     + QStringLiteral("\r\n\r\n"));
        } else if (lists == "UTF-8") {
            runBatch();
            QString text = veltbox()->toPlainText().replace(u'\n', QStringLiteral("\r\n")) + QStringLiteral("\r\n");
            QVERIFY(text.contains(u'〜') && text.contains(u'−'));
            expected = ListDir::sjis(text.replace(u'〜', u'～').replace(u'−', u'－'));
        }
        trigger(names::kSaveAction);
        QCOMPARE(ListDir::readBytes("velt.txt"), expected);
        QVERIFY(m_reporter->messages.isEmpty());
    }

    void secondSaveReplacesTheFirst()
    {
        runBatch();
        trigger(names::kSaveAction);
        QVERIFY(ListDir::readBytes("velt.txt").size() > 100);
        trigger(names::kRouletteModeAction);
        click(names::kNextButton);
        QTRY_VERIFY(veltbox()->toPlainText().isEmpty());
        trigger(names::kMultiLineModeAction);
        trigger(names::kSaveAction);
        QCOMPARE(ListDir::readBytes("velt.txt"), QByteArray("\r\n"));
    }

    void modeColumns()
    {
        const char *multi[] = {names::kShowButton, names::kSentenceBox, names::kCountSpinner, names::kCountBox, names::kCountLabel};
        const char *roulette[] = {names::kSpinButton, names::kNextButton, names::kStopButton};
        for (int round = 0; round < 2; ++round) {
            trigger(names::kRouletteModeAction);
            for (const char *name : multi)
                QVERIFY2(!find<QWidget>(name)->isVisible(), name);
            for (const char *name : roulette)
                QVERIFY2(find<QWidget>(name)->isVisible(), name);
            QVERIFY(label2()->isVisible());
            QVERIFY(!find<QAction>(names::kSaveAction)->isEnabled());
            // The keyboard goes to the new mode, not to a hidden control.
            QCOMPARE(m_window->focusWidget(), find<QWidget>(names::kSpinButton));

            trigger(names::kMultiLineModeAction);
            for (const char *name : multi)
                QVERIFY2(find<QWidget>(name)->isVisible(), name);
            for (const char *name : roulette)
                QVERIFY2(!find<QWidget>(name)->isVisible(), name);
            QVERIFY(label2()->isVisible());
            QVERIFY(find<QAction>(names::kSaveAction)->isEnabled());
            QCOMPARE(m_window->focusWidget(), veltbox());
        }
    }

    void batchRequestedBeforeSwitchingStillRuns()
    {
        QSignalSpy ticks(timer(names::kBatchTimer), &RuntimeTimer::tick);
        click(names::kShowButton);
        trigger(names::kRouletteModeAction);
        QTRY_COMPARE(ticks.count(), 1);
        trigger(names::kMultiLineModeAction);
        QCOMPARE(veltbox()->toPlainText().count(u'\n'), 20);
    }

    void roulette_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::newRow("one more from stopped") << "next";
        QTest::newRow("spin then stop") << "stop";
        QTest::newRow("one more while spinning") << "spin-next";
        QTest::newRow("multi-line mode stops the spin") << "multi-line";
    }

    void roulette()
    {
        QFETCH(QString, scenario);
        trigger(names::kRouletteModeAction);
        QCOMPARE(label2()->text(), QString());
        QSignalSpy steps(timer(names::kRouletteTimer), &RuntimeTimer::tick);
        if (scenario == "next") {
            click(names::kNextButton);
            QCOMPARE(timer(names::kRouletteTimer)->interval(), 20);
            QTRY_COMPARE(steps.count(), 1);
        } else {
            click(names::kSpinButton);
            QCOMPARE(timer(names::kRouletteTimer)->interval(), 10);
            QTRY_VERIFY(steps.count() >= 3);
            // A moving sentence is not offered for selection.
            QCOMPARE(label2()->textInteractionFlags(), Qt::NoTextInteraction);
            if (scenario == "stop")
                click(names::kStopButton);
            else if (scenario == "multi-line")
                trigger(names::kMultiLineModeAction);
            else {
                click(names::kNextButton);
                const int before = steps.count();
                QTRY_COMPARE(steps.count(), before + 1);
            }
        }
        QTRY_COMPARE(timer(names::kRouletteTimer)->interval(), 0);
        const int settled = steps.count();
        const QString shown = label2()->text();
        QTest::qWait(80);
        QCOMPARE(steps.count(), settled);
        QCOMPARE(label2()->text(), shown);
        QVERIFY(!shown.isEmpty());
        QVERIFY(!shown.contains(u'\n') && !shown.contains(u'\r'));
        QCOMPARE(label2()->textInteractionFlags(), Qt::TextSelectableByMouse);
        // The sentence the last step drew stays.
        QVERIFY(settled <= velt::test::kFirstSentences.size());
        QCOMPARE(shown, velt::test::kFirstSentences.at(settled - 1));
        // Every step empties the multi-line box.
        QCOMPARE(veltbox()->toPlainText(), QString());
    }

    // The roulette's sentence can be selected and copied through its context
    // menu, and the label still takes no keyboard focus.
    void rouletteSentenceCanBeCopied_data()
    {
        QTest::addColumn<bool>("selectPart");
        QTest::newRow("nothing selected: the whole sentence") << false;
        QTest::newRow("a part selected") << true;
    }

    void rouletteSentenceCanBeCopied()
    {
        QFETCH(bool, selectPart);
        trigger(names::kRouletteModeAction);
        click(names::kNextButton);
        QTRY_VERIFY(!label2()->text().isEmpty());
        QCOMPARE(label2()->focusPolicy(), Qt::NoFocus);
        QCOMPARE(label2()->contextMenuPolicy(), Qt::ActionsContextMenu);
        const auto menuEntry = [this](const QString &text) {
            for (QAction *action : label2()->actions()) {
                if (action->text().startsWith(text))
                    return action;
            }
            qFatal("no context menu entry %s", qPrintable(text));
        };
        menuEntry(QStringLiteral("すべてを選択"))->trigger();
        QCOMPARE(label2()->selectedText(), label2()->text());
        QString expected = label2()->text();
        if (selectPart) {
            label2()->setSelection(0, 3);
            expected = expected.left(3);
        } else {
            label2()->setSelection(0, 0);
        }
        QGuiApplication::clipboard()->clear();
        menuEntry(QStringLiteral("コピー"))->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);
        QVERIFY(QApplication::focusWidget() != label2());
    }

    // A run-time error's box sits over the main window and hands the focus
    // back to it after OK.
    void messageBelongsToTheMainWindow()
    {
        QVERIFY(QFile::remove("nani.dat"));
        velt::RandomSource random;
        MainWindow window(nullptr, &random);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        velt::test::MessageBoxCloser closer;
        closer.arm();
        QTest::mouseClick(window.findChild<QPushButton *>(names::kShowButton), Qt::LeftButton);
        QTRY_VERIFY(closer.seen);
        QCOMPARE(closer.owner.data(), &window);
        QVERIFY(closer.text.contains("nani.dat"));
        QTRY_COMPARE(QApplication::activeWindow(), &window);
    }

    // What a screen reader is told: a notification once when a batch is
    // shown and once when the roulette stops, and the names of the box and
    // the sentence true to what they show; nothing per step.
    void announcements()
    {
        using Heard = QList<velt::test::AccessibilityRecorder::Announcement>;
        velt::test::AccessibilityRecorder recorder;
        QObject *notice = m_window->findChild<velt::SpokenNotice *>();
        runBatch();
        QCOMPARE(recorder.take(), (Heard{{veltbox(), QStringLiteral("言霊の一覧（20 行）"), {}},
                                         {notice, {}, QStringLiteral("言霊を 20 行表示しました")}}));
        trigger(names::kRouletteModeAction);
        QSignalSpy steps(timer(names::kRouletteTimer), &RuntimeTimer::tick);
        click(names::kSpinButton);
        // The sentence is named as moving and the box is emptied, once; then
        // the steps tell nothing.
        QTRY_VERIFY(steps.count() >= 1);
        QCOMPARE(recorder.take(), (Heard{{label2(), QStringLiteral("言霊（回転中）"), {}},
                                         {veltbox(), QStringLiteral("言霊の一覧"), {}}}));
        QTRY_VERIFY(steps.count() >= 5);
        QCOMPARE(recorder.take(), Heard());
        for (const char *stop : {names::kStopButton, names::kNextButton}) {
            if (stop == names::kNextButton) {
                click(names::kSpinButton);
                QTRY_VERIFY(steps.count() >= 10);
                recorder.take();
            }
            click(stop);
            QTRY_COMPARE(timer(names::kRouletteTimer)->interval(), 0);
            const QString sentence = label2()->text();
            QCOMPARE(recorder.take(), (Heard{{label2(), sentence, {}}, {notice, {}, sentence}}));
        }
        click(names::kStopButton); // already still: nothing new to tell
        QCOMPARE(recorder.take(), Heard());
    }

    void labelShowsEntriesLiterally()
    {
        m_dir->writeLines("itu.dat", {"<b>x</b>&y"});
        m_dir->writeLines("doko.dat", {"<img src=a.png>"});
        trigger(names::kRouletteModeAction);
        click(names::kNextButton);
        QTRY_VERIFY(!label2()->text().isEmpty());
        QVERIFY(label2()->text().startsWith("<b>x</b>&y、"));
        QVERIFY(label2()->text().contains("が<img src=a.png>で"));
        QCOMPARE(label2()->textFormat(), Qt::PlainText);
    }

    // A failing tick stops its timer, shows one message naming the file and
    // leaves the screen as it was; fixing the file makes the next tick work.
    void failingTicksKeepTheScreen_data()
    {
        QTest::addColumn<bool>("roulette");
        QTest::addColumn<QString>("breakage");
        QTest::addColumn<QString>("named");
        QTest::newRow("batch, list missing") << false << "remove doko.dat" << "doko.dat";
        QTest::newRow("batch, undecodable list") << false << "garble nani.dat" << "nani.dat";
        QTest::newRow("batch, one person") << false << "one dare1.dat" << "dare1.dat";
        QTest::newRow("batch, count not a number") << false << "count" << "abc";
        QTest::newRow("spin, list missing") << true << "remove doko.dat" << "doko.dat";
        QTest::newRow("spin, too many entries") << true << "long itu.dat" << "itu.dat";
    }

    void failingTicksKeepTheScreen()
    {
        QFETCH(bool, roulette);
        QFETCH(QString, breakage);
        QFETCH(QString, named);
        const char *button = roulette ? names::kSpinButton : names::kShowButton;
        RuntimeTimer *driver = timer(roulette ? names::kRouletteTimer : names::kBatchTimer);
        if (roulette)
            trigger(names::kRouletteModeAction);
        click(roulette ? names::kNextButton : names::kShowButton);
        QTRY_COMPARE(driver->interval(), 0);
        const QString box = veltbox()->toPlainText();
        const QString label = label2()->text();

        const QString file = breakage.section(u' ', 1);
        if (breakage.startsWith("remove"))
            QVERIFY(QFile::remove(file));
        else if (breakage.startsWith("garble"))
            m_dir->writeBytes(file, "ok\r\n\x81\x20\r\n");
        else if (breakage.startsWith("one"))
            m_dir->writeLines(file, {"ひとり"});
        else if (breakage.startsWith("long")) {
            QStringList lines;
            for (int i = 0; i <= velt::kListCapacity; ++i)
                lines << QString::number(i);
            m_dir->writeLines(file, lines);
        } else
            find<QLineEdit>(names::kCountBox)->setText("abc");

        QSignalSpy ticks(driver, &RuntimeTimer::tick);
        click(button);
        QTRY_COMPARE(m_reporter->messages.size(), 1);
        QCOMPARE(driver->interval(), 0);
        QTest::qWait(50);
        QCOMPARE(ticks.count(), 1);
        QCOMPARE(m_reporter->messages.size(), 1);
        QVERIFY2(m_reporter->messages.first().contains(named), qPrintable(m_reporter->messages.first()));
        QCOMPARE(veltbox()->toPlainText(), box);
        QCOMPARE(label2()->text(), label);

        m_dir->writeDefaultLists();
        find<QLineEdit>(names::kCountBox)->setText("20");
        click(roulette ? names::kNextButton : names::kShowButton);
        QTRY_COMPARE(ticks.count(), 2);
        QCOMPARE(m_reporter->messages.size(), 1);
        QVERIFY(roulette ? label2()->text() != label : veltbox()->toPlainText().count(u'\n') == 20);
    }

    void failedSaveLeavesTheOldFile_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("the system stops the save") << "system";
        QTest::newRow("a folder named velt.txt") << "folder";
    }

    void failedSaveLeavesTheOldFile()
    {
        QFETCH(QString, obstacle);
        if (obstacle == "folder") {
            QVERIFY(QDir().mkdir("velt.txt"));
            trigger(names::kSaveAction);
            QCOMPARE(m_reporter->messages.size(), 1);
            QVERIFY(m_reporter->messages.first().contains("velt.txt"));
            QVERIFY(QFileInfo("velt.txt").isDir());
            return;
        }
        trigger(names::kSaveAction);
        const QByteArray old = ListDir::readBytes("velt.txt");
        find<QScrollBar>(names::kCountSpinner)->setValue(2000);
        runBatch();
        {
            const velt::test::SaveObstacle system("velt.txt");
            trigger(names::kSaveAction);
        }
        QCOMPARE(m_reporter->messages.size(), 1);
        QVERIFY(m_reporter->messages.first().contains("velt.txt"));
        QCOMPARE(ListDir::readBytes("velt.txt"), old);
        QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden).filter("velt").size(), 1);
    }

    void closingStopsTheTimers()
    {
        trigger(names::kRouletteModeAction);
        click(names::kSpinButton);
        QTRY_VERIFY(!label2()->text().isEmpty());
        m_window->close();
        QCOMPARE(timer(names::kRouletteTimer)->interval(), 0);
        QVERIFY(!timer(names::kRouletteTimer)->isRunning());
    }

    void endStopsEverythingAtOnce()
    {
        click(names::kShowButton);
        trigger(names::kAboutAction);
        QTRY_VERIFY(aboutWindow());
        timer(names::kRouletteTimer)->setInterval(10);
        trigger(names::kQuitAction);
        for (const char *name : {names::kPlaceholderTimer, names::kBatchTimer, names::kRouletteTimer})
            QVERIFY2(!timer(name)->isRunning(), name);
        QVERIFY(!m_window->isVisible());
        QVERIFY(!aboutWindow() || !aboutWindow()->isVisible());
    }

    void aboutWindowLeavesTheMainWindowWorking()
    {
        trigger(names::kAboutAction);
        trigger(names::kAboutAction);
        QTRY_VERIFY(aboutWindow());
        int shown = 0;
        for (QWidget *window : QApplication::topLevelWidgets())
            shown += window->objectName() == names::kAboutWindow && window->isVisible();
        QCOMPARE(shown, 1);
        QVERIFY(!aboutWindow()->parentWidget());

        // The roulette spins on, and the batch still runs, behind it.
        trigger(names::kRouletteModeAction);
        QSignalSpy steps(timer(names::kRouletteTimer), &RuntimeTimer::tick);
        click(names::kSpinButton);
        QTRY_VERIFY(steps.count() >= 5);
        click(names::kStopButton);
        trigger(names::kMultiLineModeAction);
        runBatch();
        QCOMPARE(veltbox()->toPlainText().count(u'\n'), 20);
        aboutWindow()->close();
        QTRY_VERIFY(!aboutWindow());
    }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"

