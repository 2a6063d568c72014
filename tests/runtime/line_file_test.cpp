#include "runtime/runtime_error.h"
#include "runtime/line_file.h"
#include "support/list_dir.h"
#include "support/system_files.h"

#include <QTest>

#include <optional>

using velt::test::ListDir;


class LineFileTest : public QObject
{
    Q_OBJECT

private slots:
    void encoding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("placeholder") << "もぬ" << QByteArray("\x82\xE0\x82\xCA\r\n");
        QTest::newRow("LF lines become CR LF, one more at the end")
            << "a\nb\n" << QByteArray("a\r\nb\r\n\r\n");
        QTest::newRow("CR LF and lone CR are not doubled") << "a\r\nb\rc" << QByteArray("a\r\nb\r\nc\r\n");
        QTest::newRow("empty box") << "" << QByteArray("\r\n");
        QTest::newRow("backslash, wave dash, NEC circled digit")
            << "\\～①" << QByteArray("\x5C\x81\x60\x87\x40\r\n");
        QTest::newRow("control codes are themselves") << "\x7F\x1C" << QByteArray("\x7F\x1C\r\n");
        QTest::newRow("characters code page 932 holds under another code point")
            << "〜−‖—¢£¬" << QByteArray("\x81\x60\x81\x7C\x81\x61\x81\x5C\x81\x91\x81\x92\x81\xCA\r\n");
        QTest::newRow("text code page 932 cannot hold goes out as UTF-8 with a mark")
            << "𠮷野家\n" << (QByteArray("\xEF\xBB\xBF") + QString("𠮷野家\r\n\r\n").toUtf8());
        QTest::newRow("emoji") << "😀" << (QByteArray("\xEF\xBB\xBF") + QString("😀\r\n").toUtf8());
    }

    void encoding()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(velt::encodeLineFile(text), bytes);
        ListDir dir;
        velt::writeLineFile("velt.txt", text);
        QCOMPARE(ListDir::readBytes("velt.txt"), bytes);
    }

    void replacesTheWholeFile()
    {
        ListDir dir;
        velt::writeLineFile("velt.txt", QString(5000, u'x'));
        velt::writeLineFile("velt.txt", "y");
        QCOMPARE(ListDir::readBytes("velt.txt"), QByteArray("y\r\n"));
        QCOMPARE(QDir().entryList(QDir::Files | QDir::Hidden).size(), 1);
    }

    void failureLeavesTheOldFile_data()
    {
        QTest::addColumn<QString>("obstacle");
        QTest::newRow("the system stops the save") << "system";
        QTest::newRow("folder of that name") << "folder";
        QTest::newRow("read-only file") << "readonly";
    }

    void failureLeavesTheOldFile()
    {
        QFETCH(QString, obstacle);
        ListDir dir;
        QByteArray old = "old\r\n";
        if (obstacle == "folder") {
            QVERIFY(QDir().mkdir("velt.txt"));
        } else {
            dir.writeBytes("velt.txt", old);
        }
        std::optional<velt::test::SaveObstacle> system;
        if (obstacle == "system") {
            system.emplace("velt.txt");
        } else if (obstacle == "readonly") {
            QFile::setPermissions("velt.txt", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
            if (QFileInfo("velt.txt").isWritable())
                QSKIP("running as root: a read-only mode does not stop root");
        }
        int number = 0;
        QString message;
        try {
            velt::writeLineFile("velt.txt", QString(10000, u'z'));
        } catch (const velt::RuntimeError &error) {
            number = error.number();
            message = error.message();
        }
        system.reset();
        QCOMPARE(number, velt::err::kPathFileAccess);
        QVERIFY(message.contains("velt.txt"));
        if (obstacle != "folder")
            QCOMPARE(ListDir::readBytes("velt.txt"), old);
        QCOMPARE(QDir().entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 1);
    }

    void writableFileInReadOnlyFolderIsStillSaved()
    {
        ListDir dir;
        QVERIFY(QDir().mkdir("ro"));
        dir.writeBytes("ro/velt.txt", "old\r\n");
        QFile::setPermissions("ro", QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo("ro").isWritable()) {
            QFile::setPermissions("ro", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QSKIP("a read-only folder does not stop this user (root) or this system (Windows)");
        }
        velt::writeLineFile("ro/velt.txt", "new");
        QFile::setPermissions("ro", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(ListDir::readBytes("ro/velt.txt"), QByteArray("new\r\n"));
    }
};

QTEST_GUILESS_MAIN(LineFileTest)
#include "line_file_test.moc"
