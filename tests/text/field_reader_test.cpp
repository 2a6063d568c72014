// The list reader, driven the way a tick drives it: through the loader, so
// every row here runs the one path that lists are read by.

#include "engine/phrase_list.h"
#include "text/cp932.h"
#include "runtime/runtime_error.h"
#include "text/field_reader.h"
#include "support/text_bytes.h"

#include <QBuffer>
#include <QDir>
#include <QTest>

using velt::RuntimeError;
using velt::test::s;
using velt::test::sjis;
using velt::test::utf16;

namespace {

QStringList load(const QByteArray &bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    const velt::PhraseList list = velt::loadPhraseList(buffer, QStringLiteral("test.dat"));
    QStringList entries;
    for (int i = 1; i <= list.count(); ++i)
        entries << list.entry(i).toString();
    return entries;
}

} // namespace

class FieldReaderTest : public QObject
{
    Q_OBJECT

private slots:
    void fields_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("fields");

        QTest::newRow("two lines, final break") << sjis(s(u"今日\r\n昨日\r\n")) << QStringList{s(u"今日"), s(u"昨日")};
        QTest::newRow("two lines, no final break") << sjis(s(u"今日\r\n昨日")) << QStringList{s(u"今日"), s(u"昨日")};
        QTest::newRow("leading spaces skipped, ideographic comma is text")
            << sjis(s(u"  朝、\r\n")) << QStringList{s(u"朝、")};
        QTest::newRow("commas split, two in a row give an empty field")
            << QByteArray("a,b,,c\r\n") << QStringList{"a", "b", "", "c"};
        QTest::newRow("quoted field keeps its comma") << sjis(s(u"\"東京,大阪\"\r\n")) << QStringList{s(u"東京,大阪")};
        QTest::newRow("empty file") << QByteArray() << QStringList{};
        QTest::newRow("number-like text stays text") << QByteArray("007\r\n1e3\r\n") << QStringList{"007", "1e3"};

        // Where the run-time's syntax leaves a choice: what a user editing
        // the list in Notepad expects.
        QTest::newRow("blank lines and lines of blanks are passed over")
            << sjis(s(u"a\r\n\r\n  \t\u3000\r\nb\r\n\r\n")) << QStringList{"a", "b"};
        QTest::newRow("blanks around an unquoted field are dropped, inside kept")
            << sjis(s(u"\u3000花子 \u3000\t,山田\u3000太郎  \r\n")) << QStringList{s(u"花子"), s(u"山田\u3000太郎")};
        QTest::newRow("quotes keep their blanks") << QByteArray("\"  a b  \"\r\n") << QStringList{"  a b  "};
        QTest::newRow("quote inside an unquoted field is text")
            << QByteArray("say \"hi\" now,x\r\n") << QStringList{"say \"hi\" now", "x"};
        QTest::newRow("text after a closing quote is kept, blanks dropped")
            << QByteArray("\"a,b\"c,\"d\"  ,e\r\n") << QStringList{"a,bc", "d", "e"};
        QTest::newRow("empty quoted field") << QByteArray("\"\"\r\nx\r\n") << QStringList{"", "x"};
        QTest::newRow("unclosed quote ends at the end of its line")
            << QByteArray("\"a,b\r\nc\r\n") << QStringList{"a,b", "c"};
        QTest::newRow("no field ever holds a line break")
            << QByteArray("\"a\r\n\"b\rc\"\n,\"\r\r\n") << QStringList{"a", "b", "c\"", "", ""};
        QTest::newRow("comma before a line break gives an empty field")
            << QByteArray("a,\r\n") << QStringList{"a", ""};
        QTest::newRow("comma at the end of the file gives none") << QByteArray("a,b,") << QStringList{"a", "b"};
        QTest::newRow("blanks after a last comma are one more field") << QByteArray("a, ") << QStringList{"a", ""};
        QTest::newRow("lone LF, lone CR and CR LF each end a line")
            << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("entry of exactly the longest length")
            << QByteArray(velt::kMaxFieldLength, 'z') + "\r\n" << QStringList{QString(velt::kMaxFieldLength, u'z')};
        QTest::newRow("blanks around the longest entry do not count")
            << QByteArray(300, ' ') + QByteArray(4000, 'z') + QByteArray(200, ' ') + "\r\n" << QStringList{QString(4000, u'z')};
        QTest::newRow("the limit counts characters, not UTF-16 units")
            << s(u"𠮷").repeated(velt::kMaxFieldLength).toUtf8() << QStringList{s(u"𠮷").repeated(velt::kMaxFieldLength)};
        QTest::newRow("a megabyte of blanks after an entry") << "a" + QByteArray(1 << 20, ' ') + "\r\nb"
                                                            << QStringList{"a", "b"};

