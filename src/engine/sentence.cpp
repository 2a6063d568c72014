#include "engine/sentence.h"

#include "runtime/random_source.h"
#include "runtime/runtime_error.h"

#include <cmath>

namespace velt {

int pickIndex(int count, RandomSource &random)
{
    const float product = static_cast<float>(count) * random.next();
    return 1 + static_cast<int>(std::floor(product));
}

SentencePick pickSentence(const PhraseBank &bank, RandomSource &random)
{
    const int persons = bank.who.count();
    if (persons < 2) {
        throw RuntimeError(err::kInvalidCall,
                           QStringLiteral("「dare1.dat」には少なくとも 2 項目が必要です（いまは %1 項目）。"
                                          "「〇〇と〇〇が」の 2 人を別々に選べません。")
                               .arg(persons));
    }
    SentencePick pick;
    pick.when = pickIndex(bank.when.count(), random);
    pick.who = pickIndex(persons, random);
    do {
        pick.with = pickIndex(persons, random);
    } while (pick.with == pick.who);
    pick.where = pickIndex(bank.where.count(), random);
    pick.what = pickIndex(bank.what.count(), random);
    return pick;
}

QString composeSentence(const PhraseBank &bank, const SentencePick &pick)
{
    const QStringView when = bank.when.entry(pick.when);
    const QStringView who = bank.who.entry(pick.who);
    const QStringView with = bank.withWhom.entry(pick.with);
    const QStringView where = bank.where.entry(pick.where);
    const QStringView what = bank.what.entry(pick.what);

    QString sentence;
    sentence.reserve(when.size() + who.size() + with.size() + where.size() + what.size() + 4);
    sentence += when;
    sentence += u'、';
    sentence += who;
    sentence += u'と';
    sentence += with;
    sentence += u'が';
    sentence += where;
    sentence += u'で';
    sentence += what;
    return sentence;
}

} // namespace velt
