// Systems without a registry: the desktop's system-information program on
// the search path, started as one program.

#include "os/system_information.h"
#include "support/search_path.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using velt::SystemInformation;

class SystemInformationTest : public QObject
{
    Q_OBJECT

private slots:
    void locatesTheFirstProgramFound_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("kinfocenter before the others") << QStringList{"hardinfo", "hardinfo2", "kinfocenter"} << "kinfocenter";
        QTest::newRow("hardinfo2 before hardinfo") << QStringList{"hardinfo", "hardinfo2"} << "hardinfo2";
        QTest::newRow("hardinfo") << QStringList{"hardinfo"} << "hardinfo";
        QTest::newRow("none") << QStringList() << QString();
        QTest::newRow("other programs do not count") << QStringList{"msinfo32"} << QString();
    }

    void locatesTheFirstProgramFound()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        // A folder name that code page 932 cannot spell is no obstacle.
        const QString folder = dir.filePath("Системная 情報 😀");
        QVERIFY(QDir().mkpath(folder));
        for (const QString &name : std::as_const(installed))
            velt::test::writeRecordingProgram(folder + u'/' + name);
        velt::test::SearchPath path(folder);

        const std::optional<QString> program = SystemInformation::native().locate();
        QCOMPARE(program.value_or(QString()), expected.isEmpty() ? QString() : folder + u'/' + expected);
    }

    void startsThePathAsOneProgram()
    {
        QTemporaryDir dir;
        // Split at its space, the path would name ".../System" with the
        // argument "Info/kinfocenter".
        const QString folder = dir.filePath("System Info");
        QVERIFY(QDir().mkpath(folder));
        velt::test::writeRecordingProgram(folder + "/kinfocenter");
        QVERIFY(SystemInformation::native().start(folder + "/kinfocenter"));
        const auto arguments = [&] {
            QFile started(folder + "/started");
            return started.open(QIODevice::ReadOnly) ? started.readAll() : QByteArray();
        };
        QTRY_COMPARE(arguments(), QByteArray("0\n"));
    }

    void failsToStart_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("empty path") << QString();
        QTest::newRow("missing program") << "missing";
        QTest::newRow("not executable") << "plain.txt";
        QTest::newRow("a folder") << ".";
    }

    void failsToStart()
    {
        QFETCH(QString, relative);
        QTemporaryDir dir;
        QFile plain(dir.filePath("plain.txt"));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.write("echo hello\n");
        plain.close();
        QVERIFY(!SystemInformation::native().start(relative.isEmpty() ? QString() : dir.filePath(relative)));
    }
};

QTEST_GUILESS_MAIN(SystemInformationTest)
#include "system_information_test.moc"
