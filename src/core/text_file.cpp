#include "core/text_file.h"

#include "core/files.h"
#include "core/messages.h"
#include "core/shift_jis.h"
#include "core/text_search.h"

#include <QStringDecoder>

#include <algorithm>
#include <cstring>

namespace TextFile
{

namespace
{

enum class Utf8Form {
    Invalid,     // not UTF-8: Shift_JIS text, as a rule
    Ascii,       // the same in either reading
    TwoByteOnly, // only characters below U+0800, as pairs of Shift_JIS half-width kana also read
    Wide,        // characters from U+0800 on: Japanese written in UTF-8
};

struct Utf8Check {
    Utf8Form form;
    qsizetype invalidAt = -1; // the first byte UTF-8 does not allow
    qsizetype cutAt = -1;     // a character cut off by the end of the bytes
};

// Stops at the first byte that UTF-8 does not allow, which in a Shift_JIS file comes with
// its first Japanese text.
Utf8Check utf8Check(QByteArrayView bytes)
{
    const auto *const begin = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *p = begin;
    const auto *end = p + bytes.size();
    const auto invalidAt = [begin](const unsigned char *at) { return qsizetype(at - begin); };
    Utf8Form form = Utf8Form::Ascii;
    while (p < end) {
        // Most of a log is ASCII: step over it eight bytes at a time.
        if (end - p >= 8) {
            quint64 word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ULL) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int trail = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            trail = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            trail = 2;
            low = c == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
            high = c == 0xED ? 0x9F : 0xBF; // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            trail = 3;
            low = c == 0xF0 ? 0x90 : 0x80;
            high = c == 0xF4 ? 0x8F : 0xBF; // nothing beyond U+10FFFF
        } else {
            return {Utf8Form::Invalid, invalidAt(p)};
        }
        for (int i = 1; i <= trail; ++i) {
            if (p + i == end)
                return {form, -1, invalidAt(p)};
            if (p[i] < (i == 1 ? low : 0x80) || p[i] > (i == 1 ? high : 0xBF))
                return {Utf8Form::Invalid, invalidAt(p)};
        }
        form = trail > 1 ? Utf8Form::Wide : std::max(form, Utf8Form::TwoByteOnly);
        p += trail + 1;
    }
    return {form};
}

bool encodable(QStringView text)
{
    QByteArray bytes;
    return ShiftJis::encode(text, bytes) < 0;
}

// Only ever given valid UTF-8: its errors are found beforehand, with their place.
ShiftJis::Decoded decodeUtf8(QByteArrayView bytes, char16_t *out)
{
    // The file's own byte-order mark is gone already: a U+FEFF at the start of a piece is text.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless |
                                                     QStringDecoder::Flag::ConvertInitialBom);
    QChar *const begin = reinterpret_cast<QChar *>(out);
    return {decoder.appendToBuffer(begin, bytes) - begin, -1};
}

constexpr qsizetype chunk = 64 * 1024;

// Where decoding may stop: behind a byte below 0x40, which is never part of a longer
// character in CP932 or UTF-8. Gives back 0 when there is no such byte.
qsizetype lastBoundary(QByteArrayView bytes)
{
    qsizetype end = bytes.size();
    while (end > 0 && static_cast<unsigned char>(bytes[end - 1]) >= 0x40)
        --end;
    return end;
}

enum class Failure { None, BadByte, Nul };

// Decodes bytes as they arrive and hands the text on as soon as it is decoded, so that a
// large log is never held whole. The encoding is known at the first byte that UTF-8 does not
// allow, or at the end: until then only the lines of ASCII in front of the first other byte,
// the same in either reading, are decoded, and the rest is held.
class StreamDecoder
{
public:
    using TextReceiver = std::function<bool(QStringView text)>;

    StreamDecoder(TextReceiver receiver, Reading reading) : receive(std::move(receiver))
    {
        if (reading == Reading::ShiftJisOnly) {
            encoding = Encoding::ShiftJis;
            started = true;
        }
    }

    // Decodes what it can; false once the receiver stopped or the bytes failed.
    bool feed(QByteArrayView bytes)
    {
        pending.append(bytes);
        return process(false);
    }
    bool finish() { return process(true); }

    Failure failure() const { return failed; }

private:
    enum class Encoding { Open, ShiftJis, Utf8 };

    bool process(bool atEnd)
    {
        if (failed != Failure::None || stopped)
            return false;
        if (!started) {
            static const QByteArray utf8Bom("\xEF\xBB\xBF");
            if (pending.size() < utf8Bom.size() && !atEnd)
                return true;
            started = true;
            if (pending.startsWith(utf8Bom)) {
                pending.remove(0, utf8Bom.size());
                encoding = Encoding::Utf8;
            }
        }
        if (encoding == Encoding::Open)
            decide(atEnd);
        if (encoding == Encoding::Open) {
            if (holding)
                return true;
            // Lines of ASCII in front of the first other byte read the same either way.
            const qsizetype other = TextSearch::firstByteFrom(pending, 0x80);
            if (other < 0)
                return decodeFront(pending.size());
            holding = true;
            const qsizetype cr = pending.lastIndexOf('\r', other);
            return decodeFront(std::max(cr, pending.lastIndexOf('\n', other)) + 1);
        }
        return decodeFront(atEnd ? pending.size() : lastBoundary(pending));
    }

