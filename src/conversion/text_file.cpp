#include "conversion/text_file.h"

#include "conversion/messages.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

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

// Well-formed UTF-8 holding at least one non-ASCII character. Stops at the first byte
// that UTF-8 does not allow, which in a Shift_JIS file comes with its first Japanese text.
bool isUtf8Text(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = p + bytes.size();
    bool nonAscii = false;
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
        nonAscii = true;
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
            return false;
        }
        if (end - p <= trail || p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i <= trail; ++i) {
            if (p[i] < 0x80 || p[i] > 0xBF)
                return false;
        }
        p += trail + 1;
    }
    return nonAscii;
}

// Decodes line by line to find where the bytes went wrong. Neither CR nor LF can be a
// trail byte in CP932 or UTF-8, so cutting the bytes at CR is safe in both.
Decoded findBadLine(const QByteArray &bytes, QStringDecoder (*makeDecoder)())
{
    int lineNumber = 1;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\r', start);
        if (end < 0)
            end = bytes.size();
        QStringDecoder decoder = makeDecoder();
        [[maybe_unused]] const QString line =
            decoder.decode(QByteArrayView(bytes).sliced(start, end - start));
        if (decoder.hasError()) {
            QStringDecoder front = makeDecoder();
            return {front.decode(bytes.left(start)), lineNumber};
        }
        start = end + 1;
        if (start < bytes.size() && bytes.at(start) == '\n')
            ++start;
        ++lineNumber;
    }
    return {{}, lineNumber}; // the whole failed, yet no line did: blame the last
}

Decoded decodeWith(const QByteArray &bytes, QStringDecoder (*makeDecoder)())
{
    QStringDecoder decoder = makeDecoder();
    Decoded result;
    result.text = decoder.decode(bytes);
    if (decoder.hasError())
        return findBadLine(bytes, makeDecoder);
    return result;
}

// Line of a byte position, where lines end at CR LF or at a lone CR.
int lineNumberAt(const QByteArray &bytes, qsizetype position)
{
    return int(QByteArrayView(bytes).first(position).count('\r')) + 1;
}

} // namespace

QString codecProblem()
{
    return QStringEncoder(codecName).isValid() ? QString() : Messages::codecMissing();
}

Decoded decode(const QByteArray &bytes)
{
    if (bytes.startsWith(utf8Bom)) {
        return decodeWith(bytes.mid(utf8Bom.size()), utf8Decoder);
    }
    if (isUtf8Text(bytes))
        return decodeWith(bytes, utf8Decoder);
    return decodeWith(bytes, cp932Decoder);
}

QStringList splitLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype size = text.size();
    while (start < size) {
        qsizetype end = text.indexOf(QLatin1Char('\r'), start);
        if (end < 0) {
            lines.append(text.mid(start));
            break;
        }
        lines.append(text.mid(start, end - start));
        start = end + 1;
        if (start < size && text.at(start) == QLatin1Char('\n'))
            ++start;
    }
    return lines;
}

TextRead readText(const QString &path)
{
    if (const QString problem = codecProblem(); !problem.isEmpty())
        return {{}, problem};
    if (QFileInfo(path).isDir())
        return {{}, Messages::isFolder(path)};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, Messages::cannotOpen(path, file.errorString())};
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {{}, Messages::cannotOpen(path, file.errorString())};
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
    QStringEncoder encoder(codecName);
    [[maybe_unused]] const QByteArray encoded = encoder.encode(text);
    if (!encoder.hasError())
        return std::nullopt;
    // Rare path: find the culprit one character at a time.
    for (char32_t c : text.toUcs4()) {
        QStringEncoder single(codecName);
        [[maybe_unused]] const QByteArray encodedChar = single.encode(QString::fromUcs4(&c, 1));
        if (single.hasError())
            return c;
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
    QStringEncoder encoder(codecName);
    const QByteArray chunk = encoder.encode(pending);
    if (!encoder.hasError()) {
        bytes += chunk;
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
    pending.clear();
    pendingLines.clear();
}

std::optional<QString> writeAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    if (file.write(bytes) != bytes.size() || !file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace TextFile
