#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Text files as the club's entrants exchange them: Shift_JIS (code page 932), CR LF.
namespace TextFile {

struct Decoded {
    QString text;    // all of it, or only the lines in front of the bad line
    int badLine = 0; // 1-based line holding bytes that cannot be decoded; 0 when all decoded
};

// CP932, unless the bytes start with a UTF-8 byte-order mark or are valid UTF-8 holding
// non-ASCII bytes (a file re-saved by a modern editor). Nothing is ever replaced.
Decoded decode(const QByteArray &bytes);

// A line ends at CR LF or at a lone CR; a lone LF stays in the line; a last line without
// terminator is still a line.
QStringList splitLines(const QString &text);

struct ReadResult {
    QStringList lines; // on a decoding error, the lines in front of the bad one
    QString error;     // empty on success
};

ReadResult readLines(const QString &path);

// First character that CP932 cannot represent, if any.
std::optional<char32_t> firstUnencodable(const QString &text);

// Each line followed by CR LF, in CP932; nothing when a character has no CP932 form.
std::optional<QByteArray> encodeLines(const QStringList &lines);

// Replaces the file whole or leaves it as it was; gives back the system's reason on failure.
std::optional<QString> writeAtomically(const QString &path, const QByteArray &bytes);

// Empty when this Qt build can convert CP932, else the message that says it cannot.
QString codecProblem();

} // namespace TextFile
