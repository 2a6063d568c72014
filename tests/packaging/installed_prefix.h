#pragma once

// Runs `cmake --install` on the build tree into a fresh folder, the same
// command a user runs, so the packaging tests look at what really lands on
// disk rather than at the install rules. VELT_CMAKE_COMMAND, VELT_BUILD_DIR
// and VELT_SOURCE_DIR come from tests/CMakeLists.txt.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
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

struct InstalledFile
{
    QString path;   // below the prefix
    QString source; // what it is a copy of, in the source tree; empty when it is made
    bool executable;
};

// Every file an install puts below its prefix, the programs in `binDir`
// (bin, or games for the Debian package).
inline QList<InstalledFile> installedFiles(const QString &binDir)
{
    QList<InstalledFile> files = {
        {binDir + QStringLiteral("/velt"), {}, true},
        {binDir + QStringLiteral("/velt-print"), {}, true},
        {binDir + QStringLiteral("/velt-launcher"), QStringLiteral("packaging/velt-launcher"), true},
        {QStringLiteral("share/applications/%1.desktop").arg(APP_ID), {}, false},
        {QStringLiteral("share/metainfo/%1.metainfo.xml").arg(APP_ID), {}, false},
        {QStringLiteral("share/icons/hicolor/scalable/apps/velt.svg"), QStringLiteral("data/icons/velt.svg"), false},
    };
    for (const int size : {32, 48, 128, 256})
        files.append({QStringLiteral("share/icons/hicolor/%1x%1/apps/velt.png").arg(size),
                      QStringLiteral("data/icons/velt-%1.png").arg(size), false});
    for (const char *list : {"itu", "dare1", "dare2", "doko", "nani"})
        files.append({QStringLiteral("share/velt/lists/%1.dat").arg(QLatin1String(list)),
                      QStringLiteral("data/lists/%1.dat").arg(QLatin1String(list)), false});
    for (const char *page : {"velt", "velt-print", "velt-launcher"})
        files.append({QStringLiteral("share/man/man1/%1.1.gz").arg(QLatin1String(page)), {}, false});
    return files;
}

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
