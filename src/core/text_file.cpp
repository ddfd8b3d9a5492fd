#include "core/text_file.h"

#include "core/files.h"
#include "core/messages.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cstring>

namespace TextFile
{

namespace
{

const char *const codecName = "windows-31j";
const QByteArray utf8Bom("\xEF\xBB\xBF");

// Stateless, so a double-byte character cut off at the end counts as an error.
QStringDecoder cp932Decoder()
{
    return QStringDecoder(codecName, QStringDecoder::Flag::Stateless);
}

QStringDecoder utf8Decoder()
{
    return QStringDecoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
}

enum class Utf8Form {
    Invalid,     // not UTF-8: Shift_JIS text, as a rule
    Ascii,       // the same in either reading
    TwoByteOnly, // only characters below U+0800, as pairs of Shift_JIS half-width kana also read
    Wide,        // characters from U+0800 on: Japanese written in UTF-8
};

// Stops at the first byte that UTF-8 does not allow, which in a Shift_JIS file comes with
// its first Japanese text.
Utf8Form utf8Form(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = p + bytes.size();
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
            return Utf8Form::Invalid;
        }
        if (end - p <= trail || p[1] < low || p[1] > high)
            return Utf8Form::Invalid;
        for (int i = 2; i <= trail; ++i) {
            if (p[i] < 0x80 || p[i] > 0xBF)
                return Utf8Form::Invalid;
        }
        form = trail > 1 ? Utf8Form::Wide : std::max(form, Utf8Form::TwoByteOnly);
        p += trail + 1;
    }
    return form;
}

// Decodes line by line to find where the bytes went wrong. Neither CR nor LF can be a
// trail byte in CP932 or UTF-8, so cutting the bytes at either is safe in both.
Decoded findBadLine(QByteArrayView bytes, QStringDecoder (*makeDecoder)())
{
    int lineNumber = 1;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] != '\r' && bytes[end] != '\n')
            ++end;
        QStringDecoder decoder = makeDecoder();
        [[maybe_unused]] const QString line = decoder.decode(bytes.sliced(start, end - start));
        if (decoder.hasError()) {
            QStringDecoder front = makeDecoder();
            return {front.decode(bytes.first(start)), lineNumber};
        }
        start = end + 1;
        if (end + 1 < bytes.size() && bytes[end] == '\r' && bytes[end + 1] == '\n')
            ++start;
        ++lineNumber;
    }
    return {{}, lineNumber}; // the whole failed, yet no line did: blame the last
}

Decoded decodeWith(QByteArrayView bytes, QStringDecoder (*makeDecoder)())
{
    QStringDecoder decoder = makeDecoder();
    Decoded result;
    result.text = decoder.decode(bytes);
    if (decoder.hasError())
        return findBadLine(bytes, makeDecoder);
    return result;
}

// Line of a byte position, where lines end at CR LF, at a lone CR or at a lone LF.
int lineNumberAt(QByteArrayView bytes, qsizetype position)
{
    const QByteArrayView front = bytes.first(position);
    return int(front.count('\r') + front.count('\n') - front.count("\r\n")) + 1;
}

// ICU takes a U+FEFF at the very start for a byte-order mark and drops it without an error;
// that character has no CP932 form either, so it must fail like any other.
// Input methods and web pages type these JIS X 0208 characters in their JIS form; Windows'
// code page knows the same codes by other characters (〜 and ～ are both 81 60).
constexpr std::pair<char16_t, char16_t> jisForms[] = {
    {u'\u301C', u'\uFF5E'}, {u'\u2016', u'\u2225'}, {u'\u2212', u'\uFF0D'}, {u'\u00A2', u'\uFFE0'},
    {u'\u00A3', u'\uFFE1'}, {u'\u00AC', u'\uFFE2'}, {u'\u2014', u'\u2015'},
};

QString withWindowsForms(QStringView text)
{
    QString replaced = text.toString();
    for (QChar &c : replaced) {
        for (const auto &[jis, windows] : jisForms) {
            if (c == jis)
                c = windows;
        }
    }
    return replaced;
}

std::optional<QByteArray> encodeStrictly(QStringView text)
{
    // Stateless, so a surrogate left alone at the end counts as an error, not as pending.
    QStringEncoder encoder(codecName, QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(withWindowsForms(text));
    if (encoder.hasError() || text.startsWith(QChar(0xFEFF)))
        return std::nullopt;
    return bytes;
}

} // namespace

QString codecProblem()
{
    return QStringEncoder(codecName).isValid() ? QString() : Messages::codecMissing();
}

