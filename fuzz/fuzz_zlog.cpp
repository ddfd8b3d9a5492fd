// Arbitrary bytes as one of zLOG's binary logs. Given straight from libFuzzer's buffer, so
// that AddressSanitizer sees any read past the end of the file.

#include "fuzz_support.h"

#include "input/zlog_file.h"
#include "log_support.h"

#include <vector>

namespace
{

bool startsWithHeaderLine(const QByteArray &text)
{
    const QByteArrayView line = QByteArrayView(text).first(text.indexOf("\r\n"));
    return line == "mon day time  callsign      sent         rcvd      multi   MHz mode pts memo" ||
           line == "mon day time  callsign      sent                              rcvd        "
                   "                   multi   MHz mode pts memo";
}

bool isShiftJis(const QByteArray &text)
{
    std::vector<char16_t> units(std::size_t(text.size()));
    return ShiftJis::decode(text, units.data()).badByte < 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    ZlogFile::isBinaryLog(bytes);
    const ZlogExportText exported = ExportZlogBytes(bytes, QStringLiteral("log.ZLOX"));
    if (!exported.error.isEmpty()) {
        FUZZ_CHECK(exported.text.isEmpty());
        return 0;
    }
    FUZZ_CHECK(exported.text.endsWith("\r\n"));
    FUZZ_CHECK(startsWithHeaderLine(exported.text));
    FUZZ_CHECK(isShiftJis(exported.text));
    return 0;
}
