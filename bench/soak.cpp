// Spins the roulette offscreen for a long time while another thread keeps
// saving one of its list files, the way a user editing a list while the
// roulette runs would, and checks that nothing accumulates and that every
// step shows either a whole sentence or one message.
//
//   velt_soak [seconds]      (default 600)
//
// Exits non-zero when a step was neither a whole sentence nor one message
// naming the file, or when resident memory grew by 1 MB or more.

#include "bench_lists.h"

#include "engine/phrase_list.h"
#include "text/cp932.h"
#include "text/text_encoding.h"
#include "ui/message_reporter.h"
#include "runtime/random_source.h"
#include "runtime/runtime_timer.h"
#include "ui/main_window.h"
#include "ui/object_names.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QRegularExpression>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>

namespace names = velt::names;


namespace {

using namespace std::chrono_literals;

// The list the second thread keeps saving: its entries hold none of the
// sentence's particles, so a sentence still splits cleanly when the saving
// has cut an entry short.
const QString kEditedList = QStringLiteral("doko.dat");
const QString kEditedStem = QStringLiteral("駅前の屋台その");

// Counts messages by error number instead of showing them. Keeps no texts:
// a store of every message would itself grow over a long soak.
class SoakReporter : public velt::MessageReporter
{
public:
    void report(const QString &text, QWidget *) override
    {
        ++total;
        static const QRegularExpression number(QStringLiteral("^実行時エラー '(\\d+)':"));
        const QRegularExpressionMatch match = number.match(text);
        const int n = match.hasMatch() ? match.captured(1).toInt() : -1;
        if (!byNumber.contains(n))
            firstText.insert(n, text);
        ++byNumber[n];
        if (!text.contains(QStringLiteral("「%1」").arg(kEditedList)))
            ++unnamed;
    }

    qint64 total = 0;
    qint64 unnamed = 0; // messages that do not name the edited file
    QMap<int, qint64> byNumber;
    QMap<int, QString> firstText;
};

long residentKiB()
{
    // Read whole: /proc files report a size of 0, so atEnd() is true at once.
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return -1;
}

// A whole sentence from the five lists as they stood has the four untouched
// slots exactly as written and in the edited slot one of its entries, or a
// prefix of one (a save cut half-way leaves that), or nothing (an emptied
// file leaves the slot blank). Anything else is a torn or mixed step.
enum class Sentence { Not, Whole, CutShort };

Sentence classify(const QString &text)
{
    static const QRegularExpression shape(QStringLiteral(
        "^昨日の夕方その\\d{1,4}、隣の山田さんその\\d{1,4}と校長先生その\\d{1,4}が"
        "([^、とがで]*)で宇宙人と握手したその\\d{1,4}$"));
    static const QRegularExpression fullEntry(QStringLiteral("^駅前の屋台その\\d{1,4}$"));
    const QRegularExpressionMatch match = shape.match(text);
    if (!match.hasMatch())
        return Sentence::Not;
    const QString where = match.captured(1);
    if (fullEntry.match(where).hasMatch())
        return Sentence::Whole;
    return kEditedStem.startsWith(where) ? Sentence::CutShort : Sentence::Not;
}

QByteArray listBytes(bool reversed)
{
    QString text;
    for (int i = 1; i <= velt::kListCapacity; ++i)
        text += kEditedStem + QString::number(reversed ? velt::kListCapacity + 1 - i : i) + QStringLiteral("\r\n");
    return *velt::cp932::encode(text);
}

// Offsets just past the first byte of a two-byte character: a file cut
// there ends in half a character and cannot be decoded.
QList<qsizetype> midCharacterCuts(const QByteArray &bytes)
{
    QList<qsizetype> cuts;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = velt::characterLength(static_cast<unsigned char>(bytes[i]), velt::TextEncoding::Cp932);
        if (length == 2)
            cuts << i + 1;
        i += length;
    }
    return cuts;
}

struct EditorCounts
{
    std::atomic<qint64> whole{0};
    std::atomic<qint64> cutAnywhere{0};
    std::atomic<qint64> cutMidCharacter{0};
    std::atomic<qint64> failed{0};
};

// Saves the list in place, as many editors do: the file is emptied first and
// then written, so a reader can catch any prefix of it.
bool save(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes.data(), bytes.size()) == bytes.size();
}

