#include "ui/sys_info_launcher.h"

#include "runtime/cp932.h"
#include "support/search_path.h"
#include "fake_system_info.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

using velt::RegistryValue;
using velt::SysInfoLauncher;
using velt::test::FakeSystemInfo;
using velt::test::locationKey;
using velt::test::msinfoKey;
using velt::test::RecordingReporter;
namespace registry = velt::registry;

using Setup = std::function<void(FakeSystemInfo &)>;
Q_DECLARE_METATYPE(Setup)

namespace {

const QString unavailable = QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません");

QByteArray sjis(const QString &text)
{
    return *velt::cp932::encode(text);
}

QByteArray zeroTerminated(const QByteArray &bytes)
{
    return bytes + QByteArray(1, '\0');
}

// Every value read below is "PATH" under the MSINFO key.
Setup pathValue(std::uint32_t type, const QByteArray &data)
{
    return [=](FakeSystemInfo &system) { system.setValue(msinfoKey, QStringLiteral("PATH"), type, data); };
}


} // namespace

class SysInfoLauncherTest : public QObject
{
    Q_OBJECT

private slots:
    void getKeyValueConvertsByType_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<bool>("found");
        QTest::addColumn<QString>("keyVal");

        const QString stale = QStringLiteral("stale");
        const QByteArray a1023(1023, 'a');
        const QByteArray a1024(1024, 'a');

