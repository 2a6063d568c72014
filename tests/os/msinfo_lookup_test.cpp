// How Windows finds MSINFO32.EXE, against an in-memory registry that stands
// in for RegOpenKeyExA, RegQueryValueExA and RegCloseKey.

#include "os/msinfo_lookup.h"
#include "text/cp932.h"
#include "runtime/runtime_error.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <QTest>

#include <functional>

using namespace velt::msinfo;

namespace {

const QString kMsinfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const QString kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";

// Keys under HKEY_LOCAL_MACHINE that, like the machine's for a standard
// user, open for reading only; and the files that exist.
class FakeRegistry final : public RegistryCalls
{
public:
    QMap<QString, QMap<QString, RegistryValue>> keys;
    QSet<QString> refused; // exist, but refuse every open
    QSet<QString> files;
    QString raiseOnQuery;  // a value whose reading raises a run-time error
    QStringList opened;    // in order
    QStringList filesTested;
    int misuses = 0;       // bad capacity, unknown handle, double close

    void setText(const QString &key, const QString &name, const QString &text)
    {
        keys[key][name] = {kText, *velt::cp932::encode(text) + '\0'};
    }
    int openKeys() const { return int(m_open.size()); }
    bool isFile(const QString &path)
    {
        filesTested << path;
        return files.contains(path);
    }

    std::optional<Key> open(const QString &path, std::uint32_t access) override
    {
        opened << path;
        if ((access & ~kKeyRead) != 0 || !keys.contains(path) || refused.contains(path))
            return std::nullopt;
        m_open.insert(++m_next, path);
        return m_next;
    }
    std::optional<RegistryValue> query(Key key, const QString &name, qsizetype capacity) override
    {
        misuses += capacity != kBufferSize || !m_open.contains(key);
        if (name == raiseOnQuery)
            throw velt::RuntimeError(velt::err::kDeviceIo, {});
        const auto values = keys.value(m_open.value(key));
        if (!values.contains(name) || values[name].data.size() > capacity)
            return std::nullopt;
        return values[name];
    }
    void close(Key key) override { misuses += m_open.remove(key) != 1; }

private:
    QHash<Key, QString> m_open;
    Key m_next = 0x100;
};

using Setup = std::function<void(FakeRegistry &)>;

} // namespace

Q_DECLARE_METATYPE(Setup)
Q_DECLARE_METATYPE(RegistryValue)

class MsinfoLookupTest : public QObject
{
    Q_OBJECT

private slots:
    void valueText_data()
    {
        QTest::addColumn<RegistryValue>("value");
        QTest::addColumn<QString>("text");
        const QByteArray a1023(1023, 'a');
        QTest::newRow("text") << RegistryValue{kText, QByteArray("C:\\WINDOWS\\MSINFO32.EXE") + '\0'} << "C:\\WINDOWS\\MSINFO32.EXE";
        QTest::newRow("1024 bytes with the zero") << RegistryValue{kText, a1023 + '\0'} << QString(a1023);
        QTest::newRow("two final zero bytes keep one") << RegistryValue{kText, QByteArray("ab\0\0", 4)} << QString("ab") + QChar(0);
        QTest::newRow("no final zero") << RegistryValue{kText, "abc"} << "abc";
        QTest::newRow("zero bytes") << RegistryValue{kText, {}} << QString();
        QTest::newRow("code page 932") << RegistryValue{kText, *velt::cp932::encode(u"D:\\ﾂｰﾙ\\表示.exe") + '\0'}
                                       << QString::fromUtf16(u"D:\\ﾂｰﾙ\\表示.exe");
        QTest::newRow("not code page 932") << RegistryValue{kText, "C:\\\x81\x20.exe"} << QString();
        QTest::newRow("32-bit 05 01 00 00") << RegistryValue{kNumber, QByteArray("\x05\x01\x00\x00", 4)} << "261";
        QTest::newRow("32-bit all ones") << RegistryValue{kNumber, QByteArray(4, '\xFF')} << "4294967295";
        QTest::newRow("expandable text converts to nothing") << RegistryValue{2, "%SystemRoot%\\x.exe"} << QString();
        QTest::newRow("raw bytes convert to nothing") << RegistryValue{3, "\x01\x02"} << QString();
    }

