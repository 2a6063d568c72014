#include "engine/phrase_list.h"

#include "platform/runtime_error.h"
#include "platform/sequential_input.h"

namespace velt {

namespace {

[[noreturn]] void failFull(const QString &fileName)
{
    throw RuntimeError(err::SubscriptOutOfRange,
                       QStringLiteral("「%1」の項目が多すぎます。1 つのリストには %2 項目までしか入りません"
                                      "（%3 番目の項目で止まりました）。")
                           .arg(fileName)
                           .arg(LIST_CAPACITY)
                           .arg(LIST_CAPACITY + 1));
}

// The field is read before the capacity check, as the run-time does, so a
// file fails on its 2001st field and never reads further.
void readEntries(SequentialInput &input, const QString &fileName, QString &text, QList<qsizetype> &ends)
{
    ends.reserve(LIST_CAPACITY + 1);
    input.readFieldsInto(text, ends, LIST_CAPACITY + 1);
    if (ends.size() > LIST_CAPACITY)
        failFull(fileName);
}

} // namespace

QStringView PhraseList::entry(int index) const
{
    if (index < 1 || index > LIST_CAPACITY)
        throw RuntimeError(err::SubscriptOutOfRange, {});
    if (index > count())
        return {};
    const qsizetype begin = index == 1 ? 0 : m_ends.at(index - 2);
    return QStringView(m_text).sliced(begin, m_ends.at(index - 1) - begin);
}

PhraseList load_phrase_list(const QString &fileName)
{
    PhraseList list;
    SequentialInputFile file(fileName);
    readEntries(file.input(), fileName, list.m_text, list.m_ends);
    return list;
}

PhraseList load_phrase_list(QIODevice &device, const QString &fileName)
{
    PhraseList list;
    SequentialInput input(device, fileName);
    readEntries(input, fileName, list.m_text, list.m_ends);
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
