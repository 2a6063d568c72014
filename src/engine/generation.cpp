#include "engine/generation.h"

#include "engine/phrase_list.h"
#include "engine/sentence.h"
#include "runtime/runtime_error.h"

#include <cmath>

namespace velt {

int parse_line_count(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value) || std::fabs(value) > 2147483647.0) {
        throw RuntimeError(err::TypeMismatch,
                           QStringLiteral("表示する行数「%1」は数値ではありません。").arg(text));
    }
    // The run-time rounds halves to even when a text becomes a count.
    return static_cast<int>(std::nearbyint(value));
}

QString compose_batch(const QString &countText, RandomSource &random)
{
    const PhraseBank bank = load_phrase_bank();
    const int count = parse_line_count(countText);
    QString text;
    for (int i = 1; i <= count; ++i) {
        text += compose_sentence(bank, pick_sentence(bank, random));
        text += u'\n';
    }
    return text;
}

QString compose_roulette_step(RandomSource &random)
{
    const PhraseBank bank = load_phrase_bank();
    return compose_sentence(bank, pick_sentence(bank, random));
}

} // namespace velt
