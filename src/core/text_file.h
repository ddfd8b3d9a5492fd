#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// Text files as the club's entrants exchange them: Shift_JIS (code page 932), CR LF.
namespace TextFile
{

struct Decoded {
    QString text;    // all of it, or only the lines in front of the bad line
    int badLine = 0; // 1-based line holding bytes that cannot be decoded; 0 when all decoded
};

// CP932, unless the bytes start with a UTF-8 byte-order mark or are valid UTF-8 holding
// non-ASCII text (a file re-saved by a modern editor). Where both readings are clean, UTF-8
// wins only with Japanese text that Shift_JIS could hold as well. Nothing is ever replaced.
Decoded decode(QByteArrayView bytes);

// A line ends at CR LF, at a lone CR or at a lone LF, as editors and file transfers leave
// them; a last line without terminator is still a line.
QStringList splitLines(const QString &text);

struct TextRead {
    QString text;  // on a decoding error, the lines in front of the bad one
    QString error; // empty on success
};

TextRead readText(const QString &path);

struct ReadResult {
    QStringList lines; // on a decoding error, the lines in front of the bad one
    QString error;     // empty on success
};

ReadResult readLines(const QString &path);

// First character that CP932 cannot represent, if any.
std::optional<char32_t> firstUnencodable(const QString &text);

// Each line followed by CR LF, in CP932; nothing when a character has no CP932 form.
std::optional<QByteArray> encodeLines(const QStringList &lines);

// Encodes lines as they come, each followed by CR LF, so that a long text is never held
// as a whole a second time before it is written.
class LineEncoder
{
public:
    struct Unencodable {
        int tag; // what the caller passed with the line
        QString line;
        char32_t character;
    };

    LineEncoder();
    // Room for the bytes expected, so a large output is not copied as it grows.
    void reserve(qsizetype byteCount) { bytes.reserve(byteCount); }
    void appendLine(QStringView line, int tag = 0);
    // Encodes what is pending. Gives back the first line that has no CP932 form, if any;
    // from then on the bytes are incomplete.
    std::optional<Unencodable> finish();
    QByteArray takeBytes() { return std::move(bytes); }

private:
    void flush();

    QString pending;
    std::vector<std::pair<qsizetype, int>> pendingLines; // start in pending, tag
    QByteArray bytes;
    std::optional<Unencodable> failure;
};

// First C0, DEL or C1 control character: none may reach a Cabrillo file, where an ESC or a
// line feed would change what a reader sees.
std::optional<char32_t> firstControlCharacter(QStringView text);

// Empty when this Qt build can convert CP932, else the message that says it cannot.
QString codecProblem();

} // namespace TextFile
