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

class ScreenReaderTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_home;
    std::unique_ptr<velt::test::ListDir> m_lists;
    std::vector<std::unique_ptr<QProcess>> m_processes; // stopped in reverse order
    QProcessEnvironment m_env = QProcessEnvironment::systemEnvironment();
    QString m_log;
    qint64 m_read = 0;          // how much of the log the rows have looked at
    QProcess *m_orca = nullptr; // script(1), which runs Orca

    // Runs a command to its end; its status, -1 when it did not end.
    int run(const QString &program, const QStringList &args)
    {
        QProcess process;
        process.setProcessEnvironment(m_env);
        process.start(program, args);
        return process.waitForFinished(20000) && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }

    // A second Orca of the same user ends at once.
    bool orcaRuns() { return run("pgrep", {"-u", QString::number(getuid()), "-x", "orca"}) == 0; }

    // Starts a program of the stack; its output is read only when `read`.
    QProcess *start(const QString &program, const QStringList &args, bool read = false, const QString &folder = {})
    {
        auto process = std::make_unique<QProcess>();
        process->setWorkingDirectory(folder);
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

    // What Orca said since the last call, one utterance an item, and the log.
    QPair<QStringList, QString> heard()
    {
        QFile file(m_log);
        if (!file.open(QIODevice::ReadOnly) || !file.seek(m_read))
            return {};
        const QByteArray bytes = file.readAll();
        m_read += bytes.size();
        const QString log = QString::fromUtf8(bytes).remove(u'\r'); // it came through a terminal
        // SPEECH OUTPUT: 'text'{'established': False}
        static const QRegularExpression speech("SPEECH OUTPUT: '(.*?)' ?\\{");
        QStringList said;
        for (auto it = speech.globalMatch(log); it.hasNext();)
            said << it.next().captured(1);
        return {said, log};
    }

    // Waits until Orca has said something matching `pattern`; returns all it
    // said meanwhile, and the log.
    QPair<QStringList, QString> waitFor(const QString &pattern)
    {
        QPair<QStringList, QString> all;
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 15000 && all.first.filter(QRegularExpression(pattern)).isEmpty()) {
            QTest::qWait(100);
            const auto [said, log] = heard();
            all.first += said;
            all.second += log;
        }
        return all;
    }

private slots:
    void initTestCase()
    {
        for (const char *tool : {"orca", "Xvfb", "openbox", "xdotool", "script", "dbus-send", "pgrep", "pkill"}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                QSKIP(qPrintable(QString("%1 is missing (scripts/test.sh installs it)").arg(tool)));
        }
        if (!QFile::exists("/usr/libexec/at-spi-bus-launcher") || qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
            QSKIP("no AT-SPI bus launcher or no private D-Bus session (CTest runs this under dbus-run-session)");
        if (orcaRuns())
            QSKIP("an Orca of this user runs already, which a second one would have to stop");
        QVERIFY(m_home.isValid());
        m_lists = std::make_unique<velt::test::ListDir>();
        m_lists->writeDefaultLists();
        m_log = m_home.filePath("orca.log");
        for (const char *name : {"HOME", "XDG_RUNTIME_DIR"})
            m_env.insert(name, m_home.path());
        m_env.remove("QT_QPA_PLATFORM");

        // A display of its own, which Xvfb names once it is ready.
        QProcess *display = start("Xvfb", {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, true);
        QTRY_VERIFY_WITH_TIMEOUT(display->canReadLine(), 10000);
        m_env.insert("DISPLAY", ':' + QString::fromLatin1(display->readLine().trimmed()));
        start("openbox", {});
        start("/usr/libexec/at-spi-bus-launcher", {"--launch-immediately"});
        // Orca started before the accessibility bus answers waits for ever.
        QTRY_COMPARE_WITH_TIMEOUT(
            run("dbus-send", {"--session", "--dest=org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress"}), 0, 10000);
        // Orca writes its log through a buffer of its own, which a terminal
        // makes it flush line by line: script(1) gives it one and copies
        // what it writes to the log file as it comes.
        m_orca = start("script", {"-q", "-f", "-c", "orca --debug-file /dev/stdout", m_log});
        QVERIFY2(!waitFor("^Screen reader on").first.isEmpty(), "Orca said nothing");

        m_env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        start(qEnvironmentVariable("VELT"), {}, false, m_lists->path());
        // Shown, the window has the focus, as when started from a menu.
        QCOMPARE(run("xdotool", {"search", "--sync", "--onlyvisible", "--name", "^VELT for Windows$", "windowactivate",
                                 "--sync"}),
                 0);
        const QStringList opened = waitFor("^VELT for Windows frame").first;
        QVERIFY2(opened.contains("VELT for Windows frame."), qPrintable(opened.join('|')));
    }

    void cleanupTestCase()
    {
        // Orca, a child of script(1), ends first, and is waited for: the next
        // run's Orca would not start beside it.
        if (m_orca) {
            run("pkill", {"-TERM", "-P", QString::number(m_orca->processId())});
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
        if (QString::fromUtf8(QTest::currentDataTag()) == "止") {
            spinTellsNothing();
            if (QTest::currentTestFailed())
                return;
        }
        this->heard();
        QCOMPARE(run("xdotool", QStringList{"key", "--delay", "300"} + keys), 0);
        const auto [said, log] = waitFor(heard.contains("%1") ? heard.arg(".*") : heard);
        if (heard.contains("%1")) {
            // The sentence shown: the one the label was last named by.
            static const QRegularExpression named("accessible-name for \\[label \\| ([^]]+)\\]");
            QString sentence;
            for (auto it = named.globalMatch(log); it.hasNext();)
                sentence = it.next().captured(1);
            QVERIFY2(sentence.contains(u'、'), qPrintable(log.right(2000)));
            heard = heard.arg(QRegularExpression::escape(sentence));
        }
        QVERIFY2(said.filter(QRegularExpression(heard)).size() == 1, qPrintable(said.join('|')));
    }

private:
    // 言霊ルーレット, focused since the mode switch: two seconds of spinning
    // say nothing and send no text events from the hidden box.
    void spinTellsNothing()
    {
        QCOMPARE(run("xdotool", {"key", "space"}), 0);
        QTest::qWait(500); // the first step empties the box, once
        heard();
        QTest::qWait(2000);
        const auto [said, log] = heard();
        QCOMPARE(log.count("object:text-changed") + log.count("object:text-caret-moved"), 0);
        QCOMPARE(said, QStringList());
    }
};

QTEST_GUILESS_MAIN(ScreenReaderTest)
#include "screen_reader_test.moc"
