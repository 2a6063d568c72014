// Every seed of the fuzzer's corpus through the list reader and the plain
// reader, on every test run and with the everyday compiler.

#include "plain_reader.h"

#include <QDir>
#include <QTest>

class CorpusReplayTest : public QObject
{
    Q_OBJECT

private slots:
    void sameAsThePlainReader_data()
    {
        QTest::addColumn<QString>("path");
        const QDir corpus(QStringLiteral(VELT_SOURCE_DIR "/fuzz/corpus"));
        const QStringList seeds = corpus.entryList(QDir::Files);
        QVERIFY(seeds.size() >= 30);
        for (const QString &seed : seeds)
            QTest::newRow(qPrintable(seed)) << corpus.filePath(seed);
    }

    void sameAsThePlainReader()
    {
        QFETCH(QString, path);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString difference = velt::fuzz::differenceFromPlainReader(file.readAll());
        QVERIFY2(difference.isEmpty(), qPrintable(difference));
    }
};

QTEST_GUILESS_MAIN(CorpusReplayTest)
#include "corpus_replay_test.moc"