void editLoop(const QString &path, const std::atomic<bool> &stop, EditorCounts &counts)
{
    const QByteArray versions[] = {listBytes(false), listBytes(true)};
    const QList<qsizetype> cuts = midCharacterCuts(versions[0]);
    std::mt19937 rng(2026); // a fixed seed: two runs make the same saves
    std::uniform_int_distribution<int> percent(0, 99);
    std::uniform_int_distribution<int> pause(0, 20);
    while (!stop.load()) {
        const QByteArray &bytes = versions[rng() % 2];
        const int kind = percent(rng);
        bool ok = true;
        if (kind < 70) {
            ok = save(path, bytes);
            ++counts.whole;
        } else {
            // Left half-way for a few ticks, then saved whole again.
            const qsizetype cut = kind < 85 ? static_cast<qsizetype>(rng() % bytes.size())
                                            : cuts.at(static_cast<qsizetype>(rng() % cuts.size()));
            ok = save(path, QByteArrayView(bytes).first(cut));
            ++(kind < 85 ? counts.cutAnywhere : counts.cutMidCharacter);
            std::this_thread::sleep_for(std::chrono::milliseconds(20 + pause(rng)));
            ok = save(path, bytes) && ok;
            ++counts.whole;
        }
        if (!ok)
            ++counts.failed;
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(rng)));
    }
    save(path, versions[0]);
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    bool ok = true;
    const int seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt(&ok) : 600;
    if (!ok || seconds <= 0) {
        std::fprintf(stderr, "usage: velt_soak [seconds]\n");
        return 2;
    }
    if (!velt::cp932::available()) {
        std::fprintf(stderr, "this Qt cannot convert code page 932 (built without ICU)\n");
        return 2;
    }

    velt::bench::FullLists lists;
    SoakReporter reporter;
    velt::RandomSource random;
    velt::MainWindow window(&reporter, &random);
    window.show();
    window.findChild<QAction *>(QLatin1StringView(names::kRouletteModeAction))->trigger();
    auto *timer3 = window.findChild<velt::RuntimeTimer *>(QLatin1StringView(names::kRouletteTimer));
    auto *spin = window.findChild<QPushButton *>(QLatin1StringView(names::kSpinButton));
    auto *label2 = window.findChild<QLabel *>(QLatin1StringView(names::kRouletteLabel));

    // Connected after the window's own handler, so it sees each step's result.
    qint64 steps = 0;
    qint64 sentences = 0;
    qint64 cutShort = 0; // sentences whose edited entry a half-way save had cut
    qint64 badSteps = 0;
    qint64 seenMessages = 0;
    QString shown = label2->text();
    QString firstBad;
    QObject::connect(timer3, &velt::RuntimeTimer::tick, &window, [&] {
        ++steps;
        const qint64 newMessages = reporter.total - seenMessages;
        seenMessages = reporter.total;
        const QString now = label2->text();
        const bool changed = now != shown;
        shown = now;
        const Sentence kind = classify(now);
        if (newMessages == 0 && changed && kind != Sentence::Not) {
            ++sentences;
            if (kind == Sentence::CutShort)
                ++cutShort;
        } else if (!(newMessages == 1 && !changed)) {
            if (badSteps++ == 0)
                firstBad = QStringLiteral("%1 messages, label now \"%2\"").arg(newMessages).arg(now);
        }
    });

    std::atomic<bool> stop{false};
    EditorCounts edits;
    std::thread editor(editLoop, QDir::current().filePath(kEditedList), std::cref(stop), std::ref(edits));

    qint64 restarts = 0;
    auto runFor = [&](qint64 milliseconds) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < milliseconds) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            // An error stops the roulette by design; the user would click again.
            if (timer3->interval() == 0) {
                spin->click();
                ++restarts;
            }
        }
    };

    // Warm up first, so the start figure includes the caches every step uses.
    spin->click();
    runFor(10'000);
    const long rssStart = residentKiB();
    const qint64 stepsBefore = steps;
    QElapsedTimer clock;
    clock.start();
    runFor(qint64(seconds) * 1000);
    const double elapsed = clock.elapsed() / 1000.0;
    const long rssEnd = residentKiB();
    timer3->setInterval(0);

    stop = true;
    editor.join();

    const long growth = rssEnd - rssStart;
    std::printf("duration            %.1f s (after 10 s warm-up)\n", elapsed);
    std::printf("steps               %.1f per second after warm-up; counts below include warm-up\n",
                (steps - stepsBefore) / elapsed);
    std::printf("steps               %lld\n", static_cast<long long>(steps));
    std::printf("whole sentences     %lld (%lld with the edited entry cut short or empty)\n",
                static_cast<long long>(sentences), static_cast<long long>(cutShort));
    std::printf("messages            %lld (restarts %lld)\n", static_cast<long long>(reporter.total),
                static_cast<long long>(restarts));
    for (auto it = reporter.byNumber.cbegin(); it != reporter.byNumber.cend(); ++it) {
        std::printf("  error %-4d        %lld, first: %s\n", it.key(), static_cast<long long>(it.value()),
                    qPrintable(reporter.firstText.value(it.key()).simplified()));
    }
    std::printf("messages not naming %s: %lld\n", qPrintable(kEditedList), static_cast<long long>(reporter.unnamed));
    std::printf("bad steps           %lld%s%s\n", static_cast<long long>(badSteps),
                badSteps ? ", first: " : "", qPrintable(firstBad));
    std::printf("saves               %lld whole, %lld cut anywhere, %lld cut mid-character, %lld failed\n",
                static_cast<long long>(edits.whole.load()), static_cast<long long>(edits.cutAnywhere.load()),
                static_cast<long long>(edits.cutMidCharacter.load()), static_cast<long long>(edits.failed.load()));
    std::printf("resident memory     %ld KiB at start, %ld KiB at end (%+ld KiB)\n", rssStart, rssEnd, growth);

    const bool passed = badSteps == 0 && reporter.unnamed == 0 && rssStart > 0 && rssEnd > 0 && growth < 1024;
    std::printf("%s\n", passed ? "PASS" : "FAIL");
    return passed ? 0 : 1;
}
