// Feeds arbitrary bytes to the list reader the way a tick reads a list file,
// and aborts when the result differs from the plain reader's (the same
// entries, or the same error), or when the loaded list breaks what the rest
// of the program relies on: the slot count, entries that fit a sentence and
// can be written, and
// RuntimeError as the only way a bad file is reported.

#include "plain_reader.h"

#include "engine/phrase_list.h"
#include "runtime/runtime_error.h"
#include "text/field_reader.h"

#include <QBuffer>
#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

[[noreturn]] void violated(const char *what, int index)
{
    std::fprintf(stderr, "invariant violated: %s (entry %d)\n", what, index);
    std::abort();
}

void check(const velt::PhraseList &list)
{
    const int count = list.count();
    if (count < 0 || count > velt::kListCapacity)
        violated("entry count out of range", count);
    for (int i = 1; i <= count; ++i) {
        const QStringView entry = list.entry(i);
        if (entry.toUcs4().size() > velt::kMaxFieldLength)
            violated("entry longer than kMaxFieldLength characters", i);
        if (!entry.isValidUtf16())
            violated("entry holds an unpaired surrogate", i);
        if (entry.contains(u'\r') || entry.contains(u'\n'))
            violated("entry holds a line break", i);
    }
    // Slots past the count must read as empty, or a sentence would pick up
    // text the file no longer has.
    if (count < velt::kListCapacity
        && (!list.entry(count + 1).isEmpty() || !list.entry(velt::kListCapacity).isEmpty()))
        violated("slot past the count is not empty", count + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // fromRawData: the buffer reads the fuzzer's bytes without a copy, so
    // ASan sees any read past the end of the input.
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char *>(data),
                                                     static_cast<qsizetype>(size));
    QBuffer device;
    device.setData(bytes);
    if (!device.open(QIODevice::ReadOnly))
        std::abort();
    const QString difference = velt::fuzz::differenceFromPlainReader(bytes);
    if (!difference.isEmpty()) {
        std::fprintf(stderr, "the reader and the plain reader differ:\n%s\n", qPrintable(difference));
        std::abort();
    }
    try {
        check(velt::loadPhraseList(device, QStringLiteral("itu.dat")));
    } catch (const velt::RuntimeError &error) {
        if (error.message().isEmpty())
            violated("error without a message", error.number());
    }
    return 0;
}