        QTest::newRow("text") << pathValue(registry::TypeSz, zeroTerminated("C:\\WINDOWS\\MSINFO32.EXE"))
                              << true << QStringLiteral("C:\\WINDOWS\\MSINFO32.EXE");
        QTest::newRow("text of exactly 1024 bytes with its zero")
            << pathValue(registry::TypeSz, zeroTerminated(a1023)) << true << QString::fromLatin1(a1023);
        QTest::newRow("text of 1024 bytes without a zero")
            << pathValue(registry::TypeSz, a1024) << true << QString::fromLatin1(a1024);
        QTest::newRow("text of 1025 bytes is not found")
            << pathValue(registry::TypeSz, zeroTerminated(a1024)) << false << QString();
        QTest::newRow("two final zero bytes keep one")
            << pathValue(registry::TypeSz, QByteArray("abc\0\0", 5)) << true << QStringLiteral("abc") + QChar(0);
        QTest::newRow("inner zero byte kept")
            << pathValue(registry::TypeSz, QByteArray("ab\0c\0", 5)) << true << QStringLiteral("ab") + QChar(0) + u'c';
        QTest::newRow("text without a final zero") << pathValue(registry::TypeSz, "abc") << true << QStringLiteral("abc");
        QTest::newRow("text of zero bytes") << pathValue(registry::TypeSz, {}) << true << QString();
        QTest::newRow("text of one zero byte") << pathValue(registry::TypeSz, QByteArray(1, '\0')) << true << QString();
        // 表 ends in the byte 0x5C, a backslash on its own.
        QTest::newRow("code page 932 text")
            << pathValue(registry::TypeSz, zeroTerminated(sjis(QStringLiteral("C:\\表示\\ｼｽﾃﾑ情報.exe"))))
            << true << QStringLiteral("C:\\表示\\ｼｽﾃﾑ情報.exe");
        QTest::newRow("text that is not code page 932 leaves KeyVal")
            << pathValue(registry::TypeSz, zeroTerminated("C:\\ab\x81")) << true << stale;
        QTest::newRow("invalid trail byte leaves KeyVal")
            << pathValue(registry::TypeSz, zeroTerminated("a\x81\x20" "b")) << true << stale;
        QTest::newRow("32-bit 05 01 00 00") << pathValue(registry::TypeDword, QByteArray("\x05\x01\x00\x00", 4))
                                            << true << QStringLiteral("261");
        QTest::newRow("32-bit zero") << pathValue(registry::TypeDword, QByteArray(4, '\0')) << true << QStringLiteral("0");
        QTest::newRow("32-bit all ones") << pathValue(registry::TypeDword, QByteArray(4, '\xff')) << true
                                         << QStringLiteral("4294967295");
        QTest::newRow("32-bit top bit") << pathValue(registry::TypeDword, QByteArray("\x00\x00\x00\x80", 4))
                                        << true << QStringLiteral("2147483648");
        QTest::newRow("32-bit of zero bytes") << pathValue(registry::TypeDword, {}) << true << QStringLiteral("0");
        QTest::newRow("expandable text leaves KeyVal")
            << pathValue(registry::TypeExpandSz, zeroTerminated("%SystemRoot%\\MSINFO32.EXE")) << true << stale;
        QTest::newRow("multi text leaves KeyVal")
            << pathValue(registry::TypeMultiSz, QByteArray("a\0b\0\0", 5)) << true << stale;
        QTest::newRow("raw bytes leave KeyVal") << pathValue(registry::TypeBinary, "\x01\x02") << true << stale;
        QTest::newRow("value missing") << Setup([](FakeSystemInfo &system) { system.keys[msinfoKey]; }) << false
                                       << QString();
        QTest::newRow("key missing") << Setup([](FakeSystemInfo &) {}) << false << QString();
        QTest::newRow("open refused") << Setup([](FakeSystemInfo &system) {
            system.setText(msinfoKey, QStringLiteral("PATH"), QStringLiteral("C:\\x.exe"));
            system.refusedKeys << msinfoKey;
        }) << false << QString();
    }

    void getKeyValueConvertsByType()
    {
        QFETCH(Setup, setup);
        QFETCH(bool, found);
        QFETCH(QString, keyVal);

        FakeSystemInfo system;
        setup(system);
        RecordingReporter reporter;
        SysInfoLauncher launcher(system, reporter);

        QString value = QStringLiteral("stale");
        QCOMPARE(launcher.GetKeyValue(registry::Root::LocalMachine, msinfoKey, QStringLiteral("PATH"), value), found);
        QCOMPARE(value, keyVal);
        QCOMPARE(system.openKeys(), 0);
        QCOMPARE(system.misuses, 0);
        QVERIFY(reporter.messages.isEmpty());
    }

    void getKeyValueClosesTheKeyWhenReadingRaises()
    {
        FakeSystemInfo system;
        system.setText(msinfoKey, QStringLiteral("PATH"), QStringLiteral("C:\\x.exe"));
        system.raiseOnQueryOf = QStringLiteral("PATH");
        RecordingReporter reporter;
        SysInfoLauncher launcher(system, reporter);

        QString value;
        QVERIFY_THROWS_EXCEPTION(velt::RuntimeError, launcher.GetKeyValue(registry::Root::LocalMachine, msinfoKey,
                                                                          QStringLiteral("PATH"), value));
        QCOMPARE(system.openKeys(), 0);
        QCOMPARE(system.misuses, 0);
    }

    void startSysInfoFollowsTheLookupOrder_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<int>("messages");
        QTest::addColumn<QStringList>("keysTried");
        QTest::addColumn<QStringList>("filesTested");

        const QString path = QStringLiteral("PATH");
        const QString msinfo = QStringLiteral("MSINFO");
        const QString tool = QStringLiteral("C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe");
        const QString folder = QStringLiteral("C:\\WINDOWS\\SYSTEM32");
        const QString inFolder = folder + QStringLiteral("\\MSINFO32.EXE");
        const QStringList both = {msinfoKey, locationKey};
        const QStringList first = {msinfoKey};

        // The folder location with the program in it.
        const auto folderWithProgram = [=](FakeSystemInfo &system) {
            system.setText(locationKey, msinfo, folder);
            system.regularFiles << inFolder;
            system.startablePrograms << inFolder;
        };

        QTest::newRow("PATH is started untested, folder ignored") << Setup([=](FakeSystemInfo &system) {
            system.setText(msinfoKey, path, tool);
            system.startablePrograms << tool;
            folderWithProgram(system);
        }) << QStringList{tool} << 0 << first << QStringList();
        QTest::newRow("PATH naming nothing that starts") << Setup([=](FakeSystemInfo &system) {
            system.setText(msinfoKey, path, QStringLiteral("C:\\gone.exe"));
            folderWithProgram(system);
        }) << QStringList() << 1 << first << QStringList();
        QTest::newRow("PATH in Japanese") << Setup([=](FakeSystemInfo &system) {
            system.setText(msinfoKey, path, QStringLiteral("D:\\ﾂｰﾙ\\表示.exe"));
            system.startablePrograms << QStringLiteral("D:\\ﾂｰﾙ\\表示.exe");
        }) << QStringList{QStringLiteral("D:\\ﾂｰﾙ\\表示.exe")} << 0 << first << QStringList();
        QTest::newRow("no PATH value, program in folder") << Setup([=](FakeSystemInfo &system) {
            system.keys[msinfoKey];
            folderWithProgram(system);
        }) << QStringList{inFolder} << 0 << both << QStringList{inFolder};
        QTest::newRow("no MSINFO key, program in folder")
            << Setup(folderWithProgram) << QStringList{inFolder} << 0 << both << QStringList{inFolder};
        QTest::newRow("MSINFO key refused, program in folder") << Setup([=](FakeSystemInfo &system) {
            system.setText(msinfoKey, path, tool);
            system.startablePrograms << tool;
            system.refusedKeys << msinfoKey;
            folderWithProgram(system);
        }) << QStringList{inFolder} << 0 << both << QStringList{inFolder};
        QTest::newRow("PATH longer than the buffer, program in folder") << Setup([=](FakeSystemInfo &system) {
            system.setValue(msinfoKey, path, registry::TypeSz, QByteArray(1024, 'a') + QByteArray(1, '\0'));
            folderWithProgram(system);
        }) << QStringList{inFolder} << 0 << both << QStringList{inFolder};
        QTest::newRow("folder with a final backslash doubles it") << Setup([=](FakeSystemInfo &system) {
            const QString doubled = folder + QStringLiteral("\\\\MSINFO32.EXE");
            system.setText(locationKey, msinfo, folder + u'\\');
            system.regularFiles << doubled;
            system.startablePrograms << doubled;
        }) << QStringList{folder + QStringLiteral("\\\\MSINFO32.EXE")} << 0 << both
           << QStringList{folder + QStringLiteral("\\\\MSINFO32.EXE")};
        QTest::newRow("folder without the program") << Setup([=](FakeSystemInfo &system) {
            system.setText(locationKey, msinfo, folder);
            system.startablePrograms << inFolder;
        }) << QStringList() << 1 << both << QStringList{inFolder};
        QTest::newRow("both missing") << Setup([](FakeSystemInfo &) {}) << QStringList() << 1 << both << QStringList();
        QTest::newRow("PATH of a type that converts to nothing") << Setup([=](FakeSystemInfo &system) {
            system.setValue(msinfoKey, path, registry::TypeExpandSz, zeroTerminated("%SystemRoot%\\x.exe"));
            folderWithProgram(system);
        }) << QStringList() << 1 << first << QStringList();
        QTest::newRow("error opening the first key") << Setup([=](FakeSystemInfo &system) {
            system.raiseOnOpenOf = msinfoKey;
            folderWithProgram(system);
        }) << QStringList() << 1 << first << QStringList();
        QTest::newRow("error reading PATH") << Setup([=](FakeSystemInfo &system) {
            system.setText(msinfoKey, path, tool);
            system.startablePrograms << tool;
            system.raiseOnQueryOf = path;
            folderWithProgram(system);
        }) << QStringList() << 1 << first << QStringList();
        QTest::newRow("error in the file test") << Setup([=](FakeSystemInfo &system) {
            folderWithProgram(system);
            system.raiseOnFileTest = true;
        }) << QStringList() << 1 << both << QStringList{inFolder};
        QTest::newRow("error starting the program") << Setup([=](FakeSystemInfo &system) {
            system.setText(msinfoKey, path, tool);
            system.startablePrograms << tool;
            system.raiseOnStart = true;
        }) << QStringList() << 1 << first << QStringList();
    }

    void startSysInfoFollowsTheLookupOrder()
    {
        QFETCH(Setup, setup);
        QFETCH(QStringList, started);
        QFETCH(int, messages);
        QFETCH(QStringList, keysTried);
        QFETCH(QStringList, filesTested);

        FakeSystemInfo system;
        setup(system);
        RecordingReporter reporter;
        SysInfoLauncher launcher(system, reporter);

        launcher.StartSysInfo();

        QCOMPARE(system.started, started);
        QCOMPARE(reporter.messages, QStringList(messages, unavailable));
        QCOMPARE(system.openAttempts, keysTried);
        QCOMPARE(system.fileTests, filesTested);
        QCOMPARE(system.openKeys(), 0);
        QCOMPARE(system.misuses, 0);
        for (qsizetype capacity : std::as_const(system.capacities))
            QCOMPARE(capacity, qsizetype(1024));
    }

    void everyClickStartsAfresh()
    {
        FakeSystemInfo system;
        RecordingReporter reporter;
        SysInfoLauncher launcher(system, reporter);
        const QString tool = QStringLiteral("C:\\Tools\\msinfo32.exe");

        launcher.StartSysInfo();
        QCOMPARE(reporter.messages.size(), 1);

        system.setText(msinfoKey, QStringLiteral("PATH"), tool);
        system.startablePrograms << tool;
        launcher.StartSysInfo();
        launcher.StartSysInfo();
        QCOMPARE(system.started, QStringList({tool, tool}));
        QCOMPARE(reporter.messages.size(), 1);

        system.keys.clear();
        launcher.StartSysInfo();
        QCOMPARE(system.started.size(), 2);
        QCOMPARE(reporter.messages.size(), 2);
    }

    // The stand-in for systems without a registry, end to end: a
    // system-information program on the search path, in a folder whose name
    // has spaces and Japanese in it, is really started.
    void standInStartsTheProgramOnTheSearchPath()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has a registry; the stand-in is for other systems.");
