#pragma once

// The phrase engine. Five list files in the working folder are read into a
// PhraseBank at the start of every generating tick (nothing is cached, so an
// edit shows on the next tick); pick_sentence chooses one entry per slot with
// the process's RandomSource, and compose_sentence joins them with the four
// particles. Failures are RuntimeErrors naming the file; nothing here shows UI.

#include <QList>
#include <QString>

namespace velt {

inline constexpr int LIST_CAPACITY = 2000;

// One loaded list: entries 1 to count in file order, unchanged text. The
// slots above count up to LIST_CAPACITY read as empty text.
class PhraseList
{
public:
    int count() const { return static_cast<int>(m_entries.size()); }

    // Entry 1 to LIST_CAPACITY; any other index raises error 9.
    const QString &entry(int index) const;

    // Adds the next field as entry count() + 1; raises error 9 when the list
    // is full, naming the file.
    void append(QString text, const QString &fileName);

private:
    QList<QString> m_entries;
};

// The five lists of one tick, by slot.
struct PhraseBank
{
    PhraseList when;      // "itu.dat"
    PhraseList who;       // "dare1.dat"
    PhraseList withWhom;  // "dare2.dat"
    PhraseList where;     // "doko.dat"
    PhraseList what;      // "nani.dat"
};

// The five file names, in the order they are loaded and stand in a sentence.
inline constexpr const char16_t *LIST_FILES[] = {u"itu.dat", u"dare1.dat", u"dare2.dat", u"doko.dat", u"nani.dat"};

// Reads one list file from the working folder in a single pass.
PhraseList load_phrase_list(const QString &fileName);

// Reads all five files, each completely before the next is opened.
PhraseBank load_phrase_bank();

} // namespace velt
