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

// Keeps the entries of one list back to back. The field is taken before
// the capacity check, as the run-time does, so a file fails on its 2001st
// field and is never read further.
class EntryCollector final : public FieldSink
{
public:
    EntryCollector(QString &text, QList<qsizetype> &ends)
        : m_text(text)
        , m_ends(ends)
    {
        m_ends.reserve(LIST_CAPACITY);
    }

    bool take(QStringView field) override
    {
        if (m_ends.size() == LIST_CAPACITY) {
            m_full = true;
            return false;
        }
        m_text.append(field);
        m_ends.append(m_text.size());
        return true;
    }

    bool overflowed() const { return m_full; }

private:
    QString &m_text;
    QList<qsizetype> &m_ends;
    bool m_full = false;
};

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
    EntryCollector entries(list.m_text, list.m_ends);
    readFieldsFromFile(fileName, entries);
    if (entries.overflowed())
        failFull(fileName);
    return list;
}

PhraseList load_phrase_list(QIODevice &device, const QString &fileName)
{
    PhraseList list;
    EntryCollector entries(list.m_text, list.m_ends);
    readFields(device, fileName, entries);
    if (entries.overflowed())
        failFull(fileName);
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
