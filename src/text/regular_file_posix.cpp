#include "text/regular_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velt {
namespace {

FileKind kindOf(mode_t mode)
{
    if (S_ISREG(mode))
        return FileKind::Regular;
    if (S_ISDIR(mode))
        return FileKind::Folder;
    if (S_ISFIFO(mode))
        return FileKind::Pipe;
    if (S_ISSOCK(mode))
        return FileKind::Socket;
    return FileKind::Device;
}

// The file a link leads to, through any number of links, as QSaveFile finds
// it; the name itself when it is not a link or the chain never ends.
QString finalTarget(const QString &fileName)
{
    QFileInfo info(fileName);
    for (int depth = 0; depth < 40 && info.isSymLink(); ++depth)
        info.setFile(info.symLinkTarget());
    return info.isSymLink() ? fileName : info.filePath();
}

bool writeAll(int fd, QByteArrayView bytes)
{
    const char *at = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, at, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        at += written;
        left -= written;
    }
    return true;
}

} // namespace

QString workingFolderName()
{
    const QString path = QDir::currentPath();
    if (!path.isEmpty())
        return path;
    // getcwd() fails once the folder is gone; Linux still tells where it was.
    QString gone = QFileInfo(QStringLiteral("/proc/self/cwd")).symLinkTarget();
    gone.remove(QLatin1String(" (deleted)"));
    return gone.isEmpty() ? QStringLiteral("（削除された作業フォルダ）") : gone;
}

OpenResult openRegularFile(QFile &file, const QString &fileName)
{
    // A named pipe opened for reading without O_NONBLOCK waits for a writer.
    const int fd = ::open(QFile::encodeName(fileName).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return {SystemError::last()};
    struct stat status{};
    if (::fstat(fd, &status) != 0) {
        const SystemError error = SystemError::last();
        ::close(fd);
        return {error};
    }
    const FileKind kind = kindOf(status.st_mode);
    if (kind != FileKind::Regular) {
        ::close(fd);
        return {std::nullopt, kind};
    }
    // O_NONBLOCK changes nothing for a regular file's reads.
    if (!file.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return {SystemError{SystemError::Other, file.errorString()}};
    }
    return {};
}

ReplaceResult replaceFile(const QString &fileName, QByteArrayView bytes)
{
    ReplaceResult result;
    const QString target = finalTarget(fileName);
    const QFileInfo targetInfo(target);
    result.folder = targetInfo.path() == QLatin1String(".") ? workingFolderName() : targetInfo.absolutePath();
    const QByteArray targetPath = QFile::encodeName(target);

    struct stat old{};
    const bool existed = ::stat(targetPath.constData(), &old) == 0;
    QByteArray tempPath;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        tempPath = QFile::encodeName(QDir(result.folder).filePath(
            QStringLiteral(".%1.%2.tmp").arg(targetInfo.fileName()).arg(QRandomGenerator::global()->generate(), 8, 16,
                                                                        QLatin1Char('0'))));
        fd = ::open(tempPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            break;
    }
    if (fd < 0) {
        result.error = SystemError::last();
        return result;
    }

    const auto fail = [&](ReplaceResult::Step step) {
        result.error = SystemError::last();
        result.step = step;
        if (fd >= 0)
            ::close(fd);
        ::unlink(tempPath.constData());
        return result;
    };
    if (existed && ::fchmod(fd, old.st_mode & 07777) != 0)
        return fail(ReplaceResult::Writing);
    // A file system that cannot sync (EINVAL) still holds what was written.
    if (!writeAll(fd, bytes) || (::fsync(fd) != 0 && errno != EINVAL))
        return fail(ReplaceResult::Writing);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0)
        return fail(ReplaceResult::Writing);
    if (::rename(tempPath.constData(), targetPath.constData()) != 0)
        return fail(ReplaceResult::Replacing);
    return result;
}

} // namespace velt
