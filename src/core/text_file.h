#pragma once

#include "core/files.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Text files as the club's entrants exchange them: Shift_JIS (code page 932), CR LF.
namespace TextFile
{

// Decoding reads Shift_JIS, unless the bytes start with a UTF-8 byte-order mark or are valid
// UTF-8 holding non-ASCII text (a file re-saved by a modern editor). Where both readings are
// clean, UTF-8 wins only with Japanese text that Shift_JIS could hold as well. Nothing is
// ever replaced. A line ends at CR LF, at a lone CR or at a lone LF, as editors and file
// transfers leave them; a last line without terminator is still a line.

// Receives each line, without its terminator; answers false to stop the reading.
using LineReceiver = std::function<bool(QStringView line)>;

struct LinesRead {
    int badLine = 0; // the line holding the first byte that cannot be decoded, or 0
    int nulLine = 0; // the line holding the first NUL byte, or 0: a binary file
};

// How bytes are read: Shift_JIS or UTF-8 as found, or Shift_JIS whatever UTF-8 would make
// of them (text the tool made itself from Shift_JIS, such as a zLOG log's export).
enum class Reading { Detect, ShiftJisOnly };

// Decodes bytes as they come, a chunk at a time, and hands on their lines, so that a large
// log is never held whole. The first bad byte or NUL stops it; the lines in front of it have
// been handed on.
class LineDecoder
{
public:
    LineDecoder(const LineReceiver &receive, Reading reading);
    ~LineDecoder();
    // False once the receiver stopped or the bytes failed.
    bool feed(QByteArrayView bytes);
    LinesRead finish();

private:
    struct Parts;
    std::unique_ptr<Parts> parts;
};

// Decodes an open file, read a chunk at a time; gives back the message when the file
// cannot be read whole as text.
QString forEachLine(Files::Reader &file, const LineReceiver &receive);

struct ReadResult {
    QStringList lines; // on a decoding error, the lines in front of the bad one
    QString error;     // empty on success
};

// The file's lines, or the message that says why they could not all be read.
ReadResult readLines(const QString &path);

// The message for a file's bytes that failed to read as text, naming the file.
QString failure(const QString &path, const LinesRead &read);

// First character that CP932 cannot represent, if any.
std::optional<char32_t> firstUnencodable(QStringView text);

// A C0, DEL or C1 control character: none may reach a Cabrillo file, where an ESC or a line
// feed would change what a reader sees. Without a branch, so that a scan over every
// character of an export stays vector code.
template <typename Char> constexpr bool isControl(Char c)
{
    return (c < 0x20) | (Char(c - 0x7F) <= Char(0x9F - 0x7F));
}

// The first control character of the text.
std::optional<char32_t> firstControlCharacter(QStringView text);

// Each line followed by CR LF, in CP932; nothing when a character has no CP932 form.
std::optional<QByteArray> encodeLines(const QStringList &lines);

// Encodes lines as they come, each followed by CR LF, and hands the bytes on a chunk at a
// time, so that a long text is never held a second time as a whole.
class LineEncoder
{
public:
    using Sink = std::function<void(QByteArrayView bytes)>;
    struct Unencodable {
        int tag; // what the caller passed with the line
        QString line;
        char32_t character;
    };

    explicit LineEncoder(Sink sink);
    void appendLine(QStringView line, int tag = 0);
    // Encodes what is pending. Gives back the first line that has no CP932 form, if any;
    // nothing is handed on from the chunk that holds it.
    std::optional<Unencodable> finish();

private:
    void flush();

    Sink sink;
    QString pending;
    std::vector<std::pair<qsizetype, int>> pendingLines; // start in pending, tag
    QByteArray bytes;
    std::optional<Unencodable> failure;
};

// Empty when this system can convert CP932, else the message that says it cannot.
QString codecProblem();

} // namespace TextFile
