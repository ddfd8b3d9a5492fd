#pragma once

// Small file helpers the tests share.

#include <QFile>
#include <QStringList>
#include <QtTest>

#if defined(Q_OS_UNIX)
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

// u"..."_s for the tests' many string literals.
using namespace Qt::StringLiterals;

// A path as messages show it: with the system's separators.
inline QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

inline QString testDataFile(const char *name)
{
    return QStringLiteral(TEST_DATA_DIR "/") + QLatin1String(name);
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Everything in a folder, hidden files and pipes included, so a left-over temporary file
// shows.
inline QStringList entriesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

// Lines as the log text holds them: each followed by CR LF.
inline QString crlfLines(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QStringLiteral("\r\n");
    return text;
}

#if defined(Q_OS_UNIX)
// A pipe where a file is expected; Windows keeps none in its file system.
inline bool makePipe(const QString &path)
{
    return mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

// Every file this process writes may grow to the given size, as on a full disk: a write
// beyond it fails instead of ending the process.
inline void limitFileSize(rlim_t bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
}

// The same while it lives.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : handler(std::signal(SIGXFSZ, SIG_IGN))
    {
        getrlimit(RLIMIT_FSIZE, &saved);
        limitFileSize(bytes);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, handler);
    }

private:
    rlimit saved{};
    void (*handler)(int);
};
#endif
