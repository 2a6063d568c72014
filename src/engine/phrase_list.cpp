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

// Keeps the entries of one list back to back, written straight into the
// list's buffer (grown by doubling, cut to size at the end). The field is
// taken before the capacity check, as the run-time does, so a file fails on
// its 2001st field and is never read further.
class EntryCollector final : public FieldSink
{
public:
    EntryCollector(QString &text, QList<qsizetype> &ends)
        : m_text(text)
        , m_ends(ends)
    {
        m_ends.resize(kListCapacity);
        m_end = m_ends.data();
    }

    bool take(QStringView field) override
    {
        if (m_count == kListCapacity) {
            m_full = true;
            return false;
        }
        if (m_used + field.size() > m_capacity) {
            m_text.resize(std::max({m_used + field.size(), 2 * m_capacity, qsizetype(16 * 1024)}));
            m_capacity = m_text.size();
            m_out = m_text.data();
        }
        std::copy(field.begin(), field.end(), m_out + m_used);
        m_used += field.size();
        m_end[m_count++] = m_used;
        return true;
    }

    bool overflowed() const { return m_full; }

    // Cuts the buffers to the entries they hold.
    void finish()
    {
        m_text.truncate(m_used);
        m_ends.resize(m_count);
    }

private:
    QString &m_text;
    QList<qsizetype> &m_ends;
    QChar *m_out = nullptr;      // m_text's characters, m_capacity of them
    qsizetype *m_end = nullptr;  // m_ends' slots
    qsizetype m_capacity = 0;
    qsizetype m_used = 0;
    qsizetype m_count = 0;
    bool m_full = false;
};

} // namespace

QStringView PhraseList::entry(int index) const
{
    if (index < 1 || index > kListCapacity)
        throw RuntimeError(err::kSubscriptOutOfRange, {});
    if (index > count())
        return {};
    const qsizetype begin = index == 1 ? 0 : m_ends.at(index - 2);
    return QStringView(m_text).sliced(begin, m_ends.at(index - 1) - begin);
}

PhraseList loadPhraseList(const QString &fileName)
{
    PhraseList list;
    EntryCollector entries(list.m_text, list.m_ends);
    readFieldsFromFile(fileName, entries);
    if (entries.overflowed())
        failFull(fileName);
    entries.finish();
    return list;
}

PhraseList loadPhraseList(QIODevice &device, const QString &fileName)
{
    PhraseList list;
    EntryCollector entries(list.m_text, list.m_ends);
    readFields(device, fileName, entries);
    if (entries.overflowed())
        failFull(fileName);
    entries.finish();
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
