#include "engine/generation.h"
#include "engine/sentence.h"
#include "runtime/random_source.h"
#include "runtime/runtime_error.h"
#include "support/list_dir.h"

#include <QSet>
#include <QTest>

using velt::PhraseBank;
using velt::RandomSource;
using velt::SentencePick;
using velt::test::ListDir;

namespace {

PhraseBank bankOf(const QStringList &when, const QStringList &who, const QStringList &withWhom,
                  const QStringList &where, const QStringList &what)
{
    ListDir dir;
    dir.writeLines("itu.dat", when);
    dir.writeLines("dare1.dat", who);
    dir.writeLines("dare2.dat", withWhom);
    dir.writeLines("doko.dat", where);
    dir.writeLines("nani.dat", what);
    return velt::loadPhraseBank();
}


} // namespace

class SentenceTest : public QObject
{
    Q_OBJECT

private slots:
    void pickIndexStaysInRange_data()
    {
        QTest::addColumn<int>("count");
        QTest::newRow("empty list always gives 1") << 0;
        QTest::newRow("one entry") << 1;
        QTest::newRow("two entries") << 2;
        QTest::newRow("odd size") << 7;
        QTest::newRow("full list") << velt::kListCapacity;
    }

    void pickIndexStaysInRange()
    {
        QFETCH(int, count);
        RandomSource random;
        QSet<int> seen;
        for (int i = 0; i < 200000; ++i) {
            const int index = velt::pickIndex(count, random);
            QVERIFY(index >= 1 && index <= std::max(count, 1));
            seen.insert(index);
        }
        // Every index turns up: the draw is uniform over 1..count.
        QCOMPARE(seen.size(), std::max(count, 1));
    }

    void pickIndexFollowsTheGenerator()
    {
        // r = 0.7055475, 0.533424, 0.5795186: 1 + floor(10 r) = 8, 6, 6.
        RandomSource random;
        QCOMPARE(velt::pickIndex(10, random), 8);
        QCOMPARE(velt::pickIndex(10, random), 6);
        QCOMPARE(velt::pickIndex(10, random), 6);
    }

    void twoPersonsAreAlwaysDifferent()
    {
        const PhraseBank bank = bankOf({"昨日"}, {"太郎", "花子"}, {"次郎", "三郎"}, {"公園"}, {"踊った"});
        RandomSource random;
        QSet<QString> sentences;
        for (int i = 0; i < 500; ++i) {
            const SentencePick pick = velt::pickSentence(bank, random);
            QVERIFY(pick.who != pick.with);
            QVERIFY((pick.who == 1 && pick.with == 2) || (pick.who == 2 && pick.with == 1));
            sentences.insert(velt::composeSentence(bank, pick));
        }
        // "with" is drawn over dare1.dat but looked up in dare2.dat.
        QCOMPARE(sentences, (QSet<QString>{"昨日、太郎と三郎が公園で踊った", "昨日、花子と次郎が公園で踊った"}));
    }

    void withWhomListOfAnotherLength_data()
    {
        QTest::addColumn<QStringList>("withWhom");
        QTest::addColumn<QSet<QString>>("middles");
        QTest::newRow("shorter: beyond its count is empty")
            << QStringList{"X"} << QSet<QString>{"BとXが", "CとXが", "Aとが", "Bとが", "Cとが"};
        QTest::newRow("longer: its extra entries never appear")
            << QStringList{"X", "Y", "Z", "never1", "never2"}
            << QSet<QString>{"AとYが", "AとZが", "BとXが", "BとZが", "CとXが", "CとYが"};
    }

    void withWhomListOfAnotherLength()
    {
        QFETCH(QStringList, withWhom);
        QFETCH(QSet<QString>, middles);
        const PhraseBank bank = bankOf({"t"}, {"A", "B", "C"}, withWhom, {"p"}, {"v"});
        RandomSource random;
        QSet<QString> seen;
        for (int i = 0; i < 2000; ++i) {
            const QString sentence = velt::composeSentence(bank, velt::pickSentence(bank, random));
            seen.insert(sentence.mid(2, sentence.indexOf(u'が') - 1));
        }
        QCOMPARE(seen, middles);
    }