#else
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString folder = dir.filePath(QStringLiteral("システム 情報"));
        QVERIFY(QDir().mkpath(folder));
        const QString marker = folder + QStringLiteral("/started");
        velt::test::writeRecordingProgram(folder + QStringLiteral("/kinfocenter"));

        RecordingReporter reporter;
        SysInfoLauncher launcher(velt::SystemInfo::native(), reporter);
        {
            velt::test::SearchPath path(folder);
            launcher.StartSysInfo();
        }
        QVERIFY(reporter.messages.isEmpty());
        // The script writes how many arguments it was given.
        const auto written = [&] {
            QFile file(marker);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QTRY_COMPARE(written(), QByteArray("0\n"));
#endif
    }

    void standInWithoutAProgramShowsTheMessage()
    {
#ifdef Q_OS_WIN
        QSKIP("Windows has a registry; the stand-in is for other systems.");
#else
        QTemporaryDir empty;
        QVERIFY(empty.isValid());
        RecordingReporter reporter;
        SysInfoLauncher launcher(velt::SystemInfo::native(), reporter);
        velt::test::SearchPath path(empty.path());
        launcher.StartSysInfo();
        QCOMPARE(reporter.messages, QStringList{unavailable});
#endif
    }
};

QTEST_GUILESS_MAIN(SysInfoLauncherTest)
#include "sys_info_launcher_test.moc"
