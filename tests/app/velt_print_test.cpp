#include "support/first_sentences.h"
#include "support/list_dir.h"
#include "support/program_run.h"
#include "support/system_files.h"
#include "version.h"

#include <QCryptographicHash>
#include <QTest>

using velt::test::ListDir;

namespace {

velt::test::ProgramRun runPrint(const QStringList &args, const QString &output = {})
{
    return velt::test::runProgram(qEnvironmentVariable("VELT_PRINT"), args, QProcessEnvironment::systemEnvironment(),
                                  output);
}

} // namespace

class VeltPrintTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY2(QFile::exists(qEnvironmentVariable("VELT_PRINT")), "VELT_PRINT not set"); }

    void printsWhatAFreshBatchWouldShow_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("sha256"); // of the output, when it is not written out
        QTest::addColumn<QByteArray>("out");
        const auto lines = [](int count) { return (velt::test::kFirstSentences.mid(0, count).join(u'\n') + u'\n').toUtf8(); };
        QTest::newRow("default count") << QStringList{} << QByteArray() << lines(20);
        QTest::newRow("one") << QStringList{"1"} << QByteArray() << lines(1);
        QTest::newRow("the maximum") << QStringList{"2000"} << QByteArray(velt::test::kSha256Of2000Sentences)
                                     << QByteArray();
    }

    void printsWhatAFreshBatchWouldShow()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, sha256);
        QFETCH(QByteArray, out);
        ListDir dir;
        dir.writeDefaultLists();
        const velt::test::ProgramRun run = runPrint(args);
        QCOMPARE(run.exitCode, 0);
        if (sha256.isEmpty())
            QCOMPARE(run.out, out);
        else
            QCOMPARE(QCryptographicHash::hash(run.out, QCryptographicHash::Sha256).toHex(), sha256);
    }

    // Answered before any list is read, so an empty folder does not matter.
    void optionsAnswerOnStdout_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QByteArray>("startsWith");
        QTest::addColumn<QByteArray>("mentions");
        const QByteArray usage("使い方: velt-print");
        QTest::newRow("--help") << QStringList{"--help"} << usage << QByteArray("--version");
        QTest::newRow("-h") << QStringList{"-h"} << usage << QByteArray("--version");
        QTest::newRow("help wins over a count") << QStringList{"--help", "5000"} << usage << QByteArray("--version");
        QTest::newRow("--version") << QStringList{"--version"}
                                   << QByteArray("velt-print ") + velt::version::kText + '\n' << QByteArray();
    }

    void optionsAnswerOnStdout()
    {
        QFETCH(QStringList, args);
        QFETCH(QByteArray, startsWith);
        QFETCH(QByteArray, mentions);
        ListDir dir;
        const velt::test::ProgramRun run = runPrint(args);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        QVERIFY2(run.out.startsWith(startsWith), run.out.constData());
        QVERIFY2(run.out.contains(mentions), run.out.constData());
        if (mentions.isEmpty())
            QCOMPARE(run.out, startsWith);
    }

    // Status 2 for what the user typed wrong, 1 for the lists; either way one
    // line that names the culprit, and for a usage error the pointer to --help.
    void failuresSayWhyOnStderrOnly_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("obstacle"); // a list removed (or made a named pipe), or the file output goes to
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("zero") << QStringList{"0"} << "" << 2 << "「0」";
        QTest::newRow("too many") << QStringList{"2001"} << "" << 2 << "「2001」";
        QTest::newRow("not a number") << QStringList{"abc"} << "" << 2 << "「abc」";
        QTest::newRow("negative after --") << QStringList{"--", "-5"} << "" << 2 << "「-5」";
        QTest::newRow("two arguments") << QStringList{"1", "2"} << "" << 2 << "引数が多すぎます";
        QTest::newRow("unknown long option") << QStringList{"--count=3"} << "" << 2 << "「--count=3」";
        QTest::newRow("unknown short option") << QStringList{"-n", "3"} << "" << 2 << "「-n」";
        QTest::newRow("value after --version") << QStringList{"--version=1"} << "" << 2 << "「--version=1」";
        QTest::newRow("missing list") << QStringList{} << "nani.dat" << 1 << "nani.dat";
        QTest::newRow("missing list, count given") << QStringList{"5"} << "itu.dat" << 1 << "itu.dat";
        // Refused at once, never waited on: nothing writes to the pipe.
        QTest::newRow("list is a named pipe") << QStringList{} << "pipe:doko.dat" << 1 << "doko.dat";
        // Written to a full disk: said, not swallowed.
        QTest::newRow("output to a full disk") << QStringList{"2000"} << "/dev/full" << 1 << "ディスクがいっぱい";
    }

    void failuresSayWhyOnStderrOnly()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, obstacle);
        QFETCH(int, exitCode);
        QFETCH(QString, mentions);
        ListDir dir;
        dir.writeDefaultLists();
        const bool full = obstacle == "/dev/full";
        if (full && !QFile::exists(obstacle))
            QSKIP("this system has no /dev/full");
        const QString removed = obstacle.startsWith("pipe:") ? obstacle.sliced(5) : obstacle;
        if (!removed.isEmpty() && !full)
            QVERIFY(QFile::remove(removed));
        if (removed != obstacle && !velt::test::makeNamedPipe(removed))
            QSKIP("this system has no named pipes in a folder");
        const velt::test::ProgramRun run = runPrint(args, full ? obstacle : QString());
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty());
        QStringList lines = run.err.split(u'\n');
        QCOMPARE(lines.takeLast(), QString());
        QVERIFY2(lines.first().startsWith("velt-print: ") && lines.first().contains(mentions), qPrintable(run.err));
        const QStringList hint{"詳しくは velt-print --help を見てください。"};
        QCOMPARE(lines.mid(1), exitCode == 2 ? hint : QStringList());
    }
};

QTEST_GUILESS_MAIN(VeltPrintTest)
#include "velt_print_test.moc"