        // Code page 932: 0x5C is a backslash, trail byte 0x5C of 表 and ソ
        // is not, 0x8160 is U+FF5E, NEC specials decode.
        QTest::newRow("backslash, trail byte 0x5C")
            << QByteArray("C:\\x,\x95\x5C,\x83\x5C\r\n") << QStringList{"C:\\x", s(u"表"), s(u"ソ")};
        QTest::newRow("wave dash and NEC specials")
            << QByteArray("\x81\x60\x87\x40\x87\x54\xED\x40\r\n") << QStringList{s(u"\uFF5E①Ⅰ\u7E8A")};

        // Short code page 932 lists whose bytes are valid UTF-8 by accident.
        QTest::newRow("ﾃｽ, valid UTF-8 for ý") << sjis(s(u"ﾃｽ")) << QStringList{s(u"ﾃｽ")};
        QTest::newRow("ﾕｷ, valid UTF-8 for շ") << sjis(s(u"ﾕｷ\r\n")) << QStringList{s(u"ﾕｷ")};
        QTest::newRow("ﾎｰﾑｽ, valid UTF-8 for ΰѽ") << sjis(s(u"ﾎｰﾑｽ\r\n")) << QStringList{s(u"ﾎｰﾑｽ")};
        QTest::newRow("level-2 kanji, valid UTF-8 for 经]") << sjis(s(u"扈従\r\n")) << QStringList{s(u"扈従")};

        // Lists saved by today's editors.
        QTest::newRow("UTF-8 with a mark")
            << QByteArray("\xEF\xBB\xBF") + s(u"今日,𠮷野家\r\n").toUtf8() << QStringList{s(u"今日"), s(u"𠮷野家")};
        QTest::newRow("UTF-8 without a mark") << s(u"  朝、\n公園\n").toUtf8() << QStringList{s(u"朝、"), s(u"公園")};
        QTest::newRow("UTF-8 Japanese with an emoji") << s(u"宇宙人😀\n").toUtf8() << QStringList{s(u"宇宙人😀")};
        QTest::newRow("UTF-8 mark before ASCII") << QByteArray("\xEF\xBB\xBF" "a,b") << QStringList{"a", "b"};
        QTest::newRow("UTF-16 LE with a mark (Notepad's Unicode)")
            << "\xFF\xFE" + utf16(s(u"今日,𠮷\r\n昨日\r\n"), false) << QStringList{s(u"今日"), s(u"𠮷"), s(u"昨日")};
        QTest::newRow("UTF-16 BE with a mark") << "\xFE\xFF" + utf16(s(u"今日\r\n"), true) << QStringList{s(u"今日")};

