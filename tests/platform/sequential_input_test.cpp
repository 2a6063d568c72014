#include "platform/cp932.h"
#include "platform/runtime_error.h"
#include "platform/sequential_input.h"

#include <QBuffer>
#include <QDir>
#include <QTest>

using velt::RuntimeError;
using velt::SequentialInput;

namespace {

QByteArray sjis(const QString &text)
{
    return *velt::cp932::encode(text);
}

QStringList readAll(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    SequentialInput input(buffer, QStringLiteral("test.dat"));
    QStringList fields;
    while (!input.atEnd())
        fields << input.readField();
    return fields;
}

// The error a read raises, or number 0 and an empty message.
RuntimeError readError(const QByteArray &bytes)
{
    try {
        readAll(bytes);
    } catch (const RuntimeError &error) {
        return error;
    }
    return RuntimeError(0, QStringLiteral("-"));
}

} // namespace

class SequentialInputTest : public QObject
{
    Q_OBJECT

private slots:
    void fields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("fields");

        const auto s = [](const char16_t *t) { return QString::fromUtf16(t); };
        QTest::newRow("two lines, final break") << sjis(s(u"今日\r\n昨日\r\n")) << QStringList{s(u"今日"), s(u"昨日")};
        QTest::newRow("two lines, no final break") << sjis(s(u"今日\r\n昨日")) << QStringList{s(u"今日"), s(u"昨日")};
        QTest::newRow("leading spaces skipped, ideographic comma is text")
            << sjis(s(u"  朝、\r\n")) << QStringList{s(u"朝、")};
        QTest::newRow("commas split, two in a row give an empty field")
            << QByteArray("a,b,,c\r\n") << QStringList{"a", "b", "", "c"};
        QTest::newRow("quoted field keeps its comma")
            << sjis(s(u"\"東京,大阪\"\r\n")) << QStringList{s(u"東京,大阪")};
        QTest::newRow("comma and line fields mix across lines")
            << QByteArray("a,b\r\nc\r\n") << QStringList{"a", "b", "c"};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("number-like text stays text") << QByteArray("007\r\n1e3\r\n") << QStringList{"007", "1e3"};

        // Decisions where the run-time's syntax leaves a choice: what a user
        // editing the list in Notepad expects.
        QTest::newRow("blank lines are passed over")
            << QByteArray("a\r\n\r\n\r\nb\r\n\r\n") << QStringList{"a", "b"};
        QTest::newRow("lines of blanks only are passed over")
            << sjis(s(u"a\r\n  \t\u3000\r\nb")) << QStringList{"a", "b"};
        QTest::newRow("ideographic space before a field is skipped")
            << sjis(s(u"\u3000\u3000花子\r\n")) << QStringList{s(u"花子")};
        QTest::newRow("trailing blanks of an unquoted field are dropped")
            << sjis(s(u"花子 \u3000\t,太郎  \r\n")) << QStringList{s(u"花子"), s(u"太郎")};
        QTest::newRow("blanks inside an entry stay") << sjis(s(u"山田\u3000花子\r\n")) << QStringList{s(u"山田\u3000花子")};
        QTest::newRow("quotes keep leading and trailing blanks")
            << QByteArray("\"  a b  \"\r\n") << QStringList{"  a b  "};
        QTest::newRow("quote inside an unquoted field is text")
            << QByteArray("say \"hi\" now,x\r\n") << QStringList{"say \"hi\" now", "x"};
        QTest::newRow("text after a closing quote is kept")
            << QByteArray("\"a,b\"c,d\r\n") << QStringList{"a,bc", "d"};
        QTest::newRow("blanks after a closing quote are dropped")
            << QByteArray("\"a\"  ,b\r\n") << QStringList{"a", "b"};
        QTest::newRow("empty quoted field") << QByteArray("\"\"\r\nx\r\n") << QStringList{"", "x"};
        QTest::newRow("unclosed quote ends at the end of its line")
            << QByteArray("\"a,b\r\nc\r\n") << QStringList{"a,b", "c"};
        QTest::newRow("trailing comma gives a last empty field") << QByteArray("a,\r\nb\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("trailing comma at end of file") << QByteArray("a,") << QStringList{"a", ""};
        QTest::newRow("lone LF ends a line") << QByteArray("a\nb\n") << QStringList{"a", "b"};
        QTest::newRow("lone CR ends a line") << QByteArray("a\rb\rc") << QStringList{"a", "b", "c"};
        QTest::newRow("mixed line ends") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};

