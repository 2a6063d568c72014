#include "installed_prefix.h"

#include <QMap>
#include <QMultiMap>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using velt::test::APP_ID;
using velt::test::Install;

namespace {

QString desktopEntryPath(const Install &install)
{
    return install.path(QStringLiteral("share/applications/%1.desktop").arg(APP_ID));
}

QString metainfoPath(const Install &install)
{
    return install.path(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(APP_ID));
}

// Keys of the [Desktop Entry] group, localized keys under their full name.
QMap<QString, QString> desktopEntryKeys(const QString &path)
{
    QMap<QString, QString> keys;
    bool inGroup = false;
    const QStringList lines = QString::fromUtf8(velt::test::readAll(path)).split(u'\n');
    for (const QString &line : lines) {
        if (line.startsWith(u'['))
            inGroup = line.trimmed() == QLatin1String("[Desktop Entry]");
        const qsizetype eq = line.indexOf(u'=');
        if (inGroup && eq > 0 && !line.startsWith(u'#'))
            keys.insert(line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
    return keys;
}

// Reads an Exec value back into its arguments the way a desktop menu does:
// first the string escapes of the value, then the command-line quoting.
QStringList execArguments(const QString &value)
{
    QString unescaped;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value[i] == u'\\' && i + 1 < value.size()) {
            const QChar c = value[++i];
            unescaped += c == u's' ? QChar(u' ') : c == u'n' ? QChar(u'\n') : c == u't' ? QChar(u'\t') : c;
        } else {
            unescaped += value[i];
        }
    }
    QStringList args;
    QString arg;
    bool quoted = false;
    bool inArg = false;
    for (qsizetype i = 0; i < unescaped.size(); ++i) {
        const QChar c = unescaped[i];
        if (quoted) {
            if (c == u'\\' && i + 1 < unescaped.size())
                arg += unescaped[++i];
            else if (c == u'"')
                quoted = false;
            else
                arg += c;
        } else if (c == u' ') {
            if (inArg)
                args << arg;
            arg.clear();
            inArg = false;
        } else {
            inArg = true;
            if (c == u'"')
                quoted = true;
            else
                arg += c;
        }
    }
    if (inArg)
        args << arg;
    for (QString &a : args)
        a.replace(QStringLiteral("%%"), QStringLiteral("%"));
    return args;
}

struct ToolRun
{
    int exitCode = -1;
    QString output;
};

// Both validators print nothing at all when a file is clean (appstreamcli in
// its YAML format), so any output is a note that a reader should see.
ToolRun runTool(const QString &program, const QStringList &args)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return {-1, program + QStringLiteral(" is not installed; scripts/deps.sh installs it")};
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(path, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, program + QStringLiteral(" did not finish: ") + process.errorString()};
    return {process.exitCode(), QString::fromUtf8(process.readAll())};
}

bool hasJapanese(const QString &text)
{
    static const QRegularExpression kanaOrKanji(QStringLiteral("[\\x{3040}-\\x{30FF}\\x{4E00}-\\x{9FFF}]"));
    return text.contains(kanaOrKanji);
}

// Element name -> text, for the elements whose xml:lang is `lang` (empty for
// the untranslated ones); descriptions collect their paragraphs.
QMultiMap<QString, QString> metainfoTexts(const QString &path, const QString &lang)
{
    QMultiMap<QString, QString> texts;
    QXmlStreamReader xml(velt::test::readAll(path));
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        if (name == QLatin1String("component") || name == QLatin1String("description")
            || name == QLatin1String("screenshots") || name == QLatin1String("screenshot")
            || name == QLatin1String("releases") || name == QLatin1String("provides"))
            continue;
        const QString elementLang = xml.attributes().value(QLatin1String("xml:lang")).toString();
        const QString version = xml.attributes().value(QLatin1String("version")).toString();
        const QString type = xml.attributes().value(QLatin1String("type")).toString();
        const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
        if (elementLang != lang)
            continue;
        if (name == QLatin1String("release"))
            texts.insert(name, version);
        else if (name == QLatin1String("content_rating"))
            texts.insert(name, type);
        else
            texts.insert(name, text.simplified());
    }
    return texts;
}

} // namespace

class DesktopMetadataTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_install = velt::test::installInto(m_dir.filePath(QStringLiteral("velt prefix")));
        QVERIFY2(m_install.error.isEmpty(), qPrintable(m_install.error));
    }

    void validatorAccepts_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("args");

        QTest::newRow("desktop entry") << QStringLiteral("desktop-file-validate")
                                       << QStringList{desktopEntryPath(m_install)};
        const QStringList appstream{QStringLiteral("--no-net"), QStringLiteral("--pedantic"),
                                    QStringLiteral("--format=yaml")};
        QTest::newRow("metainfo") << QStringLiteral("appstreamcli")
                                  << QStringList{QStringLiteral("validate")} + appstream
                                         + QStringList{metainfoPath(m_install)};
        // The whole tree: the metainfo's launchable must name the installed entry.
        QTest::newRow("install tree") << QStringLiteral("appstreamcli")
                                      << QStringList{QStringLiteral("validate-tree")} + appstream
                                             + QStringList{m_install.prefix};
    }

    void validatorAccepts()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, args);
        const ToolRun run = runTool(program, args);
        QCOMPARE(run.output, QString());
        QCOMPARE(run.exitCode, 0);
    }

    void desktopEntryKey_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");

        QTest::newRow("type") << QStringLiteral("Type") << QStringLiteral("Application");
        QTest::newRow("name") << QStringLiteral("Name") << QStringLiteral("VELT");
        QTest::newRow("icon") << QStringLiteral("Icon") << QStringLiteral("velt");
        QTest::newRow("categories") << QStringLiteral("Categories") << QStringLiteral("Game;Amusement;");
        QTest::newRow("terminal") << QStringLiteral("Terminal") << QStringLiteral("false");
        // Qt names the window's class after the program, not after the id.
        QTest::newRow("window class") << QStringLiteral("StartupWMClass") << QStringLiteral("velt");
    }

    void desktopEntryKey()
    {
        QFETCH(QString, key);
        QFETCH(QString, expected);
        QCOMPARE(desktopEntryKeys(desktopEntryPath(m_install)).value(key), expected);
    }

    // The entry is read by people whose menus speak Japanese first.
    void japaneseText_data()
    {
        QTest::addColumn<QString>("where");
        QTest::addColumn<QString>("key");

        QTest::newRow("entry name") << QStringLiteral("desktop") << QStringLiteral("Name[ja]");
        QTest::newRow("entry comment") << QStringLiteral("desktop") << QStringLiteral("Comment[ja]");
        QTest::newRow("metainfo name") << QStringLiteral("metainfo") << QStringLiteral("name");
        QTest::newRow("metainfo summary") << QStringLiteral("metainfo") << QStringLiteral("summary");
        QTest::newRow("metainfo description") << QStringLiteral("metainfo") << QStringLiteral("p");
        QTest::newRow("screenshot caption") << QStringLiteral("metainfo") << QStringLiteral("caption");
    }

    void japaneseText()
    {
        QFETCH(QString, where);
        QFETCH(QString, key);
        const QStringList texts = where == QLatin1String("desktop")
            ? QStringList{desktopEntryKeys(desktopEntryPath(m_install)).value(key)}
            : metainfoTexts(metainfoPath(m_install), QStringLiteral("ja")).values(key);
        QVERIFY2(!texts.isEmpty(), qPrintable(key + QStringLiteral(" is missing")));
        for (const QString &text : texts)
            QVERIFY2(hasJapanese(text), qPrintable(key + QStringLiteral(" has no Japanese: ") + text));
    }

    void metainfoValue_data()
    {
        QTest::addColumn<QString>("element");
        QTest::addColumn<QString>("pattern");

        QTest::newRow("release") << QStringLiteral("release")
                                 << QStringLiteral("^%1$").arg(QRegularExpression::escape(QStringLiteral(VELT_VERSION)));
        QTest::newRow("screenshot") << QStringLiteral("image") << QStringLiteral("^https://[^/]+/.+\\.png$");
        QTest::newRow("content rating") << QStringLiteral("content_rating") << QStringLiteral("^oars-1\\.1$");
        QTest::newRow("launchable") << QStringLiteral("launchable")
                                    << QStringLiteral("^%1\\.desktop$").arg(QRegularExpression::escape(APP_ID));
        QTest::newRow("id") << QStringLiteral("id") << QStringLiteral("^%1$").arg(QRegularExpression::escape(APP_ID));
        QTest::newRow("english name") << QStringLiteral("name") << QStringLiteral("^VELT$");
    }

    void metainfoValue()
    {
        QFETCH(QString, element);
        QFETCH(QString, pattern);
        const QStringList values = metainfoTexts(metainfoPath(m_install), QString()).values(element);
        QCOMPARE(values.size(), 1);
        QVERIFY2(QRegularExpression(pattern).match(values.first()).hasMatch(),
                 qPrintable(values.first() + QStringLiteral(" does not match ") + pattern));
    }

    // A menu starts the launcher by its absolute path, whatever characters
    // the prefix holds, so the entry must quote it so that it reads back intact.
    void execNamesInstalledLauncher_data()
    {
        QTest::addColumn<QString>("folder");

        QTest::newRow("plain") << QStringLiteral("plain");
        QTest::newRow("blank") << QStringLiteral("velt prefix");
        QTest::newRow("reserved characters") << QStringLiteral("a $b \"c\" `d` 50% e;f&g'h(i)");
    }

    void execNamesInstalledLauncher()
    {
        QFETCH(QString, folder);
        const Install install = velt::test::installInto(m_dir.filePath(QStringLiteral("exec/") + folder));
        QVERIFY2(install.error.isEmpty(), qPrintable(install.error));

        const QString exec = desktopEntryKeys(desktopEntryPath(install)).value(QStringLiteral("Exec"));
        QCOMPARE(execArguments(exec), QStringList{install.path(QStringLiteral("bin/velt-launcher"))});
        const ToolRun run = runTool(QStringLiteral("desktop-file-validate"), {desktopEntryPath(install)});
        QCOMPARE(run.output, QString());
        QCOMPARE(run.exitCode, 0);
    }

private:
    QTemporaryDir m_dir;
    Install m_install;
};

QTEST_GUILESS_MAIN(DesktopMetadataTest)
#include "desktop_metadata_test.moc"
