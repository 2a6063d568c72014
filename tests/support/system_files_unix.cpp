#include "support/system_files.h"

#include <QDir>
#include <QFile>

#include <QFileInfo>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

namespace velt::test {

bool linkFile(const QString &target, const QString &link)
{
    return QFile::link(target, link);
}

int openFileCount()
{
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

struct SaveObstacle::State
{
    rlimit saved{};
};

SaveObstacle::SaveObstacle(const QString &)
    : m_state(std::make_unique<State>())
{
    // The write is to fail with an error, not end the process.
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &m_state->saved);
    rlimit limit = m_state->saved;
    limit.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &limit);
}

SaveObstacle::~SaveObstacle()
{
    setrlimit(RLIMIT_FSIZE, &m_state->saved);
}

QString SaveObstacle::reason()
{
    return QStringLiteral("上限");
}

namespace {

bool setImmutable(const QString &path, bool on)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return false;
    int flags = 0;
    bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (done) {
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return done;
}

bool takesNewFiles(const QString &path)
{
    QFile probe(path + QStringLiteral("/.probe"));
    if (!probe.open(QIODevice::WriteOnly))
        return false;
    probe.remove();
    return true;
}

} // namespace

FolderRefusingNewFiles::FolderRefusingNewFiles(const QString &path)
    : m_path(path)
{
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner);
    if (!takesNewFiles(path)) {
        m_active = true;
        return;
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_immutable = setImmutable(path, true);
    m_active = m_immutable && !takesNewFiles(path);
}

FolderRefusingNewFiles::~FolderRefusingNewFiles()
{
    if (m_immutable)
        setImmutable(m_path, false);
    QFile::setPermissions(m_path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool makeNamedPipe(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

} // namespace velt::test