        // Code page 932 specifics: 0x5C is a backslash, trail byte 0x5C of
        // 表 and ソ is not, 0x8160 is U+FF5E, NEC specials decode.
        QTest::newRow("backslash and yen")
            << QByteArray("C:\\x\r\n") << QStringList{"C:\\x"};
        QTest::newRow("trail byte 0x5C") << QByteArray("\x95\x5C,\x83\x5C\r\n") << QStringList{s(u"表"), s(u"ソ")};
        QTest::newRow("wave dash and NEC specials")
            << QByteArray("\x81\x60\x87\x40\x87\x54\xED\x40\r\n") << QStringList{s(u"\uFF5E①Ⅰ\u7E8A")};
        QTest::newRow("half-width katakana") << QByteArray("\xBC\xBD\xC3\xD1\r\n") << QStringList{s(u"ｼｽﾃﾑ")};

        // Lists saved by modern editors.
        QTest::newRow("UTF-8 with byte-order mark")
            << (QByteArray("\xEF\xBB\xBF") + s(u"今日,𠮷野家\r\n").toUtf8()) << QStringList{s(u"今日"), s(u"𠮷野家")};
        QTest::newRow("UTF-8 without a mark") << s(u"  朝、\n😀\n").toUtf8() << QStringList{s(u"朝、"), s(u"😀")};
        QTest::newRow("UTF-8 mark before an ASCII file") << QByteArray("\xEF\xBB\xBF" "a,b") << QStringList{"a", "b"};
        QTest::newRow("ASCII reads the same either way") << QByteArray("abc\r\n") << QStringList{"abc"};
    }

    void encodingIsDetected_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("encoding");
        const auto s = [](const char16_t *t) { return QString::fromUtf16(t); };
        const int cp932 = int(SequentialInput::Encoding::Cp932);
        const int utf8 = int(SequentialInput::Encoding::Utf8);
        QTest::newRow("kanji and kana in code page 932")
            << sjis(s(u"昨日の夕方、隣の山田さんと宇宙人が駅前の屋台でラーメンを食べた\r\n")) << cp932;
        QTest::newRow("half-width katakana in code page 932") << sjis(s(u"ｼｽﾃﾑﾊﾞｰｼﾞｮﾝｱｲｳｴｵ\r\n")) << cp932;
        QTest::newRow("two-byte symbols in code page 932") << sjis(s(u"①～■◆★♪ＡＢＣ\r\n")) << cp932;
        QTest::newRow("UTF-8 without a mark") << s(u"今日\r\n").toUtf8() << utf8;
        QTest::newRow("UTF-8 with a mark") << QByteArray("\xEF\xBB\xBF" "x") << utf8;
        QTest::newRow("ASCII only") << QByteArray("plain\r\n") << int(SequentialInput::Encoding::Undecided);
    }

    void encodingIsDetected()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, encoding);
        QBuffer buffer;
        buffer.setData(bytes);
        buffer.open(QIODevice::ReadOnly);
        SequentialInput input(buffer, QStringLiteral("test.dat"));
        while (!input.atEnd())
            input.readField();
        QCOMPARE(int(input.encoding()), encoding);
    }

    void sampleListsReadAsCodePage932()
    {
        const QDir lists(QStringLiteral(VELT_SOURCE_DIR "/data/lists"));
        const QStringList names = lists.entryList({"*.dat"});
        QCOMPARE(names.size(), 5);
        for (const QString &name : names) {
            QFile file(lists.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            SequentialInput input(file, name);
            int count = 0;
            while (!input.atEnd()) {
                QVERIFY(!input.readField().isEmpty());
                ++count;
            }
            QVERIFY2(count >= 40, qPrintable(name));
            QCOMPARE(int(input.encoding()), int(SequentialInput::Encoding::Cp932));
        }
    }

    void fields()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, fields);
        QCOMPARE(readAll(bytes), fields);
    }

    void noFieldEverHoldsALineBreak()
    {
        const QStringList fields = readAll("\"a\r\n\"b\rc\"\n,\"\r\r\n");
        for (const QString &field : fields) {
            QVERIFY(!field.contains(u'\r'));
            QVERIFY(!field.contains(u'\n'));
        }
    }

    void piecesSplitAnywhereDecodeTheSame()
    {
        // Longer than one 64 KiB piece, with two-byte characters and CR LF
        // pairs straddling every possible boundary.
        QString text;
        QStringList expected;
        for (int i = 0; i < 12000; ++i) {
            const QString entry = QStringLiteral("表ソ%1能").arg(i);
            expected << entry;
            text += entry + (i % 3 ? QStringLiteral("\r\n") : QStringLiteral(","));
        }
        QCOMPARE(readAll(sjis(text)), expected);
    }

    void errors_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("mentions");

        QTest::newRow("invalid lead byte on line 3")
            << QByteArray("a\r\nb\r\nc\xFF\r\n") << 62 << QStringLiteral("3 行目");
        QTest::newRow("truncated two-byte character")
            << QByteArray("a\r\n\x95") << 62 << QStringLiteral("2 行目");
        QTest::newRow("NUL byte") << QByteArray("a\r\nb\0c\r\n", 8) << 62 << QStringLiteral("2 行目");
        QTest::newRow("UTF-16 text") << QByteArray("\xFF\xFE" "a\0b\0", 6) << 62 << QStringLiteral("1 行目");
        QTest::newRow("entry longer than 4096 characters")
            << (QByteArray("ok\r\n") + QByteArray(4097, 'x')) << 14 << QStringLiteral("2 番目");
        QTest::newRow("neither UTF-8 nor code page 932")
            << (QString("今日\r\n").toUtf8() + "ok\r\n\xFF\r\n") << 62 << QStringLiteral("3 行目");
        QTest::newRow("bad byte after a UTF-8 mark")
            << QByteArray("\xEF\xBB\xBF" "a\n\x82\xA0\n") << 62 << QStringLiteral("2 行目");
        QTest::newRow("a megabyte without a break")
            << QByteArray(1 << 20, 'y') << 14 << QStringLiteral("1 番目");
    }

    void errors()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, number);
        QFETCH(QString, mentions);
        const RuntimeError error = readError(bytes);
        QCOMPARE(error.number(), number);
        QVERIFY2(error.message().contains(QStringLiteral("test.dat")), qPrintable(error.message()));
        QVERIFY2(error.message().contains(mentions), qPrintable(error.message()));
    }

    void entryOfExactlyTheLimitIsKept()
    {
        const QStringList fields = readAll(QByteArray(velt::MAX_FIELD_LENGTH, 'z') + "\r\n");
        QCOMPARE(fields.size(), 1);
        QCOMPARE(fields.first().size(), velt::MAX_FIELD_LENGTH);
    }

    void readingPastTheEndIsError62()
    {
        QBuffer buffer;
        buffer.setData("a\r\n");
        buffer.open(QIODevice::ReadOnly);
        SequentialInput input(buffer, QStringLiteral("x.dat"));
        QCOMPARE(input.readField(), QStringLiteral("a"));
        QVERIFY(input.atEnd());
        QVERIFY_THROWS_EXCEPTION(RuntimeError, input.readField());
    }

    void hugeFileStopsWhenTheCallerStops()
    {
        // 100 MB of short lines: asking for three fields reads one piece.
        class CountingBuffer : public QIODevice
        {
        public:
            qint64 served = 0;
        protected:
            qint64 readData(char *data, qint64 max) override
            {
                for (qint64 i = 0; i < max; ++i)
                    data[i] = (served + i) % 3 == 2 ? '\n' : 'a';
                served += max;
                return max;
            }
            qint64 writeData(const char *, qint64) override { return -1; }
        } device;
        device.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        SequentialInput input(device, QStringLiteral("big.dat"));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(input.readField(), QStringLiteral("aa"));
        QVERIFY(device.served <= 256 * 1024);
    }
};

QTEST_GUILESS_MAIN(SequentialInputTest)
#include "sequential_input_test.moc"
