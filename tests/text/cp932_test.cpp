// Code page 932 as every build converts it: Linux through ICU, Windows
// through the system. Both must accept and refuse exactly the same bytes and
// characters, or a list that loads on one fails on the other and velt.txt
// differs between them.

#include "text/cp932.h"
#include "support/text_bytes.h"

#include <QCryptographicHash>
#include <QTest>

using velt::test::s;

namespace {

// Every conversion in a range, written out and hashed: "bytes=units;" for
// what decodes (or "=-" when it does not), "unit=bytes;" for what encodes.
QByteArray decodeDigest(int firstLead, int lastLead)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    const auto add = [&hash](QByteArrayView bytes) {
        const std::optional<QString> text = velt::cp932::decode(bytes);
        QByteArray line = bytes.toByteArray().toHex() + '=';
        if (!text)
            line += '-';
        for (const QChar c : text.value_or(QString()))
            line += QByteArray::number(c.unicode(), 16) + ' ';
        hash.addData(line + ';');
    };
    for (int lead = firstLead; lead <= lastLead; ++lead) {
        const char one[] = {char(lead)};
        add(QByteArrayView(one, 1));
        if (lead < 0x80)
            continue;
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const char two[] = {char(lead), char(trail)};
            add(QByteArrayView(two, 2));
        }
    }
    return hash.result().toHex().left(16);
}

QByteArray encodeDigest(char16_t first, char16_t last)
{
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (char32_t u = first; u <= last; ++u) {
        const char16_t unit = char16_t(u);
        const std::optional<QByteArray> bytes = velt::cp932::encode(QStringView(&unit, 1));
        hash.addData(QByteArray::number(uint(u), 16) + '=' + (bytes ? bytes->toHex() : QByteArray("-")) + ';');
    }
    return hash.result().toHex().left(16);
}

} // namespace

class Cp932Test : public QObject
{
    Q_OBJECT

private slots:
    void available() { QVERIFY(velt::cp932::available()); }

    void decode_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QString>("text");

        QTest::newRow("nothing") << QByteArray() << true << QString();
        QTest::newRow("backslash and tilde are themselves") << QByteArray("C:\\x~") << true << "C:\\x~";
        QTest::newRow("control bytes are themselves") << QByteArray("\x1A\x1C\x7F") << true << "\x1A\x1C\x7F";
        QTest::newRow("trail byte 0x5C") << QByteArray("\x95\x5C\x83\x5C") << true << s(u"表ソ");
        QTest::newRow("wave dash is the full-width tilde") << QByteArray("\x81\x60") << true << s(u"\uFF5E");
        QTest::newRow("half-width katakana") << QByteArray("\xB1\xDF") << true << s(u"ｱﾟ");
        QTest::newRow("NEC special") << QByteArray("\x87\x40\x87\x54") << true << s(u"①Ⅰ");
        QTest::newRow("NEC-selected IBM extension") << QByteArray("\xED\x40\xEE\xEF") << true << s(u"\u7E8Aⅰ");
        QTest::newRow("IBM extension") << QByteArray("\xFA\x40\xFA\x5C") << true << s(u"ⅰ\u7E8A");
        QTest::newRow("user-defined area") << QByteArray("\xF0\x40\xF9\xFC") << true << s(u"\uE000\uE757");