        // Ctrl-Z, which older editors put at the end of a text.
        QTest::newRow("Ctrl-Z at the end") << QByteArray("\x8D\xA1\x93\xFA\r\n\x1A") << QStringList{s(u"今日")};
        QTest::newRow("code page 932 control bytes are themselves")
            << QByteArray("\x8D\xA1\x7F\r\n\x1A") << QStringList{s(u"今\x7F")};
        QTest::newRow("Ctrl-Z and line breaks at the end") << QByteArray("a,\x1A\r\n\r\n") << QStringList{"a"};
        QTest::newRow("Ctrl-Z ending the last field") << QByteArray("a\r\n\"b\x1A") << QStringList{"a", "b"};
        // Every other control character is text, as the run-time reads it.
        QTest::newRow("control characters are text")
            << QByteArray("\x01" "ab\x07" "c,\x1B[0m\r\n") << QStringList{"\x01" "ab\x07" "c", "\x1B[0m"};
        QTest::newRow("Ctrl-Z in the middle is text") << QByteArray("a\x1A\r\nb\x1A,\x1A\r\nc")
                                                      << QStringList{"a\x1A", "b\x1A", "\x1A", "c"};
    }

    void fields()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, fields);
        QCOMPARE(load(bytes), fields);
    }

    void piecesSplitAnywhereDecodeTheSame_data()
    {
        QTest::addColumn<QString>("encoding");
        QTest::newRow("code page 932") << "cp932";
        QTest::newRow("UTF-8") << "utf8";
        QTest::newRow("UTF-16 LE") << "utf16";
    }

    void piecesSplitAnywhereDecodeTheSame()
    {
        // Many pieces, with two-byte characters, surrogate pairs and
        // CR LF pairs straddling every kind of boundary.
        QFETCH(QString, encoding);
        QString text;
        QStringList expected;
        for (int i = 0; i < 1990; ++i) {
            const QString entry = QStringLiteral("表ソ%1能%2").arg(i).arg(encoding == "cp932" ? "" : "𠮷");
            expected << entry;
            text += entry + QString(i % 7, u' ') + (i % 3 ? QStringLiteral("\r\n") : QStringLiteral(","));
        }
        // Blanks after a comma across several pieces, an empty field, and a
        // quoted entry of the longest length at the very end.
        text += QString(40000, u' ') + QStringLiteral("\r\n\"") + QString(velt::kMaxFieldLength, u'能') + u'"';
        expected << QString() << QString(velt::kMaxFieldLength, u'能');
        const QByteArray bytes = encoding == "cp932" ? sjis(text)
            : encoding == "utf8"                     ? text.toUtf8()
                                                     : "\xFF\xFE" + utf16(text, false);
        QCOMPARE(load(bytes), expected);
    }

    void errors_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("number");
        QTest::addColumn<QStringList>("mentions");

        QTest::newRow("invalid byte on line 3")
            << QByteArray("a\r\nb\r\nc\xFF\r\n") << 62 << QStringList{"3 行目", "Shift_JIS として"};
        QTest::newRow("truncated two-byte character")
            << QByteArray("a\r\n\x95") << 62 << QStringList{"2 行目", "保存し直して"};
        QTest::newRow("UTF-8 list with a mark broken further down")
            << "\xEF\xBB\xBF" + s(u"今日\r\nok\r\n").toUtf8() + "\x82\xA0\r\n" << 62
            << QStringList{"3 行目", "UTF-8 として"};
        QTest::newRow("binary file") << QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0", 10) << 62
                                     << QStringList{"1 行目", "NUL", "テキストファイルではない"};
        QTest::newRow("UTF-16 without a mark") << utf16(s(u"今日\r\n昨日\r\n"), false) << 62
                                               << QStringList{"UTF-16", "バイト順マーク"};
        QTest::newRow("NUL past the first piece") << "ok" + QByteArray("\r\n").repeated(9000) + '\0' << 62
                                                  << QStringList{"9001 行目", "NUL"};
        QTest::newRow("UTF-16 lone high surrogate") << "\xFF\xFE" + utf16(s(u"a\r\nb"), false) + "\x3D\xD8\r\0" << 62
                                                    << QStringList{"2 行目", "UTF-16 として"};
        QTest::newRow("UTF-16 lone low surrogate at the end") << "\xFE\xFF" + utf16(s(u"a\r\n"), true) + "\xDE\x00"
                                                              << 62 << QStringList{"2 行目", "UTF-16 として"};
        QTest::newRow("entry longer than the limit")
            << (QByteArray("ok\r\n") + QByteArray(velt::kMaxFieldLength + 1, 'x')) << 14 << QStringList{"2 番目", "2 行目"};
        QTest::newRow("a megabyte without a break") << QByteArray(1 << 20, 'y') << 14 << QStringList{"1 番目"};
        QTest::newRow("4097 characters outside the BMP")
            << s(u"𠮷").repeated(velt::kMaxFieldLength + 1).toUtf8() << 14 << QStringList{"1 番目"};
        QTest::newRow("text after a long run of blanks") << "a" + QByteArray(1 << 16, ' ') + "b" << 14
                                                         << QStringList{"1 番目", "1 行目"};
        QTest::newRow("2000 comma-separated entries and one more")
            << QByteArray("x,").repeated(2001) << 9 << QStringList{"2001 番目"};
    }

    void errors()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, number);
        QFETCH(QStringList, mentions);
        try {
            load(bytes);
            QFAIL("no error raised");
        } catch (const RuntimeError &error) {
            QCOMPARE(error.number(), number);
            for (const QString &part : mentions << "test.dat")
                QVERIFY2(error.message().contains(part), qPrintable(error.message()));
        }
    }

    void commaSeparatedListOfExactly2000EndingInAComma()
    {
        QCOMPARE(load(QByteArray("x,").repeated(2000)).size(), 2000);
    }

    void sampleListsReadAsCodePage932()
    {
        const QDir lists(QStringLiteral(VELT_SOURCE_DIR "/data/lists"));
        const QStringList names = lists.entryList({"*.dat"});
        QCOMPARE(names.size(), 5);
        for (const QString &name : names) {
            QFile file(lists.filePath(name));
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            const QString text = *velt::cp932::decode(bytes);
            const QStringList entries = load(bytes);
            QVERIFY2(entries.size() >= 40, qPrintable(name));
            for (const QString &entry : entries)
                QVERIFY2(!entry.isEmpty() && text.contains(entry), qPrintable(name + ": " + entry));
        }
    }

    void hugeFileStopsAtThe2001stField()
    {
        // 100 MB of short lines: the reading stops a piece or two after the
        // 2001st field.
        class EndlessLines : public QIODevice
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
        QVERIFY_THROWS_EXCEPTION(RuntimeError, velt::loadPhraseList(device, QStringLiteral("big.dat")));
        QVERIFY(device.served <= 256 * 1024);
    }
};

QTEST_GUILESS_MAIN(FieldReaderTest)
#include "field_reader_test.moc"
