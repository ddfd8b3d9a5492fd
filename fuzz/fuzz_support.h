#pragma once

// What the fuzz targets and their regression test share: a scratch folder per process, a
// property check, and the encoding in one piece that the output is compared with.

#include "core/shift_jis.h"
#include "core/text_file.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace Fuzz
{

// A broken property stops a fuzzing run, so that libFuzzer keeps the input; the
// regression test replaces this with a handler that reports a failed test instead.
using ViolationHandler = void (*)(const std::string &what);

inline ViolationHandler &violationHandler()
{
    static ViolationHandler handler = nullptr;
    return handler;
}

[[noreturn]] inline void fail(const char *what, const char *file, int line)
{
    const std::string message = std::string(what) + " (" + file + ":" + std::to_string(line) + ")";
    if (violationHandler())
        violationHandler()(message);
    std::fprintf(stderr, "\n==== property violated: %s\n", message.c_str());
    std::fflush(stderr);
    std::abort();
}

} // namespace Fuzz

#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition))                                                                          \
            ::Fuzz::fail(#condition, __FILE__, __LINE__);                                          \
    } while (false)

namespace Fuzz
{

// Where the scratch folders go: memory when the system offers it. On a disk, rewriting the
// same file thousands of times a second waits for the disk (ext4 flushes a truncated file
// on close, and QSaveFile syncs before it renames), which cuts the runs per second a
// hundredfold.
inline QString scratchBase()
{
    const QString shm = QStringLiteral("/dev/shm");
    const QFileInfo info(shm);
    return info.isDir() && info.isWritable() ? shm : QDir::tempPath();
}

// A folder of this process alone, so that parallel jobs never meet; removed at a normal
// exit, left behind after a crash for a look at what was written.
inline const QDir &scratch()
{
    static QTemporaryDir dir(QDir(scratchBase()).filePath(QStringLiteral("tornak-fuzz-XXXXXX")));
    static const QDir path(dir.path());
    if (!dir.isValid())
        fail("a scratch folder can be created", __FILE__, __LINE__);
    return path;
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

inline bool tryWriteFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline void writeFile(const QString &path, const QByteArray &bytes)
{
    if (!tryWriteFile(path, bytes))
        fail("the input can be written to the scratch folder", __FILE__, __LINE__);
}

inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The lines, each followed by CR LF, encoded in one piece by the system's converter alone:
// what the output must be, worked out without the chunks, the streams and the shortcut for
// ASCII the tool writes through.
inline std::optional<QByteArray> referenceEncoding(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1String("\r\n");
    QByteArray bytes;
    if (ShiftJis::systemEncode(text, bytes) >= 0)
        return std::nullopt;
    return bytes;
}

// The bytes read as Shift_JIS up to the first that begins no character.
inline QString shiftJisText(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    const ShiftJis::Decoded decoded =
        ShiftJis::decode(bytes, reinterpret_cast<char16_t *>(text.data()));
    text.truncate(decoded.units);
    return text;
}

// How messages write a character code: "U+FEFF".
inline QString characterCode(char32_t c)
{
    return QStringLiteral("U+") +
           QString::number(uint(c), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

} // namespace Fuzz
