#include "os/system_info.h"

#include "runtime/cp932.h"
#include "support/search_path.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// The stand-in that answers for the registry on systems without one.

using velt::SystemInfo;
namespace registry = velt::registry;

namespace {

const QString msinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::optional<velt::RegistryValue> readPath(SystemInfo &system)
{
    const auto key = system.openKey(registry::Root::LocalMachine, msinfoKey, registry::KeyRead);
    if (!key)
        return std::nullopt;
    auto value = system.queryValue(*key, QStringLiteral("PATH"), 1024);
    system.closeKey(*key);
    return value;
}

} // namespace

class SystemInfoTest : public QObject
{
    Q_OBJECT

private slots:
    void pathNamesTheFirstProgramFound_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("kinfocenter") << QStringList{QStringLiteral("kinfocenter")} << QStringLiteral("kinfocenter");
        QTest::newRow("hardinfo2") << QStringList{QStringLiteral("hardinfo2")} << QStringLiteral("hardinfo2");
        QTest::newRow("hardinfo") << QStringList{QStringLiteral("hardinfo")} << QStringLiteral("hardinfo");
        QTest::newRow("kinfocenter before the others")
            << QStringList{QStringLiteral("hardinfo"), QStringLiteral("hardinfo2"), QStringLiteral("kinfocenter")}
            << QStringLiteral("kinfocenter");
        QTest::newRow("hardinfo2 before hardinfo")
            << QStringList{QStringLiteral("hardinfo"), QStringLiteral("hardinfo2")} << QStringLiteral("hardinfo2");
        QTest::newRow("none") << QStringList() << QString();
        QTest::newRow("other programs do not count") << QStringList{QStringLiteral("msinfo32")} << QString();
    }

    void pathNamesTheFirstProgramFound()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, expected);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const QString &name : std::as_const(installed))
            velt::test::writeRecordingProgram(dir.filePath(name));
        velt::test::SearchPath path(dir.path());

        const auto value = readPath(SystemInfo::native());
        if (expected.isEmpty()) {
            QVERIFY(!value);
            return;
        }
        QVERIFY(value);
        QCOMPARE(value->type, registry::TypeSz);
        QCOMPARE(value->data, *velt::cp932::encode(dir.filePath(expected)) + QByteArray(1, '\0'));
    }

    void pathIsCodePage932Text()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.filePath(QStringLiteral("ｼｽﾃﾑ 表示"));
        QVERIFY(QDir().mkpath(folder));
        velt::test::writeRecordingProgram(folder + QStringLiteral("/hardinfo"));
        velt::test::SearchPath path(folder);

        const auto value = readPath(SystemInfo::native());
        QVERIFY(value);
        QCOMPARE(value->data, *velt::cp932::encode(folder + QStringLiteral("/hardinfo")) + QByteArray(1, '\0'));
    }

    void pathLongerThanTheBufferIsAbsent()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        velt::test::writeRecordingProgram(dir.filePath(QStringLiteral("kinfocenter")));
        velt::test::SearchPath path(dir.path());

        SystemInfo &system = SystemInfo::native();
        const auto key = system.openKey(registry::Root::LocalMachine, msinfoKey, registry::KeyRead);
        QVERIFY(key);
        const qsizetype stored = QFile::encodeName(dir.filePath(QStringLiteral("kinfocenter"))).size() + 1;
        QVERIFY(system.queryValue(*key, QStringLiteral("PATH"), stored));
        QVERIFY(!system.queryValue(*key, QStringLiteral("PATH"), stored - 1));
        system.closeKey(*key);
    }

    void keysOpen_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<uint>("access");
        QTest::addColumn<bool>("opens");
        QTest::newRow("MSINFO for reading") << msinfoKey << uint(registry::KeyRead) << true;
        QTest::newRow("key names ignore case") << msinfoKey.toUpper() << uint(registry::KeyRead) << true;
        QTest::newRow("MSINFO for reading and writing") << msinfoKey << 0x2003Fu << false;
        QTest::newRow("no Shared Tools Location")
            << QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location") << uint(registry::KeyRead) << false;
        QTest::newRow("no other key") << QStringLiteral("SOFTWARE\\Microsoft") << uint(registry::KeyRead) << false;
    }

    void keysOpen()
    {
        QFETCH(QString, key);
        QFETCH(uint, access);
        QFETCH(bool, opens);
        SystemInfo &system = SystemInfo::native();
        const auto handle = system.openKey(registry::Root::LocalMachine, key, access);
        QCOMPARE(bool(handle), opens);
        if (handle)
            system.closeKey(*handle);
    }

    void onlyPathIsAnswered()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        velt::test::writeRecordingProgram(dir.filePath(QStringLiteral("kinfocenter")));
        velt::test::SearchPath path(dir.path());

        SystemInfo &system = SystemInfo::native();
        const auto key = system.openKey(registry::Root::LocalMachine, msinfoKey, registry::KeyRead);
        QVERIFY(key);
        QVERIFY(!system.queryValue(*key, QStringLiteral("MSINFO"), 1024));
        QVERIFY(!system.queryValue(*key, QString(), 1024));
        system.closeKey(*key);
    }

    void isRegularFileTakesThePathLiterally_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::addColumn<bool>("regular");
        QTest::newRow("a file") << QStringLiteral("MSINFO32.EXE") << true;
        QTest::newRow("a folder") << QStringLiteral("folder") << false;
        QTest::newRow("missing") << QStringLiteral("missing.exe") << false;
        QTest::newRow("star matches nothing") << QStringLiteral("*.EXE") << false;
        QTest::newRow("question mark matches nothing") << QStringLiteral("MSINFO3?.EXE") << false;
        QTest::newRow("backslash is part of the name") << QStringLiteral("folder\\MSINFO32.EXE") << false;
        QTest::newRow("empty") << QString() << false;
    }

    void isRegularFileTakesThePathLiterally()
    {
        QFETCH(QString, relative);
        QFETCH(bool, regular);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        QFile file(dir.filePath(QStringLiteral("MSINFO32.EXE")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QFile inFolder(dir.filePath(QStringLiteral("folder/MSINFO32.EXE")));
        QVERIFY(inFolder.open(QIODevice::WriteOnly));
        inFolder.close();

        const QString path = relative.isEmpty() ? QString() : dir.filePath(relative);
        QCOMPARE(SystemInfo::native().isRegularFile(path), regular);
    }

    void startProgramRunsThePathAsOneProgram()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        // Split at its space, the path would name "…/System" with the
        // argument "Info/kinfocenter".
        const QString folder = dir.filePath(QStringLiteral("System Info"));
        QVERIFY(QDir().mkpath(folder));
        velt::test::writeRecordingProgram(folder + QStringLiteral("/kinfocenter"));

        QVERIFY(SystemInfo::native().startProgram(folder + QStringLiteral("/kinfocenter")));
        QTRY_COMPARE(readAll(folder + QStringLiteral("/started")), QByteArray("0\n"));
    }

    void startProgramFails_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("empty path") << QString();
        QTest::newRow("missing program") << QStringLiteral("missing");
        QTest::newRow("not executable") << QStringLiteral("plain.txt");
        QTest::newRow("a folder") << QStringLiteral(".");
    }

    void startProgramFails()
    {
        QFETCH(QString, relative);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QFile plain(dir.filePath(QStringLiteral("plain.txt")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.write("echo hello\n");
        plain.close();

        const QString path = relative.isEmpty() ? QString() : dir.filePath(relative);
        QVERIFY(!SystemInfo::native().startProgram(path));
    }
};

QTEST_GUILESS_MAIN(SystemInfoTest)
#include "system_info_test.moc"
