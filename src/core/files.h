#pragma once

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

#include <optional>

// The files a user cares about: read whole within a limit, written whole or not at all.
// Every failure comes back as a Japanese message that names the file.
namespace Files
{

// Far beyond any log: a contest of a million QSOs exports about 78 MB.
constexpr qint64 readLimit = 256 * 1024 * 1024;

// A file read a chunk at a time. Folders, devices, pipes and sockets are refused before
// they are opened, so a pipe can never block the window, and so are files over the limit.
class Reader
{
public:
    explicit Reader(const QString &path);
    ~Reader();
    Reader(const Reader &) = delete;
    Reader &operator=(const Reader &) = delete;

    // The message that says why the file cannot be read; empty when it can.
    QString open();
    // Up to room bytes; 0 at the end; -1 on a failure, which error() then tells.
    qsizetype read(char *into, qsizetype room);
    // Back to the start; false on a failure, which error() then tells.
    bool rewind();
    // The size when opened.
    qint64 size() const { return openedSize; }
    const QString &error() const { return failure; }
    const QString &path() const { return name; }

private:
    qsizetype fail(const QString &reason);

    QString name;
    qint64 openedSize = 0;
    qint64 total = 0;
    QString failure;
#if defined(Q_OS_WIN)
    void *handle; // the HANDLE of the open file
#else
    int fd = -1;
#endif
};

// Why an existing file must not be replaced (a folder, device, pipe or socket); nothing
// when the name is free or a regular file, or a link to one, whose target is then written.
std::optional<QString> refusalToReplace(const QString &path);

// A file written piece by piece that replaces the old one in one step when committed, or
// leaves it as it was. Every failure gives its Japanese reason.
class AtomicFile
{
public:
    explicit AtomicFile(const QString &path);
    ~AtomicFile();
    AtomicFile(const AtomicFile &) = delete;
    AtomicFile &operator=(const AtomicFile &) = delete;

    bool open();
    bool write(QByteArrayView bytes);
    bool commit();
    QString reason() const { return failure; }

private:
    bool fail();

    QString path;
    QString failure;
#if defined(Q_OS_WIN)
    // Written through Win32 itself, so the reason is the code of the call that failed:
    // Qt's file classes make further calls that overwrite it.
    void discard();
    void *handle; // the HANDLE of the temporary file
    QString temporaryPath;
#else
    QSaveFile file;
#endif
};

std::optional<QString> writeAtomically(const QString &path, const QByteArray &bytes);

// Whether two names, through links or not, are one file on the disk. False when either is
// missing.
bool sameFile(const QString &a, const QString &b);

// On Linux, a name whose bytes are no UTF-8 (a Shift_JIS name unpacked from a Windows
// archive) comes to Qt with U+FFFD in place of them, and so can no longer be opened.
bool nameWasLost(const QString &path);

// The reason for a system error code (errno, or GetLastError() on Windows) met on the file
// at path, in our users' words.
QString reasonFor(int code, const QString &path);

// Qt takes a path that begins with ":" for one inside the program's own resources.
QString diskPath(const QString &path);

} // namespace Files