    void emptyListsLeaveTheParticles()
    {
        const PhraseBank bank = bankOf({}, {"太郎", "花子"}, {"次郎", "三郎"}, {}, {});
        RandomSource random;
        const QString sentence = velt::composeSentence(bank, velt::pickSentence(bank, random));
        QVERIFY2(sentence.startsWith("、") && sentence.endsWith("がで"), qPrintable(sentence));
    }

    void entriesAreInsertedVerbatim()
    {
        const PhraseBank bank = bankOf({"\"  朝 \""}, {"a&b", "<b>x</b>"}, {"c", "d"}, {"007"}, {"!?"});
        const SentencePick pick{1, 2, 1, 1, 1};
        QCOMPARE(velt::composeSentence(bank, pick), QStringLiteral("  朝 、<b>x</b>とcが007で!?"));
    }

    void tooFewPersonsIsAnErrorNotAHang_data()
    {
        QTest::addColumn<QStringList>("who");
        QTest::newRow("empty who list") << QStringList{};
        QTest::newRow("one person") << QStringList{"太郎"};
    }

    void tooFewPersonsIsAnErrorNotAHang()
    {
        QFETCH(QStringList, who);
        const PhraseBank bank = bankOf({"a"}, who, {"b", "c"}, {"d"}, {"e"});
        RandomSource random;
        try {
            velt::pickSentence(bank, random);
            QFAIL("no error raised");
        } catch (const velt::RuntimeError &error) {
            QCOMPARE(error.number(), velt::err::kInvalidCall);
            QVERIFY(error.message().contains("dare1.dat"));
            QVERIFY(error.message().contains("2"));
        }
    }

    void freshGeneratorsGiveTheSameSentences()
    {
        ListDir dir;
        dir.writeDefaultLists();
        const PhraseBank bank = velt::loadPhraseBank();
        RandomSource first;
        RandomSource second;
        QStringList a;
        QStringList b;
        for (int i = 0; i < 50; ++i) {
            a << velt::composeSentence(bank, velt::pickSentence(bank, first));
            b << velt::composeSentence(bank, velt::pickSentence(bank, second));
        }
        QCOMPARE(a, b);
        QVERIFY(QSet<QString>(a.begin(), a.end()).size() > 1);
    }

    // The count box's text becomes a count the run-time's way: halves
    // round to the even neighbour, blanks around it are ignored.
    void lineCountRoundsHalvesToEven_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("count");
        QTest::newRow("2.5") << "2.5" << 2;
        QTest::newRow("3.5") << "3.5" << 4;
        QTest::newRow("-0.5") << "-0.5" << 0;
        QTest::newRow("blanks around") << " 20 " << 20;
    }

    void lineCountRoundsHalvesToEven()
    {
        QFETCH(QString, text);
        QFETCH(int, count);
        QCOMPARE(velt::parseLineCount(text), count);
    }

    void drawOrderIsWhenWhoWithWhereWhat()
    {
        // With 10 entries in every list the first values of a fresh
        // generator, 0.7055475 0.533424 0.5795186 0.2895625 0.301948
        // 0.7747401, give when 8, who 6, with 6 (the same person, so drawn
        // again) then 3, where 4, what 8.
        QStringList ten;
        for (int i = 1; i <= 10; ++i)
            ten << QString::number(i);
        const PhraseBank bank = bankOf(ten, ten, ten, ten, ten);
        RandomSource random;
        const SentencePick expected{8, 6, 3, 4, 8};
        QVERIFY(velt::pickSentence(bank, random) == expected);
    }
};

QTEST_GUILESS_MAIN(SentenceTest)
#include "sentence_test.moc"
