#pragma once

#include <QByteArray>
#include <QStringView>

// Shift_JIS as Windows reads and writes it (code page 932), through the platform's own
// converter: iconv on Linux and other Unix systems, the code page functions on Windows.
// Runs of ASCII, which both read and write as themselves, are copied without it.
// Strict both ways: nothing is replaced, fitted or dropped. Where the two tables differ,
// Windows' decides: 0x80 is U+0080, U+00A5 and U+203E have no code (they are not the
// backslash and tilde), and the JIS forms that Linux and macOS input methods type
// (〜 ‖ − ¢ £ ¬ —) are written as the codes of the same JIS characters.
namespace ShiftJis
{

// Whether a byte begins a double-byte character: 81–9F and E0–FC.
constexpr bool isLeadByte(unsigned char byte)
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// False where the system has no such converter (a C library without CP932).
bool available();

struct Decoded {
    qsizetype units = 0;    // UTF-16 units written
    qsizetype badByte = -1; // offset of the first byte that begins no character
};

// Decodes bytes that end at a character boundary into out, which has room for one unit a
// byte. A double-byte character cut off at the end is a bad byte.
Decoded decode(QByteArrayView bytes, char16_t *out);

// Appends the bytes of the text to out. Gives back the position in the text of the first
// character that has no Shift_JIS code (of the first half of a surrogate pair), or -1;
// out then holds the bytes in front of it.
qsizetype encode(QStringView text, QByteArray &out);

// The same through the system's converter alone, without the shortcut for ASCII that decode
// and encode take: what they must agree with on every input.
Decoded systemDecode(QByteArrayView bytes, char16_t *out);
qsizetype systemEncode(QStringView text, QByteArray &out);

} // namespace ShiftJis
