#include "engine/phrase_list.h"
#include "runtime/runtime_error.h"
#include "support/list_dir.h"
#include "support/system_files.h"

#include <QDir>
#include <QTest>

using velt::PhraseList;
using velt::RuntimeError;
using velt::test::ListDir;

namespace {

int errorNumberOf(const std::function<void()> &action, QString *message = nullptr)
{
    try {
        action();
    } catch (const RuntimeError &error) {
        if (message)
            *message = error.message();
        return error.number();
    }
    return 0;
}

QStringList numbered(int n)
{
    QStringList lines;
    for (int i = 1; i <= n; ++i)
        lines << QString::number(i);
    return lines;
}

} // namespace

class PhraseListTest : public QObject
{
    Q_OBJECT

private slots:
    void twoLinesFillTwoSlots()
    {
        ListDir dir;
        dir.writeLines("itu.dat", {"今日", "昨日"});
        const PhraseList list = velt::loadPhraseList("itu.dat");
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.entry(1).toString(), QStringLiteral("今日"));
        QCOMPARE(list.entry(2).toString(), QStringLiteral("昨日"));
        QCOMPARE(list.entry(3).toString(), QString());
        QCOMPARE(list.entry(velt::kListCapacity).toString(), QString());
    }

    void emptyFileIsAnEmptyList()
    {
        ListDir dir;
        dir.writeBytes("doko.dat", {});
        const PhraseList list = velt::loadPhraseList("doko.dat");
        QCOMPARE(list.count(), 0);
        QCOMPARE(list.entry(1).toString(), QString());
    }

    void indexOutsideTheSlotsIsError9_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("zero") << 0;
        QTest::newRow("negative") << -1;
        QTest::newRow("one past capacity") << velt::kListCapacity + 1;
    }

    void indexOutsideTheSlotsIsError9()
    {
        QFETCH(int, index);
        PhraseList list;
        QCOMPARE(errorNumberOf([&] { (void)list.entry(index); }), velt::err::kSubscriptOutOfRange);
    }

    void capacity_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("error");
        QTest::newRow("2000 fields load") << 2000 << 0;
        QTest::newRow("2001 fields stop with error 9") << 2001 << velt::err::kSubscriptOutOfRange;
    }

    void capacity()
    {
        QFETCH(int, lines);
        QFETCH(int, error);
        ListDir dir;
        dir.writeLines("nani.dat", numbered(lines));
        PhraseList list;
        QString message;
        QCOMPARE(errorNumberOf([&] { list = velt::loadPhraseList("nani.dat"); }, &message), error);
        if (error == 0) {
            QCOMPARE(list.count(), 2000);
            QCOMPARE(list.entry(2000).toString(), QStringLiteral("2000"));
        } else {
            QVERIFY2(message.contains("nani.dat"), qPrintable(message));
        }
    }

    void fileIsClosedOnEveryPathOut()
    {
        ListDir dir;
        dir.writeLines("ok.dat", {"a"});
        dir.writeLines("long.dat", numbered(2001));
        dir.writeBytes("bad.dat", "a\r\n\xFF\r\n");
        QDir().mkdir("folder.dat");
        const int before = velt::test::openFileCount();
        for (const char *name : {"ok.dat", "long.dat", "bad.dat", "folder.dat", "missing.dat"}) {
            try {
                velt::loadPhraseList(QString::fromLatin1(name));
            } catch (const RuntimeError &) {
            }
        }
        QCOMPARE(velt::test::openFileCount(), before);
    }

    void openFailures_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<int>("error");
        QTest::newRow("missing file") << "missing" << velt::err::kFileNotFound;
        QTest::newRow("folder in its place") << "folder" << velt::err::kPathFileAccess;
        // The message names the folder even once it is gone.
        QTest::newRow("working folder deleted") << "deleted" << velt::err::kFileNotFound;
    }

    void openFailures()
    {
        QFETCH(QString, setup);
        QFETCH(int, error);
        ListDir dir;
        if (setup == "folder")
            QDir().mkdir("dare1.dat");
        if (setup == "deleted") {
            QDir().mkdir("gone");
            QDir::setCurrent("gone");
            if (!QDir(dir.path()).rmdir("gone"))
                QSKIP("this system keeps a working folder from being deleted");
        }
        QString message;
        QCOMPARE(errorNumberOf([] { velt::loadPhraseList("dare1.dat"); }, &message), error);
        QVERIFY2(message.contains("dare1.dat"), qPrintable(message));
        if (setup == "deleted")
            QVERIFY2(message.contains(dir.path() + "/gone"), qPrintable(message));
    }

    void bankLoadsFiveSlotsInOrder()
    {
        ListDir dir;
        dir.writeLines("itu.dat", {"w"});
        dir.writeLines("dare1.dat", {"p1", "p2"});
        dir.writeLines("dare2.dat", {"q1"});
        dir.writeLines("doko.dat", {"x", "y", "z"});
        dir.writeLines("nani.dat", {"v"});
        const velt::PhraseBank bank = velt::loadPhraseBank();
        QCOMPARE(bank.when.entry(1).toString(), QStringLiteral("w"));
        QCOMPARE(bank.who.count(), 2);
        QCOMPARE(bank.withWhom.entry(1).toString(), QStringLiteral("q1"));
        QCOMPARE(bank.where.count(), 3);
        QCOMPARE(bank.what.entry(1).toString(), QStringLiteral("v"));
    }

    void bankReportsTheFirstBadFileInLoadOrder_data()
    {
        QTest::addColumn<QStringList>("missing");
        QTest::addColumn<QString>("reported");
        QTest::newRow("doko.dat alone") << QStringList{"doko.dat"} << "doko.dat";
        QTest::newRow("dare2.dat before doko.dat") << QStringList{"doko.dat", "dare2.dat"} << "dare2.dat";
        QTest::newRow("nani.dat last") << QStringList{"nani.dat"} << "nani.dat";
    }

    void bankReportsTheFirstBadFileInLoadOrder()
    {
        QFETCH(QStringList, missing);
        QFETCH(QString, reported);
        ListDir dir;
        dir.writeDefaultLists();
        for (const QString &name : missing)
            QVERIFY(QFile::remove(name));
        QString message;
        QCOMPARE(errorNumberOf([] { velt::loadPhraseBank(); }, &message), velt::err::kFileNotFound);
        QVERIFY2(message.contains(reported), qPrintable(message));
    }

    void editsShowOnTheNextLoad()
    {
        ListDir dir;
        dir.writeDefaultLists();
        QCOMPARE(velt::loadPhraseBank().where.entry(1).toString(), QStringLiteral("公園"));
        dir.writeLines("doko.dat", {"屋上"});
        QCOMPARE(velt::loadPhraseBank().where.entry(1).toString(), QStringLiteral("屋上"));
    }
};

QTEST_GUILESS_MAIN(PhraseListTest)
#include "phrase_list_test.moc"
