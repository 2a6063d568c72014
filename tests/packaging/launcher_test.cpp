#include "installed_prefix.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using velt::test::Install;

namespace {

const QStringList LISTS{QStringLiteral("itu.dat"), QStringLiteral("dare1.dat"), QStringLiteral("dare2.dat"),
                        QStringLiteral("doko.dat"), QStringLiteral("nani.dat")};
const QByteArray EDITED("edited by the user\r\n");
// The stand-in for velt leaves a distinctive status so the test can tell that
// the launcher handed over to it rather than returning on its own.
constexpr int FAKE_VELT_STATUS = 7;

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

} // namespace

class LauncherTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_install = velt::test::installInto(m_dir.filePath(QStringLiteral("velt prefix")));
        QVERIFY2(m_install.error.isEmpty(), qPrintable(m_install.error));

        // The installed launcher runs for real; only the window program is
        // replaced by one that notes the folder it was started in.
        const QString velt = m_install.path(QStringLiteral("bin/velt"));
        QVERIFY(QFile::remove(velt));
        QVERIFY(writeFile(velt, "#!/bin/sh\npwd -P > \"$0.ran-in\"\nexit " + QByteArray::number(FAKE_VELT_STATUS) + '\n'));
        QVERIFY(QFile::setPermissions(velt, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }

    void startsVeltInSeededFolder_data()
    {
        QTest::addColumn<QString>("xdgDataHome"); // "absolute", "unset", "empty" or "relative"
        QTest::addColumn<bool>("folderExists");
        QTest::addColumn<QStringList>("edited"); // files the user already has there
        QTest::addColumn<bool>("throughPath");

        const QString absolute = QStringLiteral("absolute");
        QTest::newRow("first start") << absolute << false << QStringList() << false;
        QTest::newRow("existing empty folder") << absolute << true << QStringList() << false;
        QTest::newRow("edited list and saved sentences kept")
            << absolute << true << QStringList{QStringLiteral("itu.dat"), QStringLiteral("velt.txt")} << false;
        QTest::newRow("every list edited") << absolute << true << LISTS << false;
        QTest::newRow("default folder") << QStringLiteral("unset") << false << QStringList() << false;
        QTest::newRow("empty XDG_DATA_HOME") << QStringLiteral("empty") << false << QStringList() << false;
        QTest::newRow("relative XDG_DATA_HOME ignored") << QStringLiteral("relative") << false << QStringList()
                                                        << false;
        QTest::newRow("found through PATH") << absolute << false << QStringList() << true;
    }

    void startsVeltInSeededFolder()
    {
        QFETCH(QString, xdgDataHome);
        QFETCH(bool, folderExists);
        QFETCH(QStringList, edited);
        QFETCH(bool, throughPath);

        QTemporaryDir run;
        QVERIFY(run.isValid());
        const QString home = run.filePath(QStringLiteral("home"));
        const QString dataHome = run.filePath(QStringLiteral("data home"));
        QVERIFY(QDir().mkpath(home));

        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        if (xdgDataHome == QLatin1String("absolute"))
            env.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
        else if (xdgDataHome == QLatin1String("empty"))
            env.insert(QStringLiteral("XDG_DATA_HOME"), QString());
        else if (xdgDataHome == QLatin1String("relative"))
            env.insert(QStringLiteral("XDG_DATA_HOME"), QStringLiteral("data home"));
        else
            env.remove(QStringLiteral("XDG_DATA_HOME"));
        const QString folder = xdgDataHome == QLatin1String("absolute")
            ? dataHome + QStringLiteral("/velt")
            : home + QStringLiteral("/.local/share/velt");

        if (folderExists)
            QVERIFY(QDir().mkpath(folder));
        for (const QString &name : edited)
            QVERIFY(writeFile(folder + u'/' + name, EDITED));

        const QString record = m_install.path(QStringLiteral("bin/velt.ran-in"));
        QFile::remove(record);

        QProcess launcher;
        launcher.setWorkingDirectory(home); // where a desktop menu starts programs
        if (throughPath) {
            env.insert(QStringLiteral("PATH"),
                       m_install.path(QStringLiteral("bin")) + u':' + env.value(QStringLiteral("PATH")));
            launcher.setProcessEnvironment(env);
            launcher.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("exec velt-launcher")});
        } else {
            launcher.setProcessEnvironment(env);
            launcher.start(m_install.path(QStringLiteral("bin/velt-launcher")), {});
        }
        QVERIFY2(launcher.waitForFinished(30000), qPrintable(launcher.errorString()));
        QCOMPARE(QString::fromLocal8Bit(launcher.readAllStandardError()), QString());
        QCOMPARE(launcher.exitCode(), FAKE_VELT_STATUS);

        QCOMPARE(QString::fromLocal8Bit(velt::test::readAll(record)).trimmed(),
                 QFileInfo(folder).canonicalFilePath());
        for (const QString &name : LISTS) {
            const QFileInfo list(folder + u'/' + name);
            QVERIFY2(list.isFile() && !list.isSymLink(), qPrintable(list.filePath()));
            const QByteArray expected = edited.contains(name)
                ? EDITED
                : velt::test::readAll(velt::test::sourcePath(QStringLiteral("data/lists/") + name));
            QVERIFY2(velt::test::readAll(list.filePath()) == expected,
                     qPrintable(name + (edited.contains(name) ? QStringLiteral(" was overwritten")
                                                              : QStringLiteral(" is not the sample"))));
        }
        if (edited.contains(QStringLiteral("velt.txt")))
            QCOMPARE(velt::test::readAll(folder + QStringLiteral("/velt.txt")), EDITED);
        QVERIFY(!QFileInfo::exists(home + QStringLiteral("/data home")));
    }

private:
    QTemporaryDir m_dir;
    Install m_install;
};

QTEST_GUILESS_MAIN(LauncherTest)
#include "launcher_test.moc"
