// What a blind user hears: VELT with Debian's own screen reader, Orca, on
// the real accessibility stack (a private D-Bus session, given by CTest's
// dbus-run-session, the AT-SPI bus, a virtual display with a window
// manager), driven from the keyboard. Orca runs without audio and writes
// what it would say to its debug log, which each row reads. The rows run
// in order, on one window.

#include "support/list_dir.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <unistd.h>

namespace {

constexpr int kSpeechWaitMs = 15000;

} // namespace

class ScreenReaderTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<velt::test::ListDir> m_lists;
    std::vector<std::unique_ptr<QProcess>> m_processes; // stopped in reverse order
    QProcessEnvironment m_env;
    QString m_log;
    qint64 m_read = 0; // how much of the log the rows have looked at
    QProcess *m_orca = nullptr; // script(1), which runs Orca

    // Runs a command to its end; its status, -1 when it did not end.
    static int run(const QString &program, const QStringList &args, const QProcessEnvironment &env = {})
    {
        QProcess process;
        if (!env.isEmpty())
            process.setProcessEnvironment(env);
        process.start(program, args);
        return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // Whether an Orca of this user runs: a second one would not start.
    static bool orcaRuns() { return run(QStringLiteral("pgrep"), {QStringLiteral("-u"), QString::number(getuid()), QStringLiteral("-x"), QStringLiteral("orca")}) == 0; }

    // Starts a program of the stack; its output is read only when `read`.
    QProcess *start(const QString &program, const QStringList &args, bool read = false)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(m_env);
        if (!read)
            process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        process->setStandardInputFile(QProcess::nullDevice());
        process->start(program, args);
        if (!process->waitForStarted())
            qFatal("cannot start %s", qPrintable(program));
        m_processes.push_back(std::move(process));
        return m_processes.back().get();
    }

    void keys(const QStringList &keys)
    {
        QCOMPARE(run(QStringLiteral("xdotool"), QStringList{QStringLiteral("key"), QStringLiteral("--delay"),
                                                            QStringLiteral("300")} + keys, m_env),
                 0);
    }

    // Until the accessibility bus answers on the session bus: Orca started
    // before it waits for ever.
    void waitForAccessibilityBus()
    {
        for (int i = 0; i < 100; ++i) {
            if (run(QStringLiteral("dbus-send"), {QStringLiteral("--session"), QStringLiteral("--print-reply"),
                                                  QStringLiteral("--dest=org.a11y.Bus"), QStringLiteral("/org/a11y/bus"),
                                                  QStringLiteral("org.a11y.Bus.GetAddress")},
                    m_env)
                == 0)
                return;
            QTest::qWait(100);
        }
        QFAIL("the accessibility bus did not come up");
    }

    // The log written since the last call.
    QString newLog()
    {
        QFile file(m_log);
        if (!file.open(QIODevice::ReadOnly) || !file.seek(m_read))
            return {};
        const QByteArray bytes = file.readAll();
        m_read += bytes.size();
        // The terminal it came through ends lines with CR LF.
        return QString::fromUtf8(bytes).remove(u'\r');
    }

    // What Orca said in `log`, one utterance a line.
    static QStringList spoken(const QString &log)
    {
        QStringList said;
        // SPEECH OUTPUT: 'text'{'established': False}
        static const QRegularExpression speech(QStringLiteral("SPEECH OUTPUT: '(.*?)' ?\\{"));
        for (auto it = speech.globalMatch(log); it.hasNext();)
            said << it.next().captured(1);
        return said;
    }

    // Waits until Orca has said something matching `pattern`; returns all
    // it said meanwhile, and the log.
    QPair<QStringList, QString> waitFor(const QRegularExpression &pattern)
    {
        QString log;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < kSpeechWaitMs) {
            log += newLog();
            for (const QString &line : spoken(log)) {
                if (pattern.match(line).hasMatch())
                    return {spoken(log), log};
            }
            QTest::qWait(100);
        }
        return {spoken(log), log};
    }

    // The name the sentence label was last given, as Orca saw it change.
    static QString lastSentence(const QString &log)
    {
        static const QRegularExpression named(
            QStringLiteral("object:property-change:accessible-name for \\[label \\| ([^]]+)\\]"));
        QString last;
        for (auto it = named.globalMatch(log); it.hasNext();)
            last = it.next().captured(1);
        return last;
    }

