#include "core/files.h"

#include "core/messages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

#if defined(Q_OS_WIN)
#include <string>
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
Messages::SystemFailure failureOf(int code)
{
    using Failure = Messages::SystemFailure;
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return Failure::NotFound;
    case ERROR_ACCESS_DENIED:
        return Failure::AccessDenied;
    // Another program holds the file open without sharing it (Excel, an editor's lock).
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return Failure::InUse;
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

// The zip unpacked where users may not write (under Program Files) meets this first.
bool inProgramFolder(const QString &path)
{
    return QCoreApplication::instance() && QFileInfo(QFileInfo(diskPath(path)).absolutePath()) ==
                                               QFileInfo(QCoreApplication::applicationDirPath());
}

// Read at once after the failed call: whatever runs next may overwrite it.
QString lastReason(const QString &path)
{
    return reasonFor(int(GetLastError()), path);
}

std::wstring native(const QString &path)
{
    return QDir::toNativeSeparators(diskPath(path)).toStdWString();
}

// Windows refuses to replace a file another program holds open as "access denied"; asking
// for the file itself tells whether it is held, so the entrant learns what to close.
int movingFailure(const QString &target)
{
    const DWORD code = GetLastError();
    if (code != ERROR_ACCESS_DENIED)
        return int(code);
    const HANDLE probe = CreateFileW(native(target).c_str(), DELETE,
                                     FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        return int(code);
    }
    const DWORD held = GetLastError();
    return held == ERROR_SHARING_VIOLATION ? int(held) : int(code);
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
    return reasonFor(errno, QString());
}

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

#if defined(Q_OS_WIN)
QString reasonFor(int code, const QString &path)
{
    const Messages::SystemFailure failure = failureOf(code);
    if (failure == Messages::SystemFailure::AccessDenied && inProgramFolder(path))
        return Messages::programFolderNotWritable();
    return Messages::systemReason(failure, qt_error_string(code));
}
#else
QString reasonFor(int code, const QString &)
{
    return Messages::systemReason(failureOf(code), QString::fromLocal8Bit(strerror(code)));
}
#endif

QString diskPath(const QString &path)
{
    return path.startsWith(QLatin1Char(':')) ? QLatin1String("./") + path : path;
}

Reader::Reader(const QString &filePath)
    : name(filePath)
#if defined(Q_OS_WIN)
      ,
      handle(INVALID_HANDLE_VALUE)
#endif
{
}

qsizetype Reader::fail(const QString &message)
{
    failure = message;
    return -1;
}

#if defined(Q_OS_WIN)
Reader::~Reader()
{
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
}

QString Reader::open()
{
    if (name.isEmpty())
        return failure = Messages::noFileGiven();
    switch (kindOf(name)) {
    case Kind::Folder:
        return failure = Messages::isFolder(name);
    case Kind::Special:
        return failure = Messages::notRegularFile(name);
    default:
        break;
    }
    // Shared as widely as Qt would, so a log zLOG still has open can be read.
    handle = CreateFileW(native(name).c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    LARGE_INTEGER size{};
    if (handle == INVALID_HANDLE_VALUE || !GetFileSizeEx(handle, &size))
        return failure = Messages::cannotOpen(name, lastReason(name));
    if (size.QuadPart > readLimit)
        return failure = Messages::fileTooLarge(name, readLimit);
    openedSize = size.QuadPart;
    return {};
}

qsizetype Reader::read(char *into, qsizetype room)
{
    DWORD n = 0;
    if (!ReadFile(handle, into, DWORD(std::min<qsizetype>(room, 1 << 30)), &n, nullptr))
        return fail(Messages::cannotOpen(name, lastReason(name)));
    total += n;
    return total > readLimit ? fail(Messages::fileTooLarge(name, readLimit)) : qsizetype(n);
}

bool Reader::rewind()
{
    total = 0;
    return SetFilePointerEx(handle, LARGE_INTEGER{}, nullptr, FILE_BEGIN) ||
           fail(Messages::cannotOpen(name, lastReason(name))) > 0;
}
#else
Reader::~Reader()
{
    if (fd >= 0)
        ::close(fd);
}

QString Reader::open()
{
    if (name.isEmpty())
        return failure = Messages::noFileGiven();
    // Without O_NONBLOCK, opening a pipe would wait for a writer that never comes.
    fd = ::open(QFile::encodeName(name).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT && nameWasLost(name))
        return failure = Messages::unreadableFileName(name);
    if (fd < 0)
        return failure = Messages::cannotOpen(name, systemReason());
    struct stat status {
    };
    if (::fstat(fd, &status) != 0)
        return failure = Messages::cannotOpen(name, systemReason());
    if (S_ISDIR(status.st_mode))
        return failure = Messages::isFolder(name);
    if (!S_ISREG(status.st_mode))
        return failure = Messages::notRegularFile(name);
    if (status.st_size > readLimit)
        return failure = Messages::fileTooLarge(name, readLimit);
    openedSize = status.st_size;
    return {};
}

qsizetype Reader::read(char *into, qsizetype room)
{
    ssize_t n = 0;
    do {
        n = ::read(fd, into, size_t(room));
    } while (n < 0 && errno == EINTR);
    if (n < 0)
        return fail(Messages::cannotOpen(name, systemReason()));
    total += n;
    // A file that grows while it is read is still held to the limit.
    return total > readLimit ? fail(Messages::fileTooLarge(name, readLimit)) : qsizetype(n);
}

bool Reader::rewind()
{
    total = 0;
    return ::lseek(fd, 0, SEEK_SET) == 0 || fail(Messages::cannotOpen(name, systemReason())) > 0;
}
#endif

bool nameWasLost(const QString &path)
{
#if defined(Q_OS_WIN)
    Q_UNUSED(path);
    return false;
#else
    return path.contains(QChar(QChar::ReplacementCharacter));
#endif
}

bool sameFile(const QString &a, const QString &b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
#if defined(Q_OS_WIN)
    struct Identity {
        bool known = false;
        BY_HANDLE_FILE_INFORMATION info{};
    };
    const auto identify = [](const QString &path) {
        Identity id;
        // Neither reading nor writing: a file another program holds open is still named.
        const HANDLE handle = CreateFileW(
            native(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            id.known = GetFileInformationByHandle(handle, &id.info) != 0;
            CloseHandle(handle);
        }
        return id;
    };
    const Identity x = identify(a);
    const Identity y = identify(b);
    return x.known && y.known && x.info.dwVolumeSerialNumber == y.info.dwVolumeSerialNumber &&
           x.info.nFileIndexHigh == y.info.nFileIndexHigh &&
           x.info.nFileIndexLow == y.info.nFileIndexLow;
#else
    struct stat x {
    }, y{};
    return ::stat(QFile::encodeName(diskPath(a)).constData(), &x) == 0 &&
           ::stat(QFile::encodeName(diskPath(b)).constData(), &y) == 0 && x.st_dev == y.st_dev &&
           x.st_ino == y.st_ino;
#endif
}

std::optional<QString> refusalToReplace(const QString &path)
{
    const Kind kind = kindOf(path);
    if (kind == Kind::Folder || kind == Kind::Special)
        return Messages::notRegularFile(path);
    return std::nullopt;
}

#if defined(Q_OS_WIN)
AtomicFile::AtomicFile(const QString &fileName) : path(fileName), handle(INVALID_HANDLE_VALUE) {}

AtomicFile::~AtomicFile()
{
    discard();
}

void AtomicFile::discard()
{
    if (handle != INVALID_HANDLE_VALUE)
        CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
    if (!temporaryPath.isEmpty())
        DeleteFileW(native(temporaryPath).c_str());
    temporaryPath.clear();
}

bool AtomicFile::fail()
{
    failure = lastReason(path);
    discard();
    return false;
}

bool AtomicFile::open()
{
    if (const Kind kind = kindOf(path); kind == Kind::Folder || kind == Kind::Special) {
        failure = Messages::notRegularFileReason();
        return false;
    }
    // Beside the file it replaces, so that the final move stays on one disk.
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporaryPath = QStringLiteral("%1.%2.tmp")
                            .arg(path, QString::number(QRandomGenerator::global()->generate(), 36));
        handle = CreateFileW(native(temporaryPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE)
            return true;
        if (GetLastError() != ERROR_FILE_EXISTS)
            break;
    }
    failure = lastReason(path);
    temporaryPath.clear(); // never created
    return false;
}

bool AtomicFile::write(QByteArrayView bytes)
{
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    const char *data = bytes.data();
    for (qsizetype left = bytes.size(); left > 0;) {
        DWORD n = 0;
        if (!WriteFile(handle, data, DWORD(std::min<qsizetype>(left, 1 << 30)), &n, nullptr))
            return fail();
        data += n;
        left -= qsizetype(n);
    }
    return true;
}

// On the disk first, then moved over the old file in one step.
bool AtomicFile::commit()
{
    if (handle == INVALID_HANDLE_VALUE || !FlushFileBuffers(handle))
        return fail();
    const HANDLE written = handle;
    handle = INVALID_HANDLE_VALUE;
    if (!CloseHandle(written))
        return fail();
    if (!MoveFileExW(native(temporaryPath).c_str(), native(path).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failure = reasonFor(movingFailure(path), path);
        discard();
        return false;
    }
    temporaryPath.clear();
    return true;
}
#else
AtomicFile::AtomicFile(const QString &fileName) : path(fileName), file(diskPath(fileName)) {}

AtomicFile::~AtomicFile() = default;

bool AtomicFile::fail()
{
    failure = systemReason(file.errorString());
    file.cancelWriting();
    return false;
}

bool AtomicFile::open()
{
    if (const Kind kind = kindOf(path); kind == Kind::Folder || kind == Kind::Special) {
        failure = Messages::notRegularFileReason();
        return false;
    }
    clearSystemError();
    return file.open(QIODevice::WriteOnly) || fail();
}

bool AtomicFile::write(QByteArrayView bytes)
{
    clearSystemError();
    return file.write(bytes.data(), bytes.size()) == bytes.size() || fail();
}

// A small file stays in Qt's buffer until commit(), which would rename it into place even
// when that last write fails: flush it first and look.
bool AtomicFile::commit()
{
    clearSystemError();
    if (!file.flush())
        return fail();
    return file.commit() || fail();
}
#endif

std::optional<QString> writeAtomically(const QString &path, const QByteArray &bytes)
{
    AtomicFile file(path);
    if (file.open() && file.write(bytes) && file.commit())
        return std::nullopt;
    return file.reason();
}

} // namespace Files
