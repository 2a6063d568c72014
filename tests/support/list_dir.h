#pragma once

// A temporary working folder for tests that read list files by bare name:
// it becomes the current folder for its lifetime and writes fixtures in
// code page 932 (or raw bytes) with CR LF line ends.

#include "support/text_bytes.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

namespace velt::test {

class ListDir
{
public:
    ListDir()
        : m_previous(QDir::currentPath())
    {
        QVERIFY(m_dir.isValid());
        QDir::setCurrent(m_dir.path());
    }
    ~ListDir() { QDir::setCurrent(m_previous); }

    QString path() const { return m_dir.path(); }

    void writeBytes(const QString &name, const QByteArray &bytes) const
    {
        QFile file(m_dir.filePath(name));
        QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(file.errorString()));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    // Each line in code page 932, each followed by CR LF.
    void writeLines(const QString &name, const QStringList &lines) const
    {
        QString text;
        for (const QString &line : lines)
            text += line + QStringLiteral("\r\n");
        writeBytes(name, sjis(text));
    }

    // A file's bytes, or "<missing>" when it cannot be read.
    static QByteArray readBytes(const QString &name)
    {
        QFile file(name);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    static QByteArray sjis(const QString &text) { return test::sjis(text); }

    // Five small lists that always compose.
    void writeDefaultLists() const
    {
        writeLines(QStringLiteral("itu.dat"), {QStringLiteral("昨日"), QStringLiteral("今日")});
        writeLines(QStringLiteral("dare1.dat"), {QStringLiteral("太郎"), QStringLiteral("花子"), QStringLiteral("次郎")});
        writeLines(QStringLiteral("dare2.dat"), {QStringLiteral("太郎"), QStringLiteral("花子"), QStringLiteral("次郎")});
        writeLines(QStringLiteral("doko.dat"), {QStringLiteral("公園"), QStringLiteral("駅")});
        writeLines(QStringLiteral("nani.dat"), {QStringLiteral("踊った"), QStringLiteral("歌った")});
    }

private:
    QString m_previous;
    QTemporaryDir m_dir;
};

} // namespace velt::test
