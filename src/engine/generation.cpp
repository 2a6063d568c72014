#include "engine/generation.h"

#include "engine/phrase_list.h"
#include "engine/sentence.h"
#include "runtime/runtime_error.h"

#include <cmath>

namespace velt {

int parseLineCount(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > 2147483647.0) {
        throw RuntimeError(err::kTypeMismatch,
                           QStringLiteral("表示する行数「%1」は数値ではありません。").arg(text));
    }
    // The run-time rounds halves to even when a text becomes a count.
    return static_cast<int>(std::nearbyint(value));
}

QString composeSentences(const PhraseBank &bank, int count, RandomSource &random)
{
    QString text;
    for (int i = 1; i <= count; ++i) {
        text += composeSentence(bank, pickSentence(bank, random));
        text += u'\n';
    }
    return text;
}

QString composeBatch(const QString &countText, RandomSource &random)
{
    const PhraseBank bank = loadPhraseBank();
    return composeSentences(bank, parseLineCount(countText), random);
}

QString composeRouletteStep(RandomSource &random)
{
    const PhraseBank bank = loadPhraseBank();
    return composeSentence(bank, pickSentence(bank, random));
}

} // namespace velt
