#pragma once

// What the fuzz targets and their regression test share: a scratch folder per process, a
// property check, and the reference encoding the output is compared with.

#include "core/text_file.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringEncoder>
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

// The lines, each followed by CR LF, through the codec in one piece: what the output must
// be, worked out without the tool's own encoding code.
inline std::optional<QByteArray> referenceEncoding(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1String("\r\n");
    QStringEncoder encoder("windows-31j");
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

inline bool encodes(const QString &text)
{
    // Stateless: a surrogate alone at the end is an error, not a character still to come.
    QStringEncoder encoder("windows-31j", QStringEncoder::Flag::Stateless);
    [[maybe_unused]] const QByteArray bytes = encoder.encode(text);
    return !encoder.hasError();
}

// The character messages name when a text cannot be written, found one code point at a
// time: the first one that has no Shift_JIS form of its own.
inline std::optional<char32_t> referenceFirstUnencodable(const QString &text)
{
    if (encodes(text))
        return std::nullopt;
    // One code point at a time; a surrogate that a fixed-width field cut from its pair
    // stands alone.
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length = QChar::isHighSurrogate(text.at(i).unicode()) &&
                                         i + 1 < text.size() &&
                                         QChar::isLowSurrogate(text.at(i + 1).unicode())
                                     ? 2
                                     : 1;
        const QString single = text.mid(i, length);
        if (!encodes(single))
            return length == 2 ? QChar::surrogateToUcs4(single.at(0), single.at(1))
                               : char32_t(single.at(0).unicode());
        i += length;
    }
    fail("a text that cannot be encoded holds a character that cannot", __FILE__, __LINE__);
}

// The tool's own search for the character to name agrees with the reference.
inline void checkFirstUnencodable(const QString &text)
{
    FUZZ_CHECK(TextFile::firstUnencodable(text) == referenceFirstUnencodable(text));
}

// How messages write a character code: "U+FEFF".
inline QString characterCode(char32_t c)
{
    return QStringLiteral("U+") +
           QString::number(uint(c), 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

} // namespace Fuzz
