#include "installed_prefix.h"

#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>
#include <QTest>

using velt::test::APP_ID;
using velt::test::Install;

class InstallTreeTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // A blank in the prefix catches rules and scripts that split paths.
        m_install = velt::test::installInto(m_dir.filePath(QStringLiteral("velt prefix")));
        QVERIFY2(m_install.error.isEmpty(), qPrintable(m_install.error));
    }

    void holdsFile_data()
    {
        QTest::addColumn<QString>("installed");
        QTest::addColumn<QString>("source"); // compared byte for byte when set
        QTest::addColumn<bool>("executable");

        for (const velt::test::InstalledFile &file : velt::test::installedFiles(QStringLiteral("bin")))
            QTest::newRow(qPrintable(file.path)) << file.path << file.source << file.executable;
    }

    // What only the Debian package holds stays out of a plain install: its
    // copyright and changelog, and the programs' place under games.
    void leavesOutPackageOnlyFiles_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("package documents") << QStringLiteral("share/doc");
        QTest::newRow("games folder") << QStringLiteral("games");
    }

    void leavesOutPackageOnlyFiles()
    {
        QFETCH(QString, path);
        QVERIFY2(!QFileInfo::exists(m_install.path(path)), qPrintable(path));
    }

    void holdsFile()
    {
        QFETCH(QString, installed);
        QFETCH(QString, source);
        QFETCH(bool, executable);

        const QFileInfo info(m_install.path(installed));
        QVERIFY2(info.isFile(), qPrintable(info.filePath() + QStringLiteral(" is missing")));
        QCOMPARE(info.isExecutable(), executable);
        QVERIFY(info.size() > 0);
        if (!source.isEmpty())
            QVERIFY2(velt::test::readAll(info.filePath()) == velt::test::readAll(velt::test::sourcePath(source)),
                     qPrintable(installed + QStringLiteral(" differs from ") + source));
    }

    // Each size has its own drawing, so a mix-up between sizes would put a
    // blurry or clipped icon in the menu.
    void iconHasItsSize_data()
    {
        QTest::addColumn<int>("size");
        for (const int size : {32, 48, 128, 256})
            QTest::addRow("%d", size) << size;
    }

    void iconHasItsSize()
    {
        QFETCH(int, size);
        QImageReader reader(m_install.path(QStringLiteral("share/icons/hicolor/%1x%1/apps/velt.png").arg(size)));
        QCOMPARE(reader.format(), QByteArray("png"));
        QCOMPARE(reader.size(), QSize(size, size));
    }

private:
    QTemporaryDir m_dir;
    Install m_install;
};

QTEST_GUILESS_MAIN(InstallTreeTest)
#include "install_tree_test.moc"
