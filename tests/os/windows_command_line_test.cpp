#include "os/windows_command_line.h"

#include <QTest>

class WindowsCommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void quotesThePathAsOneProgram_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("commandLine");
        QTest::newRow("spaces stay inside the quotes")
            << QStringLiteral("C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe")
            << QStringLiteral("\"C:\\Program Files\\Common Files\\Microsoft Shared\\MSInfo\\msinfo32.exe\"");
        QTest::newRow("already quoted: one pair only")
            << QStringLiteral("\"C:\\Program Files\\x.exe\"") << QStringLiteral("\"C:\\Program Files\\x.exe\"");
        QTest::newRow("bare name is still searched for") << QStringLiteral("msinfo32") << QStringLiteral("\"msinfo32\"");
        QTest::newRow("doubled backslash kept") << QStringLiteral("C:\\WINDOWS\\\\MSINFO32.EXE")
                                                << QStringLiteral("\"C:\\WINDOWS\\\\MSINFO32.EXE\"");
        QTest::newRow("leading quote only is part of the name")
            << QStringLiteral("\"C:\\x.exe") << QStringLiteral("\"\"C:\\x.exe\"");
        QTest::newRow("Japanese") << QStringLiteral("D:\\ﾂｰﾙ\\表示.exe") << QStringLiteral("\"D:\\ﾂｰﾙ\\表示.exe\"");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("empty quotes") << QStringLiteral("\"\"") << QString();
        QTest::newRow("lone quote") << QStringLiteral("\"") << QStringLiteral("\"\"\"");
    }

    void quotesThePathAsOneProgram()
    {
        QFETCH(QString, path);
        QFETCH(QString, commandLine);
        QCOMPARE(velt::windowsCommandLine(path), commandLine);
    }
};

QTEST_GUILESS_MAIN(WindowsCommandLineTest)
#include "windows_command_line_test.moc"
