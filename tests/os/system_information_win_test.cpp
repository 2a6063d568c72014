// Windows: MSINFO32.EXE found through the real registry and started by
// CreateProcessW, from the About window's button down. The registry is
// written with the system's own reg.exe, not with the code under test.
// Machine-wide keys are rewritten, so this runs only under Wine, whose
// registry belongs to a throwaway prefix.

#include "os/system_information.h"
#include "ui/about_window.h"

#include "fake_system_information.h"
#include "support/counting_reporter.h"
#include "ui/object_names.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <windows.h>

namespace names = velt::names;

using velt::SystemInformation;

namespace {

const QString kPathKey = QStringLiteral("HKLM\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString kLocationKey = QStringLiteral("HKLM\\SOFTWARE\\Microsoft\\Shared Tools Location");

bool underWine()
{
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

int reg(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("reg.exe"), arguments);
    if (!process.waitForFinished(60000))
        return -1;
    return process.exitCode();
}

void clearRegistry()
{
    reg({QStringLiteral("delete"), kPathKey, QStringLiteral("/f")});
    reg({QStringLiteral("delete"), kLocationKey, QStringLiteral("/v"), QStringLiteral("MSINFO"), QStringLiteral("/f")});
}

QByteArray startedMark(const QString &program)
{
    QFile file(QFileInfo(program).dir().filePath(QStringLiteral("started")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class SystemInformationWinTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!underWine())
            QSKIP("rewrites the machine's registry: runs under Wine only");
        QVERIFY2(QFile::exists(qEnvironmentVariable("VELT_RECORDING_PROGRAM")), "VELT_RECORDING_PROGRAM not set");
    }

    void cleanup() { clearRegistry(); }

    void aboutWindowStartsWhatTheRegistryNames_data()
    {
        // Folders are relative to a fresh temporary folder; empty means the
        // value is not in the registry, or no program is there.
        QTest::addColumn<QString>("pathValue");
        QTest::addColumn<QString>("locationValue");
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QString>("expected");

        QTest::newRow("PATH names the program")
            << "MSInfo\\msinfo32.exe" << "" << QStringList{"MSInfo\\msinfo32.exe"} << "MSInfo\\msinfo32.exe";
        // Split at its first space, the command line would name
        // "...\Microsoft" instead.
        QTest::newRow("PATH in folders with spaces")
            << "Microsoft Shared\\MS Info\\msinfo32.exe" << "" << QStringList{"Microsoft Shared\\MS Info\\msinfo32.exe"}
            << "Microsoft Shared\\MS Info\\msinfo32.exe";
        // Read through the "A" calls, so in code page 932 on a Japanese
        // system.
        QTest::newRow("PATH in a Japanese folder")
            << "ｼｽﾃﾑ 表示\\msinfo32.exe" << "" << QStringList{"ｼｽﾃﾑ 表示\\msinfo32.exe"} << "ｼｽﾃﾑ 表示\\msinfo32.exe";
        QTest::newRow("PATH before the location")
            << "A\\msinfo32.exe" << "B" << QStringList{"A\\msinfo32.exe", "B\\MSINFO32.EXE"} << "A\\msinfo32.exe";
        QTest::newRow("the location's MSINFO32.EXE")
            << "" << "Microsoft Shared\\MSInfo" << QStringList{"Microsoft Shared\\MSInfo\\MSINFO32.EXE"}
            << "Microsoft Shared\\MSInfo\\MSINFO32.EXE";
        QTest::newRow("a location without the program") << "" << "Empty" << QStringList{} << "";
        QTest::newRow("nothing registered") << "" << "" << QStringList{} << "";
    }

    void aboutWindowStartsWhatTheRegistryNames()
    {
        QFETCH(QString, pathValue);
        QFETCH(QString, locationValue);
        QFETCH(QStringList, programs);
        QFETCH(QString, expected);
        if (!pathValue.isEmpty() && pathValue.contains(u'表') && GetACP() != 932)
            QSKIP("needs code page 932 as the system's code page (LC_ALL=ja_JP.UTF-8 under Wine)");

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const auto native = [&dir](const QString &relative) {
            return QDir::toNativeSeparators(dir.path()) + u'\\' + relative;
        };
        for (const QString &program : programs) {
            QVERIFY(QDir().mkpath(QFileInfo(native(program)).path()));
            QVERIFY(QFile::copy(qEnvironmentVariable("VELT_RECORDING_PROGRAM"), native(program)));
        }
        QVERIFY(QDir().mkpath(native(QStringLiteral("Empty"))));
        clearRegistry();
        if (!pathValue.isEmpty())
            QCOMPARE(reg({"add", kPathKey, "/v", "PATH", "/t", "REG_SZ", "/d", native(pathValue), "/f"}), 0);
        if (!locationValue.isEmpty())
            QCOMPARE(reg({"add", kLocationKey, "/v", "MSINFO", "/t", "REG_SZ", "/d", native(locationValue), "/f"}), 0);

        const std::optional<QString> located = SystemInformation::native().locate();
        QCOMPARE(located.value_or(QString()), expected.isEmpty() ? QString() : native(expected));

        velt::test::CountingReporter reporter;
        velt::AboutWindow about(SystemInformation::native(), reporter);
        about.findChild<QPushButton *>(QLatin1StringView(names::kSystemInformationButton))->click();
        if (expected.isEmpty()) {
            QCOMPARE(reporter.messages, QStringList{QStringLiteral("現時点ではｼｽﾃﾑ情報を使用できません")});
        } else {
            QVERIFY(reporter.messages.isEmpty());
            QTRY_COMPARE(startedMark(native(expected)), QByteArray("0\n"));
        }
    }
};

QTEST_MAIN(SystemInformationWinTest)
#include "system_information_win_test.moc"

