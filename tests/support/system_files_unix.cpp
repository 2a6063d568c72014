#include "support/system_files.h"

#include <QDir>
#include <QFile>

#include <sys/resource.h>
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

} // namespace velt::test
