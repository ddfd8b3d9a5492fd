#include "conversion/text_file.h"

#include "conversion/messages.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace TextFile {

namespace {

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

bool hasNonAscii(const QByteArray &bytes)
{
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
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
        [[maybe_unused]] const QString line = decoder.decode(QByteArrayView(bytes).sliced(start, end - start));
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
    if (hasNonAscii(bytes)) {
        QStringDecoder utf8 = utf8Decoder();
        QString text = utf8.decode(bytes);
        if (!utf8.hasError())
            return {text, 0};
    }
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

ReadResult readLines(const QString &path)
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
    const Decoded decoded = decode(bytes);
    if (decoded.badLine > 0)
        return {splitLines(decoded.text), Messages::undecodableBytes(path, decoded.badLine)};
    return {splitLines(decoded.text), {}};
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
    QString text;
    qsizetype size = 0;
    for (const QString &line : lines)
        size += line.size() + 2;
    text.reserve(size);
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    QStringEncoder encoder(codecName);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
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
