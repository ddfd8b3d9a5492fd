#include "core/files.h"

#include "core/messages.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace Files
{

namespace
{

// Qt reports file errors in the system's words, in whatever language the system speaks;
// the code of the failed call says what happened in words our users read.
#if defined(Q_OS_WIN)
void clearSystemError()
{
    SetLastError(0);
}

Messages::SystemFailure failureOf(unsigned long code)
{
    using Failure = Messages::SystemFailure;
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return Failure::NotFound;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
        return Failure::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return Failure::DiskFull;
    case ERROR_FILE_TOO_LARGE:
        return Failure::TooLarge;
    case ERROR_FILENAME_EXCED_RANGE:
        return Failure::NameTooLong;
    case ERROR_WRITE_PROTECT:
        return Failure::ReadOnly;
    default:
        return Failure::Other;
    }
}

QString systemReason(const QString &systemWords)
{
    return Messages::systemReason(failureOf(GetLastError()), systemWords);
}
#else
void clearSystemError()
{
    errno = 0;
}

Messages::SystemFailure failureOf(int code)
{
    using Failure = Messages::SystemFailure;
    switch (code) {
    case ENOENT:
    case ENOTDIR:
        return Failure::NotFound;
    case EACCES:
    case EPERM:
        return Failure::AccessDenied;
    case EISDIR:
        return Failure::IsFolder;
    case ENOSPC:
    case EDQUOT:
        return Failure::DiskFull;
    case EFBIG:
        return Failure::TooLarge;
    case ENAMETOOLONG:
        return Failure::NameTooLong;
    case EROFS:
        return Failure::ReadOnly;
    default:
        return Failure::Other;
    }
}

QString systemReason(const QString &systemWords)
{
    return Messages::systemReason(failureOf(errno), systemWords);
}

QString systemReason()
{
    return systemReason(QString::fromLocal8Bit(strerror(errno)));
}

struct FileDescriptor {
    int fd;
    ~FileDescriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};
#endif

enum class Kind { Missing, Regular, Folder, Special };

Kind kindOf(const QString &path)
{
    const QFileInfo info(diskPath(path)); // follows links, as opening does
    if (!info.exists())
        return Kind::Missing;
    if (info.isDir())
        return Kind::Folder;
    return info.isFile() ? Kind::Regular : Kind::Special;
}

} // namespace

QString diskPath(const QString &path)
{
    return path.startsWith(QLatin1Char(':')) ? QLatin1String("./") + path : path;
}

#if defined(Q_OS_WIN)
Read readAll(const QString &path)
{
    if (path.isEmpty())
        return {{}, Messages::noFileGiven()};
    switch (kindOf(path)) {
    case Kind::Folder:
        return {{}, Messages::isFolder(path)};
    case Kind::Special:
        return {{}, Messages::notRegularFile(path)};
    default:
        break;
    }
    QFile file(path);
    clearSystemError();
    if (!file.open(QIODevice::ReadOnly))
        return {{}, Messages::cannotOpen(path, systemReason(file.errorString()))};
    if (file.size() > readLimit)
        return {{}, Messages::fileTooLarge(path, readLimit)};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, Messages::cannotOpen(path, systemReason(file.errorString()))};
    return {std::move(bytes), {}};
}
#else
Read readAll(const QString &path)
{
    if (path.isEmpty())
        return {{}, Messages::noFileGiven()};
    // Without O_NONBLOCK, opening a pipe would wait for a writer that never comes.
    const FileDescriptor file{
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0)
        return {{}, Messages::cannotOpen(path, systemReason())};
    struct stat status {
    };
    if (::fstat(file.fd, &status) != 0)
        return {{}, Messages::cannotOpen(path, systemReason())};
    if (S_ISDIR(status.st_mode))
        return {{}, Messages::isFolder(path)};
    if (!S_ISREG(status.st_mode))
        return {{}, Messages::notRegularFile(path)};
    if (status.st_size > readLimit)
        return {{}, Messages::fileTooLarge(path, readLimit)};

    QByteArray bytes(qsizetype(status.st_size), Qt::Uninitialized);
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(file.fd, bytes.data() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return {{}, Messages::cannotOpen(path, systemReason())};
        if (n == 0)
            break; // the file was cut short meanwhile
        done += n;
    }
    bytes.truncate(done);
    return {std::move(bytes), {}};
}
#endif

std::optional<QString> refusalToReplace(const QString &path)
{
    const Kind kind = kindOf(path);
    if (kind == Kind::Folder || kind == Kind::Special)
        return Messages::notRegularFile(path);
    return std::nullopt;
}

std::optional<QString> writeAtomically(const QString &path, const QByteArray &bytes)
{
    if (const Kind kind = kindOf(path); kind == Kind::Folder || kind == Kind::Special)
        return Messages::notRegularFileReason();
    QSaveFile file(diskPath(path));
    clearSystemError();
    if (!file.open(QIODevice::WriteOnly))
        return systemReason(file.errorString());
    // A small file stays in Qt's buffer until commit(), which would rename it into place
    // even when that last write fails: flush it first and look.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = systemReason(file.errorString());
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return systemReason(file.errorString());
    return std::nullopt;
}

} // namespace Files
