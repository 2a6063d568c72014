// The Debian package, made by CPack from this build tree the way
// scripts/package-deb.sh makes it from its release build, looked at with
// dpkg-deb and lintian. VELT_CPACK_COMMAND, VELT_BUILD_DIR and
// VELT_SOURCE_DIR come from tests/CMakeLists.txt.

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

Run run(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(240000))
        return {false, {}, program + QStringLiteral(" did not finish: ") + process.errorString()};
    return {process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

struct PackagedFile
{
    const char *path;
    bool executable;
};

// Every file the package holds; Debian keeps a game's programs in /usr/games.
const PackagedFile kFiles[] = {
    {"usr/games/velt", true},
    {"usr/games/velt-print", true},
    {"usr/games/velt-launcher", true},
    {"usr/share/applications/org.example.velt.desktop", false},
    {"usr/share/metainfo/org.example.velt.metainfo.xml", false},
    {"usr/share/icons/hicolor/32x32/apps/velt.png", false},
    {"usr/share/icons/hicolor/48x48/apps/velt.png", false},
    {"usr/share/icons/hicolor/128x128/apps/velt.png", false},
    {"usr/share/icons/hicolor/256x256/apps/velt.png", false},
    {"usr/share/icons/hicolor/scalable/apps/velt.svg", false},
    {"usr/share/velt/lists/itu.dat", false},
    {"usr/share/velt/lists/dare1.dat", false},
    {"usr/share/velt/lists/dare2.dat", false},
    {"usr/share/velt/lists/doko.dat", false},
    {"usr/share/velt/lists/nani.dat", false},
    {"usr/share/man/man1/velt.1.gz", false},
    {"usr/share/man/man1/velt-print.1.gz", false},
    {"usr/share/man/man1/velt-launcher.1.gz", false},
    {"usr/share/doc/velt/copyright", false},
    {"usr/share/doc/velt/changelog.gz", false},
};

} // namespace

class DebPackageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // dpkg-deb inspects the package, dpkg-shlibdeps and file let CPack
        // make it; all three come with Debian's dpkg-dev.
        for (const char *tool : {"dpkg-deb", "dpkg-shlibdeps", "file"}) {
            if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is missing, so the Debian package is not checked "
                                                "(scripts/deps.sh dpkg-dev file installs it)")
                                     .arg(QLatin1String(tool))));
        }
        QVERIFY(m_dir.isValid());
        const Run cpack = run(QStringLiteral(VELT_CPACK_COMMAND),
                              {QStringLiteral("-G"), QStringLiteral("DEB"), QStringLiteral("--config"),
                               QStringLiteral(VELT_BUILD_DIR "/CPackConfig.cmake"), QStringLiteral("-B"),
                               m_dir.path()});
        QVERIFY2(cpack.ok, qPrintable(cpack.out + cpack.err));

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
        for (const PackagedFile &file : kFiles)
            QTest::newRow(file.path) << QString::fromLatin1(file.path) << file.executable;
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
        QStringList expected;
        for (const PackagedFile &file : kFiles)
            expected << QString::fromLatin1(file.path);
        expected.sort();
        QStringList actual = m_modes.keys();
        actual.sort();
        QCOMPARE(actual, expected);
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
        const QByteArray entry = readAll(m_tree + QStringLiteral("/usr/share/applications/org.example.velt.desktop"));
        QVERIFY2(entry.contains("\nExec=/usr/games/velt-launcher\n"), entry.constData());
    }

    // Build folders, in a file name table, a debug path or an RPATH, mean a
    // package that differs from machine to machine or loads libraries from
    // a folder its users do not have.
    void holdsNoBuildPath()
    {
        const QByteArray folders[] = {QByteArrayLiteral(VELT_SOURCE_DIR), QByteArrayLiteral(VELT_BUILD_DIR)};
        QDirIterator it(m_tree, QDir::Files, QDirIterator::Subdirectories);
        int files = 0;
        while (it.hasNext()) {
            const QString path = it.next();
            const QByteArray bytes = readAll(path);
            ++files;
            for (const QByteArray &folder : folders)
                QVERIFY2(!bytes.contains(folder), qPrintable(path + QStringLiteral(" names ") + QString::fromUtf8(folder)));
        }
        QCOMPARE(files, int(std::size(kFiles)));
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
    static QByteArray readAll(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;
    QString m_deb;
    QString m_tree;
    QString m_architecture;
    QMap<QString, QString> m_modes; // regular files by path, with their modes
};

QTEST_GUILESS_MAIN(DebPackageTest)
#include "deb_package_test.moc"
