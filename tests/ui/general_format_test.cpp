#include "ui/general_format.h"

#include <QTest>

class GeneralFormatTest : public QObject
{
    Q_OBJECT

private slots:
    void hexNumberText_data()
    {
        QTest::addColumn<uint>("number");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero keeps one digit") << 0u << QStringLiteral("&h0");
        QTest::newRow("bytes 05 01 00 00") << 0x105u << QStringLiteral("&h105");
        QTest::newRow("letters are upper case") << 0xabcdefu << QStringLiteral("&hABCDEF");
        QTest::newRow("no leading zeros") << 0x0000000fu << QStringLiteral("&hF");
        QTest::newRow("all 32 bits") << 0xffffffffu << QStringLiteral("&hFFFFFFFF");
    }

    void hexNumberText()
    {
        QFETCH(uint, number);
        QFETCH(QString, text);
        QCOMPARE(velt::hexNumberText(number), text);
    }

    void formatGeneral_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::newRow("hex literal") << QStringLiteral("&h105") << QStringLiteral("261");
        QTest::newRow("lower-case prefix and digits") << QStringLiteral("&HaBc") << QStringLiteral("2748");
        QTest::newRow("zero") << QStringLiteral("&h0") << QStringLiteral("0");
        QTest::newRow("top bit stays positive") << QStringLiteral("&h80000000") << QStringLiteral("2147483648");
        QTest::newRow("all 32 bits") << QStringLiteral("&hFFFFFFFF") << QStringLiteral("4294967295");
        QTest::newRow("nine digits are no 32-bit literal") << QStringLiteral("&h100000000")
                                                           << QStringLiteral("&h100000000");
        QTest::newRow("prefix alone") << QStringLiteral("&h") << QStringLiteral("&h");
        QTest::newRow("not a hex digit") << QStringLiteral("&h10G") << QStringLiteral("&h10G");
        QTest::newRow("C-style prefix inside") << QStringLiteral("&h0x10") << QStringLiteral("&h0x10");
        QTest::newRow("blank inside") << QStringLiteral("&h 10") << QStringLiteral("&h 10");
        QTest::newRow("full-width digits") << QStringLiteral("&h１０") << QStringLiteral("&h１０");
        QTest::newRow("a path") << QStringLiteral("C:\\WINDOWS\\MSINFO32.EXE") << QStringLiteral("C:\\WINDOWS\\MSINFO32.EXE");
        QTest::newRow("empty") << QString() << QString();
    }

    void formatGeneral()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        QCOMPARE(velt::formatGeneral(input), output);
    }
};

QTEST_GUILESS_MAIN(GeneralFormatTest)
#include "general_format_test.moc"
