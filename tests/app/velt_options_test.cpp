// The window program's options must answer on a console without a display:
// each run here has DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM removed.

#include "support/program_run.h"
#include "version.h"

#include <QProcess>
#include <QTest>

namespace {

velt::test::ProgramRun runVelt(const QStringList &args)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    return velt::test::runProgram(qEnvironmentVariable("VELT"), args, env);
}

} // namespace

class VeltOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(QFile::exists(qEnvironmentVariable("VELT")), "VELT not set"); }

    void answersWithoutADisplay_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("outStartsWith");
        QTest::addColumn<QStringList>("errLines");

        const QByteArray usage("使い方: velt");
        QTest::newRow("--help") << QStringList{"--help"} << 0 << usage << QStringList();
        QTest::newRow("-h") << QStringList{"-h"} << 0 << usage << QStringList();
        QTest::newRow("--version") << QStringList{"--version"} << 0
                                   << QByteArray("velt ") + velt::version::kText + '\n' << QStringList();
#ifndef Q_OS_WIN
        // Without options the display check still speaks first, which also
        // shows that these runs really had no display. (Windows always has
        // a desktop here: its check has a test of its own.)
        const QString noDisplay("velt: no display found (DISPLAY is not set); to run without one, use: xvfb-run velt");
        QTest::newRow("no arguments") << QStringList() << 1 << QByteArray() << QStringList{noDisplay};
        // Any other argument is set aside, and the window starts as ever:
        // a file dropped on the program must not make it vanish.
        const QString ignored("velt: 引数%1を使わずに起動します（velt はオプションのほかに引数を取りません）。");
        QTest::newRow("an argument") << QStringList{"itu.dat"} << 1 << QByteArray()
                                     << QStringList{ignored.arg("「itu.dat」"), noDisplay};
        QTest::newRow("unknown option and Qt's -platform")
            << QStringList{"--lines=3", "-platform", "offscreen"} << 1 << QByteArray()
            << QStringList{ignored.arg("「--lines=3」「-platform」「offscreen」"), noDisplay};
#endif
    }

    void answersWithoutADisplay()
    {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, outStartsWith);
        QFETCH(QStringList, errLines);

        const velt::test::ProgramRun run = runVelt(args);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.out.startsWith(outStartsWith) && (outStartsWith.isEmpty() == run.out.isEmpty()),
                 run.out.constData());
        if (outStartsWith.endsWith('\n'))
            QCOMPARE(run.out, outStartsWith);
        QStringList lines = run.err.split(u'\n');
        QCOMPARE(lines.takeLast(), QString());
        QCOMPARE(lines, errLines);
    }
};

QTEST_GUILESS_MAIN(VeltOptionsTest)
#include "velt_options_test.moc"
