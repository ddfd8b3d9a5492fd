#include "core/shift_jis.h"

#include "core/text_search.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(Q_OS_WIN)
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace ShiftJis
{

namespace
{

// Characters a converter would write as bytes that read back as something else: glibc
// writes ¥ and ‾ as the backslash and the tilde, Windows writes U+F8F0–U+F8F3 as the
// single bytes A0 and FD–FF, which its own strict reading refuses.
qsizetype firstWithoutCode(QStringView text)
{
    return TextSearch::firstMatching(
        text, [](char16_t c) { return (c == 0xA5) | (c == 0x203E) | (char16_t(c - 0xF8F0) < 4); });
}

#if defined(Q_OS_WIN)

constexpr UINT codePage = 932;

// Windows' table knows the JIS forms by other characters of the same codes.
QString withWindowsForms(QStringView text)
{
    static constexpr std::pair<char16_t, char16_t> forms[] = {
        {u'\u301C', u'\uFF5E'}, {u'\u2016', u'\u2225'}, {u'\u2212', u'\uFF0D'},
        {u'\u00A2', u'\uFFE0'}, {u'\u00A3', u'\uFFE1'}, {u'\u00AC', u'\uFFE2'},
        {u'\u2014', u'\u2015'},
    };
    QString replaced = text.toString();
    for (QChar &c : replaced) {
        for (const auto &[jis, windows] : forms) {
            if (c.unicode() == jis)
                c = QChar(windows);
        }
    }
    return replaced;
}

int toWide(const char *bytes, qsizetype size, char16_t *out, qsizetype room)
{
    return MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes, int(size),
                               reinterpret_cast<wchar_t *>(out), int(room));
}

// The bytes, or 0 when a character has no code: no best fit, no default character.
int toBytes(QStringView text, char *out, qsizetype room)
{
    BOOL usedDefault = FALSE;
    const int written = WideCharToMultiByte(
        codePage, WC_NO_BEST_FIT_CHARS, reinterpret_cast<const wchar_t *>(text.utf16()),
        int(text.size()), out, int(room), nullptr, &usedDefault);
    return usedDefault ? 0 : written;
}

} // namespace

bool available()
{
    return IsValidCodePage(codePage);
}

Decoded systemDecode(QByteArrayView bytes, char16_t *out)
{
    if (bytes.isEmpty())
        return {};
    if (const int units = toWide(bytes.data(), bytes.size(), out, bytes.size()); units > 0)
        return {units, -1};
    // One character at a time, to find where the bytes went wrong.
    Decoded decoded;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = isLeadByte(static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        const int units = i + length <= bytes.size()
                              ? toWide(bytes.data() + i, length, out + decoded.units, 2)
                              : 0;
        if (units <= 0) {
            decoded.badByte = i;
            return decoded;
        }
        decoded.units += units;
        i += length;
    }
    return decoded;
}

qsizetype systemEncode(QStringView text, QByteArray &out)
{
    const qsizetype noCode = firstWithoutCode(text);
    const QString part = withWindowsForms(noCode < 0 ? text : text.first(noCode));
    const qsizetype start = out.size();
    out.resize(start + 2 * part.size());
    if (const int written = toBytes(part, out.data() + start, 2 * part.size());
        written > 0 || part.isEmpty()) {
        out.truncate(start + written);
        return noCode;
    }
    // One character at a time, to find the one without a code.
    qsizetype end = start;
    for (qsizetype i = 0; i < part.size();) {
        const qsizetype length =
            part.at(i).isHighSurrogate() && i + 1 < part.size() && part.at(i + 1).isLowSurrogate()
                ? 2
                : 1;
        const int written = toBytes(QStringView(part).sliced(i, length), out.data() + end, 4);
        if (written <= 0) {
            out.truncate(end);
            return i;
        }
        end += written;
        i += length;
    }
    out.truncate(end);
    return noCode;
}

#else

// One converter each way for the whole run: opening one looks up glibc's module.
class Converter
{
public:
    Converter(const char *to, const char *from) : cd(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd != iconv_t(-1))
            iconv_close(cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool isOpen() const { return cd != iconv_t(-1); }

    // Back to the initial state, as a fresh converter.
    iconv_t fresh() const
    {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        return cd;
    }

private:
    iconv_t cd;
};

// glibc converts through its own UCS-4 ("WCHAR_T"): going there directly saves it a
// second step to UTF-16 that costs as much as the first (measured: 118 ms against 49 ms for
// 78 MB), while widening and narrowing here costs little. Every character of CP932 lies in
// the BMP; a surrogate of the text passes alone, so positions stay those of the text.
const Converter &decoder()
{
    static const Converter converter("WCHAR_T", "CP932");
    return converter;
}

const Converter &encoder()
{
    static const Converter converter("CP932", "WCHAR_T");
    return converter;
}

using Ucs4 = std::vector<char32_t>;

Ucs4 &scratch(qsizetype size)
{
    static Ucs4 buffer;
    if (buffer.size() < std::size_t(size))
        buffer.resize(std::size_t(size));
    return buffer;
}

} // namespace

