#include "engine/phrase_list.h"

#include "runtime/runtime_error.h"
#include "text/field_reader.h"

#include <algorithm>

namespace velt {

namespace {

[[noreturn]] void failFull(const QString &fileName)
{
    throw RuntimeError(err::kSubscriptOutOfRange,
                       QStringLiteral("「%1」の項目が多すぎます。1 つのリストには %2 項目までしか入りません"
                                      "（%3 番目の項目で止まりました）。")
                           .arg(fileName)
                           .arg(kListCapacity)
                           .arg(kListCapacity + 1));
}

} // namespace

PhraseList::PhraseList()
    : m_entries(kListCapacity)
{
}

QStringView PhraseList::entry(int index) const
{
    if (index < 1 || index > kListCapacity)
        throw RuntimeError(err::kSubscriptOutOfRange, {});
    if (index > count())
        return {};
    return m_entries.at(index - 1);
}

// The field is read before the capacity check, as the run-time does, so a
// file fails on its 2001st field and is never read further.
PhraseList loadPhraseList(const QString &fileName)
{
    PhraseList list;
    readFieldsFromFile(fileName, list.m_entries);
    if (list.m_entries.overflowed())
        failFull(fileName);
    list.m_entries.squeeze();
    return list;
}

PhraseList loadPhraseList(QIODevice &device, const QString &fileName)
{
    PhraseList list;
    readFields(device, fileName, list.m_entries);
    if (list.m_entries.overflowed())
        failFull(fileName);
    list.m_entries.squeeze();
    return list;
}

PhraseBank loadPhraseBank()
{
    PhraseBank bank;
    PhraseList *const lists[] = {&bank.when, &bank.who, &bank.withWhom, &bank.where, &bank.what};
    for (int i = 0; i < 5; ++i)
        *lists[i] = loadPhraseList(QString::fromUtf16(kListFiles[i]));
    return bank;
}

} // namespace velt
