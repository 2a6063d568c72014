// The Debian package, made by scripts/package-deb.sh in a build folder of
// its own, looked at with dpkg-deb and lintian. VELT_SOURCE_DIR comes from
// tests/CMakeLists.txt.

#include "installed_prefix.h"
#include "version.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    bool ok = false; // started, ended normally, status 0
    QString out;
    QString err;
};

Run run(const QString &program, const QStringList &args,
        const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForFinished(600000))
        return {false, {}, program + QStringLiteral(" did not finish: ") + process.errorString()};
    return {process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

// Every file the package holds: an install's, with the programs where
// Debian keeps a game's, and the package's own documents.
QStringList packagedFiles()
{
    QStringList paths;
    for (const velt::test::InstalledFile &file : velt::test::installedFiles(QStringLiteral("games")))
        paths << QStringLiteral("usr/") + file.path;
    paths << QStringLiteral("usr/share/doc/velt/copyright") << QStringLiteral("usr/share/doc/velt/changelog.gz");
    paths.sort();
    return paths;
}

} // namespace

class DebPackageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // dpkg-deb inspects the package, dpkg-shlibdeps, dpkg-buildflags and
        // file let the script make it; all come with Debian's dpkg-dev.
        for (const char *tool : {"dpkg-deb", "dpkg-shlibdeps", "dpkg-buildflags", "file"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is missing, so the Debian package is not checked "
                                                "(scripts/deps.sh dpkg-dev file installs it)")
                                     .arg(QLatin1String(tool))));
        }
        QVERIFY(m_dir.isValid());
        m_build = m_dir.filePath(QStringLiteral("build"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VELT_DEB_BUILD"), m_build);
        env.insert(QStringLiteral("VELT_DEB_DIST"), m_dir.path());
        const Run made = run(QStringLiteral("bash"), {velt::test::sourcePath(QStringLiteral("scripts/package-deb.sh"))}, env);
        QVERIFY2(made.ok, qPrintable(made.out + made.err));

        const Run arch = run(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")});
        QVERIFY2(arch.ok, qPrintable(arch.err));
        m_architecture = arch.out.trimmed();
        m_deb = m_dir.filePath(
            QStringLiteral("velt_%1_%2.deb").arg(QLatin1String(velt::version::kText), m_architecture));
        QVERIFY2(QFileInfo(m_deb).isFile(),
                 qPrintable(m_deb + QStringLiteral(" not made; the folder holds: ")
                            + QDir(m_dir.path()).entryList(QDir::Files).join(u' ')));

        // "-rwxr-xr-x root/root 150504 2026-12-07 19:28 ./usr/games/velt"
        const Run contents = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), m_deb});
        QVERIFY2(contents.ok, qPrintable(contents.err));
        for (const QString &line : contents.out.split(u'\n', Qt::SkipEmptyParts)) {
            const QStringList fields = line.simplified().split(u' ');
            QVERIFY2(fields.size() == 6 && fields[5].startsWith(QLatin1String("./")), qPrintable(line));
            QVERIFY2(fields[1] == QLatin1String("root/root"), qPrintable(line));
            if (fields[0].startsWith(u'-'))
                m_modes.insert(fields[5].mid(2), fields[0]);
            else
                QVERIFY2(fields[0] == QLatin1String("drwxr-xr-x"), qPrintable(line));
        }

        m_tree = m_dir.filePath(QStringLiteral("tree"));
        const Run extract = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--extract"), m_deb, m_tree});
        QVERIFY2(extract.ok, qPrintable(extract.err));
    }

    void holdsFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("executable");
        for (const QString &path : packagedFiles())
            QTest::newRow(qPrintable(path)) << path << path.startsWith(QLatin1String("usr/games/"));
    }

    void holdsFile()
    {
        QFETCH(QString, path);
        QFETCH(bool, executable);
        QVERIFY2(m_modes.contains(path), qPrintable(path + QStringLiteral(" is not in the package")));
        QCOMPARE(m_modes.value(path), executable ? QStringLiteral("-rwxr-xr-x") : QStringLiteral("-rw-r--r--"));
    }

    // A stray install rule (a test program, a header) would ship unnoticed.
    void holdsNothingElse()
    {
        QStringList actual = m_modes.keys();
        actual.sort();
        QCOMPARE(actual, packagedFiles());
    }

    void hasField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("whole"); // else one of the comma-separated items

        QTest::newRow("Package") << "Package" << "velt" << true;
        QTest::newRow("Version") << "Version" << QString::fromLatin1(velt::version::kText) << true;
        QTest::newRow("Section") << "Section" << "games" << true;
        QTest::newRow("Maintainer") << "Maintainer" << "VELT developers <velt@example.org>" << true;
        // Found by dpkg-shlibdeps from the programs.
        QTest::newRow("Depends: Qt Widgets") << "Depends" << "libqt6widgets6" << false;
        QTest::newRow("Depends: C library") << "Depends" << "libc6" << false;
        // Named by hand: nothing links against them.
        QTest::newRow("Depends: a Japanese font") << "Depends" << "fonts-noto-cjk | fonts-ipafont-gothic" << false;
        QTest::newRow("Depends: Qt's translations") << "Depends" << "qt6-translations-l10n" << false;
    }

    void hasField()
    {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(bool, whole);
        const Run read = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), m_deb, field});
        QVERIFY2(read.ok, qPrintable(read.err));
        const QString actual = read.out.trimmed();
        if (whole) {
            QCOMPARE(actual, value);
            return;
        }
        // "libqt6widgets6 (>= 6.3.0)" counts for libqt6widgets6.
        bool found = false;
        for (const QString &item : actual.split(u',')) {
            const QString trimmed = item.trimmed();
            found = found || trimmed == value || trimmed.startsWith(value + QStringLiteral(" ("));
        }
        QVERIFY2(found, qPrintable(field + QStringLiteral(": ") + actual));
    }

    void hasArchitectureOfThisMachine()
    {
        const Run read = run(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), m_deb, QStringLiteral("Architecture")});
        QVERIFY2(read.ok, qPrintable(read.err));
        QCOMPARE(read.out.trimmed(), m_architecture);
    }

    // The menu entry must start the launcher the package installs, not one
    // from the prefix of the build tree or of CPack's staging folder.
    void menuEntryStartsPackagedLauncher()
    {
        const QByteArray entry = velt::test::readAll(m_tree + QStringLiteral("/usr/share/applications/org.example.velt.desktop"));
        QVERIFY2(entry.contains("\nExec=/usr/games/velt-launcher\n"), entry.constData());
    }

    // Build folders, in a file name table, a debug path or an RPATH, mean a
    // package that differs from machine to machine or loads libraries from
    // a folder its users do not have.
    void holdsNoBuildPath()
    {
        const QByteArray folders[] = {QByteArrayLiteral(VELT_SOURCE_DIR), m_build.toUtf8()};
        QDirIterator it(m_tree, QDir::Files, QDirIterator::Subdirectories);
        int files = 0;
        while (it.hasNext()) {
            const QString path = it.next();
            const QByteArray bytes = velt::test::readAll(path);
            ++files;
            for (const QByteArray &folder : folders)
                QVERIFY2(!bytes.contains(folder), qPrintable(path + QStringLiteral(" names ") + QString::fromUtf8(folder)));
        }
        QCOMPARE(files, int(packagedFiles().size()));
    }

    // Errors fail; warnings and notes are printed for the reader of the log.
    void lintianFindsNoError()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("lintian")).isEmpty())
            QSKIP("lintian is missing, so the package is not checked against Debian policy "
                  "(scripts/deps.sh lintian installs it)");
        QProcess lintian;
        lintian.start(QStringLiteral("lintian"), {QStringLiteral("--display-info"), QStringLiteral("--tag-display-limit"),
                                                  QStringLiteral("0"), m_deb});
        QVERIFY2(lintian.waitForFinished(240000), qPrintable(lintian.errorString()));
        const QString out = QString::fromUtf8(lintian.readAllStandardOutput());
        for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts))
            qInfo("lintian: %s", qPrintable(line));
        QVERIFY2(!out.contains(QRegularExpression(QStringLiteral("^E: "), QRegularExpression::MultilineOption)),
                 qPrintable(out));
        // Status 1 is lintian's for tags at error level; anything else, its
        // own failure (as a stderr message says).
        QVERIFY2(lintian.exitStatus() == QProcess::NormalExit && lintian.exitCode() == 0,
                 qPrintable(out + QString::fromUtf8(lintian.readAllStandardError())));
    }

private:
    QTemporaryDir m_dir;
    QString m_build;
    QString m_deb;
    QString m_tree;
    QString m_architecture;
    QMap<QString, QString> m_modes; // regular files by path, with their modes
};

QTEST_GUILESS_MAIN(DebPackageTest)
#include "deb_package_test.moc"
