// Counts how often the list reader takes a list file for the wrong encoding.
// Every file is written twice, in code page 932 and in UTF-8 without a
// byte-order mark, and fed from memory through the real loader; a file that
// loads without an error but whose entries differ from the words written is
// the silent failure this is about.
//
//   encoding_survey WORDS.txt...
//
// Each WORDS.txt is UTF-8, one word per line (tools/encoding-survey/run.sh
// makes them from a dictionary). Prints a Markdown table, and the first few
// misreads of each row under it. Every row draws from a generator seeded
// from its set's name and entry count, so runs repeat, row by row.

#include "engine/phrase_list.h"
#include "text/cp932.h"
#include "runtime/runtime_error.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>
#include <functional>
#include <random>

namespace {

constexpr int kFiles = 5000;
constexpr int kEntryCounts[] = {1, 2, 3, 5, 10};
constexpr int kExamplesPerRow = 3;

enum Outcome { Right, Misread, Refused };

struct Row
{
    QString set;
    int entries = 0;
    bool cp932 = false;
    int count[3] = {};
    QStringList examples;

    QString encoding() const { return cp932 ? QStringLiteral("cp932") : QStringLiteral("UTF-8"); }
    QByteArray encode(const QString &text) const { return cp932 ? *velt::cp932::encode(text) : text.toUtf8(); }
};

using Pick = std::function<QStringList(std::mt19937 &)>;

QString hex(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

Outcome load(const QByteArray &bytes, const QStringList &words, QStringList &readAs)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        const velt::PhraseList list = velt::loadPhraseList(buffer, QStringLiteral("survey.dat"));
        for (int i = 1; i <= list.count(); ++i)
            readAs << list.entry(i).toString();
        return readAs == words ? Right : Misread;
    } catch (const velt::RuntimeError &) {
        return Refused;
    }
}

void addExample(Row &row, const QStringList &words, const QStringList &readAs)
{
    QStringList shown;
    for (const QString &word : words)
        shown << QStringLiteral("%1 (%2)").arg(word, hex(row.encode(word)));
    const QString example = QStringLiteral("%1 → %2").arg(shown.join(QStringLiteral(", ")),
                                                            readAs.join(QStringLiteral(", ")));
    if (!row.examples.contains(example))
        row.examples << example;
}

// One row per encoding, from the same kFiles draws of `pick`; only UTF-8
// for words that code page 932 cannot hold.
void survey(const QString &set, int entries, const Pick &pick, QList<Row> &rows, bool utf8Only = false)
{
    Row cp932{set, entries, true, {}, {}};
    Row utf8{set, entries, false, {}, {}};
    std::mt19937 rng(qChecksum(set.toUtf8()) * 1000u + static_cast<unsigned>(entries));
    for (int file = 0; file < kFiles; ++file) {
        const QStringList words = pick(rng);
        const QString text = words.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        for (Row *row : {&cp932, &utf8}) {
            if (utf8Only && row == &cp932)
                continue;
            QStringList readAs;
            const Outcome outcome = load(row->encode(text), words, readAs);
            ++row->count[outcome];
            if (outcome == Misread && row->examples.size() < kExamplesPerRow)
                addExample(*row, words, readAs);
        }
    }
    if (!utf8Only)
        rows << cp932;
    rows << utf8;
}

// The words of one list that every file can hold: code page 932 must
// represent each, or the two encodings would not carry the same text.
QStringList readWords(const QString &path, int &skipped)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        qFatal("cannot read %s", qUtf8Printable(path));
    QStringList words;
    for (const QString &word : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        if (velt::cp932::encode(word))
            words << word;
        else
            ++skipped;
    }
    if (words.isEmpty())
        qFatal("no usable words in %s", qUtf8Printable(path));
    return words;
}

// No dictionary word is in half-width katakana, yet pairs of them are the
// likeliest code page 932 text to form valid UTF-8 by accident (ﾃｽ is C3 BD).
QStringList halfWidthKatakana(std::mt19937 &rng)
{
    QString word;
    for (int n = 2 + static_cast<int>(rng() % 3); n > 0; --n)
        word += QChar(char16_t(0xFF66 + rng() % (0xFF9D - 0xFF66 + 1)));
    return {word};
}

QString share(int n)
{
    return n == 0 ? QStringLiteral("0") : QStringLiteral("%1 (%2 %)").arg(n).arg(100.0 * n / kFiles, 0, 'f', 2);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s WORDS.txt...\n", argv[0]);
        return 2;
    }
    if (!velt::cp932::available())
        qFatal("this Qt cannot convert code page 932");

    QList<Row> rows;
    QStringList everyWord;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        const QString set = QFileInfo(path).completeBaseName();
        int skipped = 0;
        const QStringList words = readWords(path, skipped);
        everyWord += words;
        std::printf("%s: %lld words (%d skipped: not in code page 932)\n", qUtf8Printable(set),
                    static_cast<long long>(words.size()), skipped);
        for (int entries : kEntryCounts) {
            survey(set, entries, [&](std::mt19937 &rng) {
                QStringList chosen;
                for (int k = 0; k < entries; ++k)
                    chosen << words.at(rng() % words.size());
                return chosen;
            }, rows);
        }
    }
    survey(QStringLiteral("half-width katakana"), 1, halfWidthKatakana, rows);

    // Words next to ASCII letters and digits (Tシャツ, 東京2020), and words
    // with a Latin letter or symbol that only UTF-8 can hold (カフェ café).
    const QString ascii = QStringLiteral("ABCXYZabcxyz0129");
    survey(QStringLiteral("with ASCII"), 1, [&](std::mt19937 &rng) {
        const QString word = everyWord.at(rng() % everyWord.size());
        const QChar letter = ascii.at(rng() % ascii.size());
        return QStringList{rng() % 2 ? word + letter : letter + word};
    }, rows);
    const QString latin = QStringLiteral("éüñçøåß©®™€¥");
    survey(QStringLiteral("with a Latin letter or symbol"), 1, [&](std::mt19937 &rng) {
        const QString word = everyWord.at(rng() % everyWord.size());
        return QStringList{word + (rng() % 2 ? QStringLiteral(" ") : QString()) + latin.at(rng() % latin.size())};
    }, rows, true);

    std::printf("\n| words | encoding | entries | files | read right | misread | refused |\n"
                "|---|---|--:|--:|--:|--:|--:|\n");
    for (const Row &row : rows) {
        std::printf("| %s | %s | %d | %d | %d | %s | %s |\n", qUtf8Printable(row.set), qUtf8Printable(row.encoding()),
                    row.entries, kFiles, row.count[Right], qUtf8Printable(share(row.count[Misread])),
                    qUtf8Printable(share(row.count[Refused])));
    }
    for (const Row &row : rows) {
        if (row.examples.isEmpty())
            continue;
        std::printf("\nMisread, %s in %s, %d per file:\n", qUtf8Printable(row.set), qUtf8Printable(row.encoding()),
                    row.entries);
        for (const QString &example : row.examples)
            std::printf("- %s\n", qUtf8Printable(example));
    }
    return 0;
}