    // Follows UTF-8 through the bytes not yet looked at.
    void decide(bool atEnd)
    {
        const Utf8Check check = utf8Check(QByteArrayView(pending).sliced(checked));
        if (check.invalidAt >= 0 || (check.cutAt >= 0 && atEnd)) {
            encoding = Encoding::ShiftJis;
            return;
        }
        form = std::max(form, check.form);
        checked = check.cutAt >= 0 ? checked + check.cutAt : pending.size();
        if (!atEnd)
            return;
        // Some Shift_JIS text is valid UTF-8 as well: half-width kana in pairs ("ﾅｶ" is
        // "Ŷ"), or a kanji followed by one ("羝ｸ" is "㶸"). Japanese written in UTF-8 can be
        // written in Shift_JIS too; when the UTF-8 reading could not, the tool's own file is
        // meant. Only the bytes from the first non-ASCII line on are held.
        if (form == Utf8Form::Wide && encodable(QString::fromUtf8(pending)))
            encoding = Encoding::Utf8;
        else if (form == Utf8Form::Ascii || cleanShiftJis(pending))
            encoding = Encoding::ShiftJis;
        else
            encoding = Encoding::Utf8;
    }

    static bool cleanShiftJis(QByteArrayView bytes)
    {
        QString text(bytes.size(), Qt::Uninitialized);
        return ShiftJis::decode(bytes, reinterpret_cast<char16_t *>(text.data())).badByte < 0;
    }

    // Decodes the front of the pending bytes a chunk at a time and hands the text on.
    bool decodeFront(qsizetype end)
    {
        qsizetype start = 0;
        while (start < end) {
            QByteArrayView piece = QByteArrayView(pending).sliced(start, end - start);
            if (piece.size() > chunk) {
                const qsizetype boundary = lastBoundary(piece.first(chunk));
                piece.truncate(boundary > 0 ? boundary : piece.size());
            }
            const qsizetype nul = piece.indexOf('\0');
            if (nul >= 0)
                piece.truncate(nul);
            qsizetype bad = encoding == Encoding::Utf8 ? utf8Check(piece).invalidAt : -1;
            if (bad >= 0)
                piece.truncate(bad);
            text.resize(piece.size()); // one unit a byte is room enough
            auto *out = reinterpret_cast<char16_t *>(text.data());
            const ShiftJis::Decoded decoded =
                encoding == Encoding::Utf8 ? decodeUtf8(piece, out) : ShiftJis::decode(piece, out);
            if (decoded.badByte >= 0)
                bad = decoded.badByte;
            if (decoded.units > 0 && !receive(QStringView(text).first(decoded.units))) {
                stopped = true;
                return false;
            }
            if (bad >= 0 || nul >= 0) {
                failed = bad >= 0 && (nul < 0 || bad < nul) ? Failure::BadByte : Failure::Nul;
                return false;
            }
            start += piece.size();
        }
        pending.remove(0, end);
        checked = std::max<qsizetype>(0, checked - end);
        return true;
    }

    TextReceiver receive;
    QByteArray pending;    // bytes not decoded yet
    qsizetype checked = 0; // how far into them UTF-8 has been followed
    Utf8Form form = Utf8Form::Ascii;
    Encoding encoding = Encoding::Open;
    bool started = false; // the byte-order mark looked for
    bool holding = false; // a byte other than ASCII seen while the encoding is open
    bool stopped = false;
    Failure failed = Failure::None;
    QString text;
};

// Cuts decoded text into lines; a CR LF may be cut in two between chunks.
class LineSplitter
{
public:
    explicit LineSplitter(const LineReceiver &receiver) : receive(receiver) {}

    bool feed(QStringView text)
    {
        qsizetype start = afterCr && text.startsWith(u'\n') ? 1 : 0;
        afterCr = false;
        while (start < text.size()) {
            const qsizetype found = TextSearch::firstMatching(
                text.sliced(start), [](char16_t c) { return (c == u'\r') | (c == u'\n'); });
            if (found < 0) {
                partial.append(text.sliced(start));
                return true;
            }
            const qsizetype end = start + found;
            if (!hand(text.sliced(start, end - start)))
                return false;
            start = end + 1;
            if (text[end] == u'\r') {
                if (start == text.size())
                    afterCr = true;
                else if (text[start] == u'\n')
                    ++start;
            }
        }
        return true;
    }

    // A last line without terminator is still a line.
    bool finish() { return partial.isEmpty() || hand({}); }

