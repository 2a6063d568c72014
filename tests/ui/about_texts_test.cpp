#include "ui/about_texts.h"

#include <QTest>

namespace texts = velt::about_texts;

class AboutTextsTest : public QObject
{
    Q_OBJECT

private slots:
    void versionLabel_data()
    {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("label");
        QTest::newRow("this release") << 0 << 2 << 501 << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 0.2.501");
        QTest::newRow("no leading zeros") << 1 << 0 << 7 << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.0.7");
        QTest::newRow("no digit grouping") << 10 << 20 << 12345 << QStringLiteral("ﾊﾞｰｼﾞｮﾝ 10.20.12345");
    }

    void versionLabel()
    {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, label);
        QCOMPARE(texts::versionLabel(major, minor, revision), label);
    }

    void versionLabelIgnoresTheLocale()
    {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German));
        const QString label = texts::versionLabel(1, 2, 1234);
        QLocale::setDefault(saved);
        QCOMPARE(label, QStringLiteral("ﾊﾞｰｼﾞｮﾝ 1.2.1234"));
    }

    void captionFollowsTheTitleWithoutASpace()
    {
        QCOMPARE(texts::caption(u"VELT for Windows"), QStringLiteral("VELT for Windowsのﾊﾞｰｼﾞｮﾝ情報"));
    }
};

QTEST_GUILESS_MAIN(AboutTextsTest)
#include "about_texts_test.moc"
