#include "runtime/runtime_error.h"
#include "text/line_file.h"
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
        QTest::addColumn<bool>("hadOldFile");
        QTest::addColumn<QString>("reason");
        QTest::newRow("the system stops the save") << "system" << true << velt::test::SaveObstacle::reason();
        QTest::newRow("folder of that name") << "folder" << false << "同じ名前のフォルダ";
        QTest::newRow("read-only file") << "readonly" << true << "読み取り専用";
        // The old file is writable, but it is never written in place.
        QTest::newRow("folder takes no new file") << "closed folder" << true << "新しいファイルを作る許可";
        QTest::newRow("folder takes no new file, no old file") << "closed folder" << false << "新しいファイルを作る許可";
        QTest::newRow("working folder deleted") << "deleted folder" << false << "がもうありません";
    }

    void failureLeavesTheOldFile()
    {
        QFETCH(QString, obstacle);
        QFETCH(bool, hadOldFile);
        QFETCH(QString, reason);
        ListDir dir;
        QVERIFY(QDir().mkdir("work"));
        QDir::setCurrent("work");
        const QByteArray old = "old\r\n";
        if (obstacle == "folder")
            QVERIFY(QDir().mkdir("velt.txt"));
        if (hadOldFile)
            dir.writeBytes("work/velt.txt", old);
        std::optional<velt::test::SaveObstacle> system;
        std::optional<velt::test::FolderRefusingNewFiles> closed;
        if (obstacle == "system") {
            system.emplace("velt.txt");
        } else if (obstacle == "readonly") {
            QFile::setPermissions("velt.txt", QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
            if (QFileInfo("velt.txt").isWritable())
                QSKIP("running as root: a read-only mode does not stop root");
        } else if (obstacle == "closed folder") {
            closed.emplace(dir.path() + "/work");
            if (!closed->active())
                QSKIP("this system gives no folder that takes no new file");
        } else if (obstacle == "deleted folder" && !QDir(dir.path()).rmdir("work")) {
            QSKIP("this system keeps a working folder from being deleted");
        }
        QString message;
        try {
            velt::writeLineFile("velt.txt", QString(10000, u'z'));
            QFAIL("saved");
        } catch (const velt::RuntimeError &error) {
            QCOMPARE(error.number(), velt::err::kPathFileAccess);
            message = error.message();
        }
        system.reset();
        closed.reset();
        QVERIFY2(message.startsWith("「velt.txt」に保存できません。") && message.contains(reason), qPrintable(message));
        // "Kept" is said exactly when there was a file to keep.
        QCOMPARE(message.endsWith("前の「velt.txt」はそのまま残っています。"), hadOldFile);
        QDir::setCurrent(dir.path());
        if (hadOldFile)
            QCOMPARE(ListDir::readBytes("work/velt.txt"), old);
        const int left = QDir("work").entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size();
        QCOMPARE(left, hadOldFile || obstacle == "folder" ? 1 : 0);
    }
};

QTEST_GUILESS_MAIN(LineFileTest)
#include "line_file_test.moc"