    int count() const { return handed; }

private:
    bool hand(QStringView line)
    {
        ++handed;
        if (partial.isEmpty())
            return receive(line);
        partial.append(line);
        const bool goOn = receive(partial);
        partial.resize(0);
        return goOn;
    }

    const LineReceiver &receive;
    QString partial;
    bool afterCr = false;
    int handed = 0;
};

} // namespace

QString codecProblem()
{
    return ShiftJis::available() ? QString() : Messages::codecMissing();
}

struct LineDecoder::Parts {
    Parts(const LineReceiver &receive, Reading reading)
        : splitter(receive),
          decoder([this](QStringView text) { return splitter.feed(text); }, reading)
    {
    }
    LineSplitter splitter;
    StreamDecoder decoder;
};

LineDecoder::LineDecoder(const LineReceiver &receive, Reading reading)
    : parts(std::make_unique<Parts>(receive, reading))
{
}

LineDecoder::~LineDecoder() = default;

bool LineDecoder::feed(QByteArrayView bytes)
{
    return parts->decoder.feed(bytes);
}

LinesRead LineDecoder::finish()
{
    if (parts->decoder.finish())
        parts->splitter.finish();
    // The line that holds the failure is the one after those handed on.
    LinesRead lines;
    if (parts->decoder.failure() == Failure::BadByte)
        lines.badLine = parts->splitter.count() + 1;
    else if (parts->decoder.failure() == Failure::Nul)
        lines.nulLine = parts->splitter.count() + 1;
    return lines;
}

QString forEachLine(Files::Reader &file, const LineReceiver &receive)
{
    LineDecoder decoder(receive, Reading::Detect);
    QByteArray bytes(4 * chunk, Qt::Uninitialized);
    qsizetype n = 0;
    while ((n = file.read(bytes.data(), bytes.size())) > 0 && decoder.feed(bytes.first(n))) {
    }
    const LinesRead lines = decoder.finish();
    return n < 0 ? file.error() : failure(file.path(), lines);
}

QString failure(const QString &path, const LinesRead &read)
{
    if (read.nulLine > 0)
        return Messages::nulBytes(path, read.nulLine);
    if (read.badLine > 0)
        return Messages::undecodableBytes(path, read.badLine);
    return {};
}

ReadResult readLines(const QString &path)
{
    if (const QString problem = codecProblem(); !problem.isEmpty())
        return {{}, problem};
    Files::Reader file(path);
    ReadResult result;
    result.error = file.open();
    if (!result.error.isEmpty())
        return result;
    result.error = forEachLine(file, [&result](QStringView line) {
        result.lines.append(line.toString());
        return true;
    });
    return result;
}

std::optional<char32_t> firstUnencodable(QStringView text)
{
    QByteArray bytes;
    const qsizetype at = ShiftJis::encode(text, bytes);
    if (at < 0)
        return std::nullopt;
    if (text.at(at).isHighSurrogate() && at + 1 < text.size() && text.at(at + 1).isLowSurrogate())
        return QChar::surrogateToUcs4(text.at(at), text.at(at + 1));
    return text.at(at).unicode();
}

std::optional<char32_t> firstControlCharacter(QStringView text)
{
    const qsizetype at = TextSearch::firstMatching(text, [](char16_t c) { return isControl(c); });
    return at < 0 ? std::nullopt : std::optional<char32_t>(text.at(at).unicode());
}

std::optional<QByteArray> encodeLines(const QStringList &lines)
{
    QByteArray bytes;
    LineEncoder encoder([&bytes](QByteArrayView piece) { bytes.append(piece); });
    for (const QString &line : lines)
        encoder.appendLine(line);
    if (encoder.finish())
        return std::nullopt;
    return bytes;
}

LineEncoder::LineEncoder(Sink bytesSink) : sink(std::move(bytesSink)) {}

void LineEncoder::appendLine(QStringView line, int tag)
{
    if (failure)
        return;
    pendingLines.emplace_back(pending.size(), tag);
    pending.append(line).append(QLatin1String("\r\n"));
    if (pending.size() >= chunk)
        flush();
}

std::optional<LineEncoder::Unencodable> LineEncoder::finish()
{
    if (!failure && !pending.isEmpty())
        flush();
    return failure;
}

// Chunks end at line ends, so no character is ever split between two of them.
void LineEncoder::flush()
{
    bytes.resize(0); // keeps its room for the next chunk
    const qsizetype at = ShiftJis::encode(pending, bytes);
    if (at < 0) {
        sink(bytes);
    } else {
        const auto line = std::prev(std::upper_bound(
            pendingLines.begin(), pendingLines.end(), at,
            [](qsizetype position, const auto &start) { return position < start.first; }));
        const auto next = std::next(line);
        const qsizetype end = next == pendingLines.end() ? pending.size() : next->first;
        const QString text = pending.mid(line->first, end - line->first - 2);
        failure = Unencodable{line->second, text, *firstUnencodable(text)};
    }
    pending.resize(0);
    pendingLines.clear();
}

} // namespace TextFile
