#include "engine/phrase_list.h"

#include "platform/runtime_error.h"
#include "platform/sequential_input.h"

namespace velt {

const QString &PhraseList::entry(int index) const
{
    static const QString empty;
    if (index < 1 || index > LIST_CAPACITY)
        throw RuntimeError(err::SubscriptOutOfRange, {});
    return index <= count() ? m_entries.at(index - 1) : empty;
}

void PhraseList::append(QString text, const QString &fileName)
{
    if (count() >= LIST_CAPACITY) {
        throw RuntimeError(err::SubscriptOutOfRange,
                           QStringLiteral("「%1」の項目が多すぎます。1 つのリストには %2 項目までしか入りません"
                                          "（%3 番目の項目で止まりました）。")
                               .arg(fileName)
                               .arg(LIST_CAPACITY)
                               .arg(LIST_CAPACITY + 1));
    }
    m_entries.append(std::move(text));
}

PhraseList load_phrase_list(const QString &fileName)
{
    PhraseList list;
    SequentialInputFile file(fileName);
    // The field is read before the capacity check, as the run-time does, so
    // a file fails on its 2001st field and never reads further.
    while (!file.atEnd())
        list.append(file.readField(), fileName);
    return list;
}

PhraseBank load_phrase_bank()
{
    PhraseBank bank;
    PhraseList *const lists[] = {&bank.when, &bank.who, &bank.withWhom, &bank.where, &bank.what};
    for (int i = 0; i < 5; ++i)
        *lists[i] = load_phrase_list(QString::fromUtf16(LIST_FILES[i]));
    return bank;
}

} // namespace velt
