#pragma once

// Runs `cmake --install` on the build tree into a fresh folder, the same
// command a user runs, so the packaging tests look at what really lands on
// disk rather than at the install rules. VELT_CMAKE_COMMAND, VELT_BUILD_DIR
// and VELT_SOURCE_DIR come from tests/CMakeLists.txt.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>

namespace velt::test {

inline const QString APP_ID = QStringLiteral("org.example.velt");

inline QString sourcePath(const QString &relative)
{
    return QStringLiteral(VELT_SOURCE_DIR "/") + relative;
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Install
{
    QString prefix;
    QString error; // empty when the install succeeded

    QString path(const QString &relative) const { return prefix + u'/' + relative; }
};

// Installs into `prefix`, which must not exist yet.
inline Install installInto(const QString &prefix)
{
    Install result{prefix, {}};
    QProcess cmake;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A DESTDIR left in the caller's shell would send the files elsewhere.
    env.remove(QStringLiteral("DESTDIR"));
    cmake.setProcessEnvironment(env);
    cmake.setProcessChannelMode(QProcess::MergedChannels);
    cmake.start(QStringLiteral(VELT_CMAKE_COMMAND),
                {QStringLiteral("--install"), QStringLiteral(VELT_BUILD_DIR), QStringLiteral("--prefix"), prefix});
    if (!cmake.waitForFinished(120000) || cmake.exitStatus() != QProcess::NormalExit || cmake.exitCode() != 0)
        result.error = QStringLiteral("cmake --install into \"%1\" failed: %2\n%3")
                           .arg(prefix, cmake.errorString(), QString::fromLocal8Bit(cmake.readAll()));
    return result;
}

} // namespace velt::test
