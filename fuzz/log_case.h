#pragma once

// Arbitrary bytes as zLOG's text export: loaded as the window loads a dropped file, with the
// multiplier question answered, then converted with fixed entries as far as the encoded
// Cabrillo text.

#include "fuzz_support.h"

#include "conversion/cabrillo_header.h"
#include "conversion/qso_lines.h"
#include "core/contests.h"
#include "core/text_file.h"
#include "input/log_loading.h"
#include "input/zlog_file.h"
#include "log_support.h"

namespace Fuzz
{

namespace LogCase
{

inline StationEntries clubEntries()
{
    StationEntries e = InitialStationEntries();
    e.contest = Contests::club.name;
    e.category = QStringLiteral("7MHzｼﾝｸﾞﾙ部門");
    e.antenna = QStringLiteral("DP（IV、R-DP、V-DP、短縮DP)");
    e.callsign = QStringLiteral("JA1ABC/1");
    e.name = QStringLiteral("山田　太郎");
    e.address = QStringLiteral("東京都千代田区千代田１－１");
    e.equipment = QStringLiteral("IC-7300");
    e.key = QStringLiteral("縦振れ電鍵");
    e.power = QStringLiteral("50");
    e.telephone = QStringLiteral("03-1234-5678");
    e.mail = QStringLiteral("ja1abc@example.jp");
    e.senior = 1;
    e.donor = 2;
    e.soapbox = QStringLiteral("楽しかったです\r\n\r\n来年も参加します\r\n");
    return e;
}

// The answer lands in columns 28 and 29 and nowhere else; no line grows or shrinks.
inline void checkPatch(const QStringList &lines, const QStringList &patched, bool asked)
{
    FUZZ_CHECK(lines.size() == patched.size());
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &before = lines.at(i);
        const QString &after = patched.at(i);
        FUZZ_CHECK(before.size() == after.size());
        FUZZ_CHECK(before.left(27) == after.left(27));
        FUZZ_CHECK(before.mid(29) == after.mid(29));
        if (!asked)
            FUZZ_CHECK(before == after);
    }
}

inline void checkQsoLines(const QsoLines &qso)
{
    if (qso.error) {
        FUZZ_CHECK(!qso.error->isEmpty());
        return;
    }
    FUZZ_CHECK(qso.lines.size() == qso.sourceLines.size() + 1);
    FUZZ_CHECK(qso.lines.last() == CabrilloTags::endOfLog);
    int previous = 0;
    for (qsizetype i = 0; i < qso.sourceLines.size(); ++i) {
        FUZZ_CHECK(qso.sourceLines.at(i) > previous);
        previous = qso.sourceLines.at(i);
        FUZZ_CHECK(qso.lines.at(i).startsWith(CabrilloTags::qso));
    }
}

} // namespace LogCase

inline void runLogCase(const QByteArray &bytes)
{
    using namespace LogCase;
    static const StationEntries entries = clubEntries();
    static const QString path = scratch().filePath(QStringLiteral("log.txt"));
    const QString answer = QStringLiteral("13");
    constexpr int year = 2026;

    writeFile(path, bytes);
    int questions = 0;
    const LoadedLog log = LoadLogFile(path, [&](const QString &prompt) {
        FUZZ_CHECK(!prompt.isEmpty());
        ++questions;
        return answer;
    });
    FUZZ_CHECK(questions <= 1);
    FUZZ_CHECK(log.asked == (questions == 1));

    // A zLOG log of its own loads as its export, or fails as that does; fuzz_zlog looks
    // into the export.
    if (ZlogFile::isBinaryLog(bytes)) {
        const ZlogExportText exported = ExportZlogBytes(bytes, path);
        FUZZ_CHECK(log.error == exported.error);
        FUZZ_CHECK(log.text.isEmpty() == !exported.error.isEmpty());
        return;
    }

    // The load sees the same lines as any reader of the file, or fails as it does.
    TextFile::ReadResult read = TextFile::readLines(path);
    // DOS's end-of-file byte behind the last line end is no line of the log.
    if (read.error.isEmpty() &&
        (bytes == "\x1a" || bytes.endsWith("\n\x1a") || bytes.endsWith("\r\x1a")))
        read.lines.removeLast();
    if (!read.error.isEmpty()) {
        // A load that fails hands back nothing and asks nothing.
        FUZZ_CHECK(log.error == read.error);
        FUZZ_CHECK(log.text.isEmpty());
        FUZZ_CHECK(!log.asked);
        return;
    }
    FUZZ_CHECK(log.error.isEmpty());
    QStringList loaded = log.text.split(QStringLiteral("\r\n"));
    loaded.removeLast(); // behind the last line's CR LF
    checkPatch(read.lines, loaded, log.asked);

    const QsoLines qso = ConvertLogText(log.text, entries.callsign, year);
    checkQsoLines(qso);
    if (qso.error)
        return;

    const QStringList lines = WriteCabrilloHeader(entries).lines + qso.lines;
    const std::optional<QByteArray> encoded = TextFile::encodeLines(lines);
    const std::optional<QByteArray> reference = referenceEncoding(lines);
    FUZZ_CHECK(encoded.has_value() == reference.has_value());
    if (encoded) {
        FUZZ_CHECK(*encoded == *reference);
        FUZZ_CHECK(encoded->endsWith("\r\nEND-OF-LOG: \r\n"));
        return;
    }
    // The entries can be written, so one of the QSO lines holds what cannot; the export's
    // message names that line and the character.
    bool culpritFound = false;
    for (const QString &line : qso.lines)
        culpritFound = culpritFound || TextFile::firstUnencodable(line).has_value();
    FUZZ_CHECK(culpritFound);
}

} // namespace Fuzz
