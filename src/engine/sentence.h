#pragma once

#include "engine/phrase_list.h"

#include <QString>

namespace velt {

class RandomSource;

// The five indices of one sentence, each 1 to kListCapacity. `with` is drawn
// over the who list's count and looked up in the with-whom list.
struct SentencePick
{
    int when = 1;
    int who = 1;
    int with = 1;
    int where = 1;
    int what = 1;

    friend bool operator==(const SentencePick &, const SentencePick &) = default;
};

// 1 + floor(count × r) for a fresh r, product and floor in single precision.
int pickIndex(int count, RandomSource &random);

// Draws when, who, with (again until it differs from who), where, what.
// Raises error 5 when "dare1.dat" holds fewer than two entries, since no
// pair of different persons could ever be drawn.
SentencePick pickSentence(const PhraseBank &bank, RandomSource &random);

// when + "、" + who + "と" + with-whom + "が" + where + "で" + what.
QString composeSentence(const PhraseBank &bank, const SentencePick &pick);

} // namespace velt