        QTest::newRow("0x80 alone") << QByteArray("a\x80") << false << QString();
        QTest::newRow("0xA0 alone") << QByteArray("\xA0") << false << QString();
        QTest::newRow("0xFD alone") << QByteArray("\xFD") << false << QString();
        QTest::newRow("0xFF alone") << QByteArray("\xFF") << false << QString();
        QTest::newRow("0x80 after half-width katakana") << QByteArray("\xA1\x80") << false << QString();
        QTest::newRow("lead byte at the end") << QByteArray("a\x82") << false << QString();
        QTest::newRow("lead byte before a control byte") << QByteArray("\x82\x0D\x0A") << false << QString();
        QTest::newRow("unassigned code") << QByteArray("\x85\x40") << false << QString();
    }

    void decode()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, valid);
        QFETCH(QString, text);
        const std::optional<QString> decoded = velt::cp932::decode(bytes);
        QCOMPARE(decoded.has_value(), valid);
        if (valid)
            QCOMPARE(*decoded, text);
    }

    void encode_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("nothing") << QString() << true << QByteArray();
        QTest::newRow("a question mark of the text's own") << "?" << true << QByteArray("?");
        QTest::newRow("control codes are themselves") << "\x1A\x1C\x7F" << true << QByteArray("\x1A\x1C\x7F");
        QTest::newRow("kana and kanji") << s(u"あア表") << true << QByteArray("\x82\xA0\x83\x41\x95\x5C");
        // Code page 932 holds some characters twice; Windows writes the
        // JIS X 0208 code, then NEC's row 13, then IBM's extension.
        QTest::newRow("≒ ∵ ¬ take the JIS X 0208 code")
            << s(u"≒∵\uFFE2") << true << QByteArray("\x81\xE0\x81\xE6\x81\xCA");
        QTest::newRow("Ⅰ takes NEC's row 13") << s(u"Ⅰ") << true << QByteArray("\x87\x54");
        QTest::newRow("ⅰ and 纊 take IBM's extension") << s(u"ⅰ\u7E8A") << true << QByteArray("\xFA\x40\xFA\x5C");
        QTest::newRow("user-defined character") << s(u"\uE000") << true << QByteArray("\xF0\x40");

        // No look-alike, no "?": such text goes out as UTF-8 instead.
        QTest::newRow("yen sign, not a backslash") << s(u"¥") << false << QByteArray();
        QTest::newRow("é, not e") << s(u"café") << false << QByteArray();
        QTest::newRow("wave dash U+301C") << s(u"〜") << false << QByteArray();
        QTest::newRow("character beyond the BMP") << s(u"𠮷") << false << QByteArray();
        QTest::newRow("lone surrogate") << s(u"a\xD800") << false << QByteArray();
        QTest::newRow("U+0080") << s(u"\u0080") << false << QByteArray();
        QTest::newRow("private use written as № one way") << s(u"\uF86F") << false << QByteArray();
        QTest::newRow("private use written as 0xA0 one way") << s(u"\uF8F0") << false << QByteArray();
    }

    void encode()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QByteArray, bytes);
        const std::optional<QByteArray> encoded = velt::cp932::encode(text);
        QCOMPARE(encoded.has_value(), valid);
        if (valid)
            QCOMPARE(*encoded, bytes);
    }

    void validPrefix_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("prefix");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("all of it") << QByteArray("a\x82\xA0z") << 4;
        QTest::newRow("up to a byte without a character") << QByteArray("ab\x82\xA0\x80z") << 4;
        QTest::newRow("up to a cut-off character") << QByteArray("a\x82\xA0\x82") << 3;
        QTest::newRow("nothing before an unassigned code") << QByteArray("\x85\x40" "abc") << 0;
    }

    void validPrefix()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, prefix);
        QCOMPARE(velt::cp932::validPrefix(bytes), prefix);
    }

    // The whole code page, range by range, against digests of ICU's table
    // (with its rotated control codes turned back): a difference anywhere
    // makes its range fail.
    // What the encoding decision takes for "not code page 932" without
    // decoding must be so on this system's converter.
    void bytesThatBeginNoCharacter()
    {
        for (int lead = 0; lead <= 0xFF; ++lead) {
            if (!velt::cp932::beginsNoCharacter(static_cast<unsigned char>(lead)))
                continue;
            for (int trail = -1; trail <= 0xFF; ++trail) {
                const char bytes[2] = {char(lead), char(trail)};
                QVERIFY2(!velt::cp932::decode(QByteArrayView(bytes, trail < 0 ? 1 : 2)),
                         qPrintable(QString::number(lead, 16) + u' ' + QString::number(trail, 16)));
            }
        }
    }

    void wholeCodePage_data()
    {
        QTest::addColumn<QByteArray>("digest");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("bytes below 0x80") << decodeDigest(0x00, 0x7F) << QByteArray("4a9e8fcb64353ec1");
        QTest::newRow("lead 0x80-0x84: symbols, kana, Greek, Cyrillic") << decodeDigest(0x80, 0x84)
                                                                         << QByteArray("1f3c7bdc0dd59c39");
        QTest::newRow("lead 0x85-0x87: NEC specials") << decodeDigest(0x85, 0x87) << QByteArray("2cbc1faedeb18d8b");
        QTest::newRow("lead 0x88-0x9F: kanji") << decodeDigest(0x88, 0x9F) << QByteArray("e8678649883daf0f");
        QTest::newRow("lead 0xA0-0xDF: half-width katakana") << decodeDigest(0xA0, 0xDF) << QByteArray("74a98c166ddbf24f");
        QTest::newRow("lead 0xE0-0xEC: kanji") << decodeDigest(0xE0, 0xEC) << QByteArray("f5daebaa492a8b53");
        QTest::newRow("lead 0xED-0xEF: NEC-selected IBM extension") << decodeDigest(0xED, 0xEF)
                                                                    << QByteArray("36f070ca76d763b3");
        QTest::newRow("lead 0xF0-0xF9: user-defined") << decodeDigest(0xF0, 0xF9) << QByteArray("737aaf59a589bb1b");
        QTest::newRow("lead 0xFA-0xFF: IBM extension") << decodeDigest(0xFA, 0xFF) << QByteArray("e756e67f4ca725c0");
        QTest::newRow("U+0000-U+2FFF") << encodeDigest(0x0000, 0x2FFF) << QByteArray("b6ec07dadfa521e3");
        QTest::newRow("U+3000-U+33FF") << encodeDigest(0x3000, 0x33FF) << QByteArray("a133ac44e7151b8a");
        QTest::newRow("U+3400-U+D7FF") << encodeDigest(0x3400, 0xD7FF) << QByteArray("4e8b17cfe05bec1d");
        QTest::newRow("U+E000-U+F8FF") << encodeDigest(0xE000, 0xF8FF) << QByteArray("04ae46ea64f66101");
        QTest::newRow("U+F900-U+FFFF") << encodeDigest(0xF900, 0xFFFF) << QByteArray("5b7a82363f78f635");
    }

    void wholeCodePage()
    {
        QFETCH(QByteArray, digest);
        QFETCH(QByteArray, expected);
        QCOMPARE(digest, expected);
    }
};

QTEST_GUILESS_MAIN(Cp932Test)
#include "cp932_test.moc"
