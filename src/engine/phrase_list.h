#pragma once

// The phrase engine. Five list files in the working folder are read into a
// PhraseBank at the start of every generating tick (nothing is cached, so an
// edit shows on the next tick); pickSentence chooses one entry per slot with
// the process's RandomSource, and composeSentence joins them with the four
// particles. Failures are RuntimeErrors naming the file; nothing here shows UI.

#include "text/field_reader.h"

#include <QString>
#include <QStringView>

class QIODevice;

namespace velt {

inline constexpr int kListCapacity = 2000;

// One loaded list: entries 1 to count in file order, unchanged text. The
// slots above count up to kListCapacity read as empty text.
class PhraseList
{
public:
    PhraseList();

    int count() const { return static_cast<int>(m_entries.count()); }

    // Entry 1 to kListCapacity; any other index raises error 9. The view is
    // valid as long as the list is.
    QStringView entry(int index) const;

private:
    friend PhraseList loadPhraseList(const QString &fileName);
    friend PhraseList loadPhraseList(QIODevice &device, const QString &fileName);

    FieldList m_entries;
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
inline constexpr const char16_t *kListFiles[] = {u"itu.dat", u"dare1.dat", u"dare2.dat", u"doko.dat", u"nani.dat"};

// Reads one list file from the working folder in a single pass.
PhraseList loadPhraseList(const QString &fileName);

// Reads a list from an open device exactly as from a file; `fileName` only
// names the list in errors. Lets the fuzzer feed bytes from memory.
PhraseList loadPhraseList(QIODevice &device, const QString &fileName);

// Reads all five files, each completely before the next is opened.
PhraseBank loadPhraseBank();

} // namespace velt