    void valueText()
    {
        QFETCH(RegistryValue, value);
        QFETCH(QString, text);
        QCOMPARE(velt::msinfo::valueText(value), text);
    }

    void lookUpOrder_data()
    {
        QTest::addColumn<Setup>("setup");
        QTest::addColumn<QString>("program"); // "-" for none
        QTest::addColumn<QStringList>("keysTried");

        const QString tool = "C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe";
        const QString folder = "C:\\WINDOWS\\SYSTEM32";
        const QString inFolder = folder + "\\MSINFO32.EXE";
        const QStringList both = {kMsinfoKey, kLocationKey};
        const auto programInFolder = [=](FakeRegistry &registry) {
            registry.setText(kLocationKey, "MSINFO", folder);
            registry.files << inFolder;
        };

        QTest::newRow("PATH, taken untested before the folder") << Setup([=](FakeRegistry &registry) {
            registry.setText(kMsinfoKey, "PATH", tool);
            programInFolder(registry);
        }) << tool << QStringList{kMsinfoKey};
        QTest::newRow("no PATH value, program in the folder") << Setup([=](FakeRegistry &registry) {
            registry.keys[kMsinfoKey];
            programInFolder(registry);
        }) << inFolder << both;
        QTest::newRow("MSINFO key refused, program in the folder") << Setup([=](FakeRegistry &registry) {
            registry.setText(kMsinfoKey, "PATH", tool);
            registry.refused << kMsinfoKey;
            programInFolder(registry);
        }) << inFolder << both;
        QTest::newRow("PATH longer than the buffer") << Setup([=](FakeRegistry &registry) {
            registry.keys[kMsinfoKey]["PATH"] = {kText, QByteArray(1024, 'a') + '\0'};
            programInFolder(registry);
        }) << inFolder << both;
        QTest::newRow("folder with a final backslash doubles it") << Setup([=](FakeRegistry &registry) {
            registry.setText(kLocationKey, "MSINFO", folder + "\\");
            registry.files << folder + "\\\\MSINFO32.EXE";
        }) << folder + "\\\\MSINFO32.EXE" << both;
        QTest::newRow("folder without the program") << Setup([=](FakeRegistry &registry) {
            registry.setText(kLocationKey, "MSINFO", folder);
        }) << "-" << both;
        QTest::newRow("both missing") << Setup([](FakeRegistry &) {}) << "-" << both;
        QTest::newRow("PATH of a type that converts to nothing: found, empty") << Setup([=](FakeRegistry &registry) {
            registry.keys[kMsinfoKey]["PATH"] = {2, "%SystemRoot%\\x.exe"};
            programInFolder(registry);
        }) << "" << QStringList{kMsinfoKey};
    }

    void lookUpOrder()
    {
        QFETCH(Setup, setup);
        QFETCH(QString, program);
        QFETCH(QStringList, keysTried);
        FakeRegistry registry;
        setup(registry);
        const auto found = lookUp(registry, [&](const QString &path) { return registry.isFile(path); });
        QCOMPARE(found.value_or("-"), program);
        QCOMPARE(registry.opened, keysTried);
        // Only the folder's candidate is tested for existence.
        QCOMPARE(registry.filesTested.size(), keysTried.size() == 2 && registry.keys.contains(kLocationKey) ? 1 : 0);
        QCOMPARE(registry.openKeys(), 0);
        QCOMPARE(registry.misuses, 0);
    }

    void anErrorIsPassedOnWithTheKeysClosed()
    {
        FakeRegistry registry;
        registry.setText(kMsinfoKey, "PATH", "C:\\x.exe");
        registry.raiseOnQuery = "PATH";
        QVERIFY_THROWS_EXCEPTION(velt::RuntimeError, lookUp(registry, [](const QString &) { return true; }));
        QCOMPARE(registry.openKeys(), 0);
    }
};

QTEST_GUILESS_MAIN(MsinfoLookupTest)
#include "msinfo_lookup_test.moc"
