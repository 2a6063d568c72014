#pragma once

// For tests that start programs found on the search path.

#include <QFile>
#include <QString>
#include <QTest>

namespace velt::test {

// PATH holds only the given folders while this lives; restored afterwards.
class SearchPath
{
public:
    explicit SearchPath(const QString &folders)
        : m_saved(qgetenv("PATH"))
    {
        qputenv("PATH", QFile::encodeName(folders));
    }
    ~SearchPath() { qputenv("PATH", m_saved); }
    SearchPath(const SearchPath &) = delete;
    SearchPath &operator=(const SearchPath &) = delete;

private:
    QByteArray m_saved;
};

// A shell script at `path` that, when run, writes the number of its
// arguments into "started" next to itself.
inline void writeRecordingProgram(const QString &path)
{
    QFile script(path);
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"$#\" > \"${0%/*}/started\"\n");
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

} // namespace velt::test