Decoded decode(QByteArrayView bytes)
{
    if (bytes.startsWith(utf8Bom)) {
        return decodeWith(bytes.sliced(utf8Bom.size()), utf8Decoder);
    }
    const Utf8Form form = utf8Form(bytes);
    if (form == Utf8Form::Invalid || form == Utf8Form::Ascii)
        return decodeWith(bytes, cp932Decoder);
    // Some Shift_JIS text is valid UTF-8 as well: half-width kana in pairs ("ﾅｶ" is "Ŷ"),
    // or a kanji followed by one ("羝ｸ" is "㶸"). Japanese written in UTF-8 can be written
    // in Shift_JIS too; when the UTF-8 reading could not, the tool's own file is meant.
    Decoded utf8 = decodeWith(bytes, utf8Decoder);
    if (form == Utf8Form::Wide && encodeStrictly(utf8.text))
        return utf8;
    Decoded cp932 = decodeWith(bytes, cp932Decoder);
    return cp932.badLine == 0 ? cp932 : utf8;
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && text.at(end) != QLatin1Char('\r') && text.at(end) != QLatin1Char('\n'))
            ++end;
        lines.append(text.mid(start, end - start));
        start = end + 1;
        if (end + 1 < size && text.at(end) == QLatin1Char('\r') &&
            text.at(end + 1) == QLatin1Char('\n'))
            ++start;
    }
    return lines;
}

TextRead readText(const QString &path)
{
    if (const QString problem = codecProblem(); !problem.isEmpty())
        return {{}, problem};
    const Files::Read file = Files::readAll(path);
    if (!file.error.isEmpty())
        return {{}, file.error};
    const QByteArray &bytes = file.bytes;
    // zLOG writes no NUL; one means a binary file, whose text would only be garbage.
    if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
        return {{}, Messages::nulBytes(path, lineNumberAt(bytes, nul))};
    Decoded decoded = decode(bytes);
    if (decoded.badLine > 0)
        return {std::move(decoded.text), Messages::undecodableBytes(path, decoded.badLine)};
    return {std::move(decoded.text), {}};
}

ReadResult readLines(const QString &path)
{
    const TextRead read = readText(path);
    return {splitLines(read.text), read.error};
}

std::optional<char32_t> firstUnencodable(const QString &text)
{
    if (encodeStrictly(text))
        return std::nullopt;
    // Rare path: find the culprit one character at a time.
    // Walked by hand: toUcs4 loses a surrogate left alone where a fixed-width field cut a
    // pair, and QString::fromUcs4 would drop a U+FEFF as a byte-order mark.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair =
            text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate();
        const QStringView character = QStringView(text).sliced(i, pair ? 2 : 1);
        if (!encodeStrictly(character))
            return pair ? QChar::surrogateToUcs4(character[0], character[1])
                        : char32_t(character[0].unicode());
        i += pair ? 1 : 0;
    }
    return std::nullopt;
}

std::optional<QByteArray> encodeLines(const QStringList &lines)
{
    LineEncoder encoder;
    for (const QString &line : lines)
        encoder.appendLine(line);
    if (encoder.finish())
        return std::nullopt;
    return encoder.takeBytes();
}

LineEncoder::LineEncoder() = default;

void LineEncoder::appendLine(QStringView line, int tag)
{
    if (failure)
        return;
    pendingLines.emplace_back(pending.size(), tag);
    pending.append(line).append(QLatin1String("\r\n"));
    if (pending.size() >= 64 * 1024)
        flush();
}

std::optional<LineEncoder::Unencodable> LineEncoder::finish()
{
    if (!failure)
        flush();
    return failure;
}

// Chunks end at line ends, so no character is ever split between two of them.
void LineEncoder::flush()
{
    if (const auto chunk = encodeStrictly(pending)) {
        bytes += *chunk;
    } else {
        for (std::size_t i = 0; i < pendingLines.size(); ++i) {
            const qsizetype start = pendingLines[i].first;
            const qsizetype end =
                i + 1 < pendingLines.size() ? pendingLines[i + 1].first : pending.size();
            const QString line = pending.mid(start, end - start - 2);
            if (const auto c = firstUnencodable(line)) {
                failure = Unencodable{pendingLines[i].second, line, *c};
                break;
            }
        }
        if (!failure) // cannot happen line by line, but never pass a failed chunk as written
            failure = Unencodable{pendingLines.front().second, QString(), U'\uFFFD'};
    }
    pending.resize(0); // keeps its room for the next chunk
    pendingLines.clear();
}

std::optional<char32_t> firstControlCharacter(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() <= 0x9F))
            return c.unicode();
    }
    return std::nullopt;
}

} // namespace TextFile
