#include "engine/phrase_list.h"
#include "engine/generation.h"
#include "runtime/random_source.h"
#include "support/list_dir.h"

#include <QProcess>
#include <QTest>

using velt::test::ListDir;

namespace {

struct Run
{
    int exitCode = -1;
    QByteArray out;
    QString err;
};

Run runPrint(const QStringList &args)
{
    QProcess process;
    process.start(qEnvironmentVariable("VELT_PRINT"), args);
    process.waitForFinished(30000);
    return {process.exitCode(), process.readAllStandardOutput(), QString::fromUtf8(process.readAllStandardError())};
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
        QTest::addColumn<int>("lines");
        QTest::newRow("default count") << QStringList{} << 20;
        QTest::newRow("one") << QStringList{"1"} << 1;
        QTest::newRow("the maximum") << QStringList{"2000"} << 2000;
    }

    void printsWhatAFreshBatchWouldShow()
    {
        QFETCH(QStringList, args);
        QFETCH(int, lines);
        ListDir dir;
        dir.writeDefaultLists();
        // What a freshly started window's first batch of that count holds.
        velt::RandomSource random;
        const QByteArray expected = velt::composeBatch(QString::number(lines), random).toUtf8();

        const Run run = runPrint(args);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, expected);
    }

    void failuresSayWhyOnStderrOnly_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("remove");
        QTest::addColumn<QString>("mentions");
        QTest::newRow("zero") << QStringList{"0"} << "" << "0";
        QTest::newRow("too many") << QStringList{"2001"} << "" << "2001";
        QTest::newRow("not a number") << QStringList{"abc"} << "" << "abc";
        QTest::newRow("two arguments") << QStringList{"1", "2"} << "" << "velt-print";
        QTest::newRow("missing list") << QStringList{} << "nani.dat" << "nani.dat";
    }

    void failuresSayWhyOnStderrOnly()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, remove);
        QFETCH(QString, mentions);
        ListDir dir;
        dir.writeDefaultLists();
        if (!remove.isEmpty())
            QVERIFY(QFile::remove(remove));
        const Run run = runPrint(args);
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(mentions), qPrintable(run.err));
    }
};

QTEST_GUILESS_MAIN(VeltPrintTest)
#include "velt_print_test.moc"