private slots:
    void initTestCase()
    {
        for (const char *tool : {"orca", "Xvfb", "openbox", "xdotool", "script", "dbus-send", "pgrep", "pkill"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is missing (scripts/test.sh installs it)").arg(QLatin1String(tool))));
        }
        const QString busLauncher = QStringLiteral("/usr/libexec/at-spi-bus-launcher");
        if (!QFile::exists(busLauncher) || qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("no AT-SPI bus launcher or no private D-Bus session (CTest runs this under dbus-run-session)");
        if (orcaRuns())
            QSKIP("an Orca of this user runs already, which a second one would have to stop");
        QVERIFY(m_home.isValid());
        m_lists = std::make_unique<velt::test::ListDir>();
        m_lists->writeDefaultLists();
        m_log = m_home.filePath(QStringLiteral("orca.log"));

        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(QStringLiteral("HOME"), m_home.path());
        m_env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
        m_env.remove(QStringLiteral("QT_QPA_PLATFORM"));

        // A display of its own: Xvfb names it once it is ready.
        QProcess *display = start(QStringLiteral("Xvfb"), {QStringLiteral("-displayfd"), QStringLiteral("1"),
                                                           QStringLiteral("-screen"), QStringLiteral("0"),
                                                           QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                                                           QStringLiteral("tcp")},
                                  true);
        display->setReadChannel(QProcess::StandardOutput);
        QTRY_VERIFY_WITH_TIMEOUT(display->canReadLine(), 10000);
        m_env.insert(QStringLiteral("DISPLAY"), u':' + QString::fromLatin1(display->readLine().trimmed()));

        start(QStringLiteral("openbox"), {});
        start(busLauncher, {QStringLiteral("--launch-immediately")});
        waitForAccessibilityBus();
        // Orca writes its log through a buffer of its own, which a terminal
        // makes it flush line by line: script(1) gives it one and copies
        // what it writes to the log file as it comes.
        m_orca = start(QStringLiteral("script"), {QStringLiteral("-q"), QStringLiteral("-f"), QStringLiteral("-c"),
                                         QStringLiteral("orca --debug-file /dev/stdout"), m_log});
        const auto [said, log] = waitFor(QRegularExpression(QStringLiteral("^Screen reader on")));
        QVERIFY2(!said.isEmpty(), qPrintable(QStringLiteral("Orca said nothing: ") + log.right(3000)));

        QProcessEnvironment velt = m_env;
        velt.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        auto program = std::make_unique<QProcess>();
        program->setProcessEnvironment(velt);
        program->setWorkingDirectory(m_lists->path());
        program->start(qEnvironmentVariable("VELT"), {});
        QVERIFY(program->waitForStarted());
        m_processes.push_back(std::move(program));
        // The window, once shown, has the focus: what a user starting it
        // from a menu has.
        QCOMPARE(run(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--sync"),
                                                 QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                                                 QStringLiteral("^VELT for Windows$"), QStringLiteral("windowactivate"),
                                                 QStringLiteral("--sync")},
                     m_env),
                 0);
        const auto [opened, openLog] = waitFor(QRegularExpression(QStringLiteral("^VELT for Windows frame")));
        QVERIFY2(opened.contains(QStringLiteral("VELT for Windows frame.")),
                 qPrintable(opened.join(u'|') + u'\n' + openLog.right(1500)));
    }

    void cleanupTestCase()
    {
        // Orca, a child of script(1), is ended first and waited for: the
        // next run's Orca would not start beside it.
        if (m_orca) {
            run(QStringLiteral("pkill"), {QStringLiteral("-TERM"), QStringLiteral("-P"), QString::number(m_orca->processId())});
            for (int i = 0; i < 50 && orcaRuns(); ++i)
                QTest::qWait(100);
        }
        for (auto it = m_processes.rbegin(); it != m_processes.rend(); ++it) {
            (*it)->terminate();
            if (!(*it)->waitForFinished(3000))
                (*it)->kill();
        }
    }

    void hears_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("heard"); // a pattern; %1 stands for the sentence shown

        // From the box, Tab to 表示 and press it: the count, once.
        QTest::newRow("表示") << QStringList{"Tab", "space"} << "^notification 言霊を 20 行表示しました";
        // モード → 言霊式モード: the keyboard lands on the roulette's button.
        QTest::newRow("言霊式モード") << QStringList{"alt+m", "Down", "Return"} << "^言霊ルーレット push button";
        // Tab to 止 while it spins (see spinTellsNothing), and press it.
        QTest::newRow("止") << QStringList{"Tab", "Tab", "space"} << "^notification %1\\.$";
        QTest::newRow("次の言霊") << QStringList{"shift+Tab", "space"} << "^notification %1\\.$";
    }

    void hears()
    {
        QFETCH(QStringList, keys);
        QFETCH(QString, heard);
        if (QString::fromUtf8(QTest::currentDataTag()) == QStringLiteral("止")) {
            spinTellsNothing();
            if (QTest::currentTestFailed())
                return;
        }
        newLog();
        this->keys(keys);
        QString pattern = heard;
        if (heard.contains(QStringLiteral("%1"))) {
            // The sentence is known once the label has been named by it.
            const auto [said, log] = waitFor(QRegularExpression(QStringLiteral("^notification ")));
            const QString sentence = lastSentence(log);
            QVERIFY2(!sentence.isEmpty() && sentence.contains(u'、'), qPrintable(log.right(2000)));
            pattern = heard.arg(QRegularExpression::escape(sentence));
            QVERIFY2(said.filter(QRegularExpression(pattern)).size() == 1, qPrintable(said.join(u'|')));
            return;
        }
        const auto [said, log] = waitFor(QRegularExpression(pattern));
        QVERIFY2(said.filter(QRegularExpression(pattern)).size() == 1, qPrintable(said.join(u'|')));
    }

private:
    // 言霊ルーレット, still focused after the mode switch: two seconds of
    // spinning say nothing and send no text events from the hidden box.
    void spinTellsNothing()
    {
        keys({QStringLiteral("space")});
        QTest::qWait(500); // the first step empties the box once
        newLog();
        QTest::qWait(2000);
        const QString log = newLog();
        QCOMPARE(log.count(QStringLiteral("object:text-changed")), 0);
        QCOMPARE(log.count(QStringLiteral("object:text-caret-moved")), 0);
        QCOMPARE(spoken(log), QStringList());
    }
};

QTEST_GUILESS_MAIN(ScreenReaderTest)
#include "screen_reader_test.moc"