bool available()
{
    return decoder().isOpen() && encoder().isOpen();
}

Decoded systemDecode(QByteArrayView bytes, char16_t *out)
{
    const iconv_t cd = decoder().fresh();
    char32_t *const wide = scratch(bytes.size()).data();
    char *in = const_cast<char *>(bytes.data());
    size_t inLeft = size_t(bytes.size());
    char *written = reinterpret_cast<char *>(wide);
    size_t room = sizeof(char32_t) * size_t(bytes.size());
    qsizetype badByte = -1;
    while (inLeft > 0 && iconv(cd, &in, &inLeft, &written, &room) == size_t(-1)) {
        // Windows reads 0x80 as U+0080; glibc knows no character there.
        if (errno == EILSEQ && static_cast<unsigned char>(*in) == 0x80) {
            const char32_t c = 0x80;
            std::memcpy(written, &c, sizeof c);
            written += sizeof c;
            room -= sizeof c;
            ++in;
            --inLeft;
            continue;
        }
        badByte = in - bytes.data();
        break;
    }
    const qsizetype units =
        (written - reinterpret_cast<char *>(wide)) / qsizetype(sizeof(char32_t));
    std::copy_n(wide, units, out);
    return {units, badByte};
}

qsizetype systemEncode(QStringView text, QByteArray &out)
{
    const iconv_t cd = encoder().fresh();
    const qsizetype noCode = firstWithoutCode(text);
    const QStringView part = noCode < 0 ? text : text.first(noCode);
    char32_t *const wide = scratch(part.size()).data();
    std::copy_n(part.utf16(), part.size(), wide);
    const qsizetype start = out.size();
    out.resize(start + 2 * part.size());
    char *in = reinterpret_cast<char *>(wide);
    size_t inLeft = sizeof(char32_t) * size_t(part.size());
    char *written = out.data() + start;
    size_t room = 2 * size_t(part.size());
    qsizetype failed = noCode;
    while (inLeft > 0 && iconv(cd, &in, &inLeft, &written, &room) == size_t(-1)) {
        const qsizetype at = (in - reinterpret_cast<char *>(wide)) / qsizetype(sizeof(char32_t));
        // Windows writes U+0080 as the byte 0x80; glibc knows no code for it.
        if (errno == EILSEQ && wide[at] == 0x80) {
            *written++ = '\x80';
            --room;
            in += sizeof(char32_t);
            inLeft -= sizeof(char32_t);
            continue;
        }
        failed = at;
        break;
    }
    out.truncate(written - out.data());
    return failed;
}

#endif

// Most of a log is ASCII, which reads and writes as itself in code page 932 on every system:
// copying its runs here and handing the converter only the rest took a 100,000-line export
// from 705 to 391 million instructions (callgrind), nearly all of them glibc's conversion
// loop. A byte below 0x80 may still be the second half of a double-byte character, so the
// converter takes a run of other bytes up to the next byte below 0x40, which never is one;
// its table still decides every byte from 0x80 on.
Decoded decode(QByteArrayView bytes, char16_t *out)
{
    const auto *const p = reinterpret_cast<const unsigned char *>(bytes.data());
    const qsizetype size = bytes.size();
    qsizetype units = 0;
    for (qsizetype i = 0; i < size;) {
        const qsizetype other = TextSearch::firstByteFrom(bytes.sliced(i), 0x80);
        const qsizetype ascii = other < 0 ? size - i : other;
        std::copy_n(p + i, ascii, out + units);
        units += ascii;
        i += ascii;
        if (i == size)
            break;
        const qsizetype boundary = TextSearch::firstMatching(
            p + i + 1, size - i - 1, [](unsigned char x) { return x < 0x40; });
        const qsizetype end = boundary < 0 ? size : i + 1 + boundary;
        const Decoded part = systemDecode(bytes.sliced(i, end - i), out + units);
        units += part.units;
        if (part.badByte >= 0)
            return {units, i + part.badByte};
        i = end;
    }
    return {units, -1};
}

// Every character below U+0080 is a single unit and a single byte, so the runs of the others
// never split a surrogate pair.
qsizetype encode(QStringView text, QByteArray &out)
{
    const char16_t *const units = text.utf16();
    const qsizetype size = text.size();
    out.reserve(out.size() + 2 * size);
    for (qsizetype i = 0; i < size;) {
        const qsizetype other =
            TextSearch::firstMatching(units + i, size - i, [](char16_t c) { return c >= 0x80; });
        const qsizetype ascii = other < 0 ? size - i : other;
        const qsizetype start = out.size();
        out.resize(start + ascii);
        std::transform(units + i, units + i + ascii, out.data() + start,
                       [](char16_t c) { return char(c); });
        i += ascii;
        if (i == size)
            break;
        const qsizetype next =
            TextSearch::firstMatching(units + i, size - i, [](char16_t c) { return c < 0x80; });
        const qsizetype end = next < 0 ? size : i + next;
        if (const qsizetype failed = systemEncode(text.sliced(i, end - i), out); failed >= 0)
            return i + failed;
        i = end;
    }
    return -1;
}

} // namespace ShiftJis
