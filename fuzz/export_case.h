#pragma once

// A whole export, as the window's button or the convert command runs it. The first bytes
// choose the entries, the rest is the log text. Whatever the entries, a refused export
// leaves every file as it was, and a written one is <callsign>.txt in the chosen folder,
// holding exactly the header and QSO lines.
//
// Input layout:
//   byte 0   contest: the Let's contest, the club contest, empty, or free text A (modulo 4)
//   byte 1   callsign: one of the 24 awkward ones below, or (24 to 31, modulo 32) free text B
//   byte 2   entries to leave empty, one bit each: category, name, address, key, power,
//            mail, telephone, soapbox
//   byte 3   bits 0-1 output folder (the folder, with a trailing slash, missing, a file),
//            bit 2 an older output file, bit 3 save the settings, bits 4-5 senior,
//            bits 6-7 donor
//   byte 4   bits 0-3 the entry that gets free text C (12 and more: none), bits 4-6 the year
//   then A, B and C, each one length byte and that many bytes of UTF-8
//   then the log text in Shift_JIS, as far as it decodes, its line ends as they stand

#include "fuzz_support.h"

#include "conversion/cabrillo_header.h"
#include "conversion/export_log.h"
#include "conversion/output_file_name.h"
#include "conversion/qso_lines.h"
#include "conversion/required_fields.h"
#include "core/contests.h"
#include "core/text_file.h"
#include "log_support.h"
#include "settings/settings_file.h"

#include <QDateTime>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>
#include <array>
#include <map>

namespace Fuzz
{

namespace ExportCase
{

// Reads the input front to back; past its end every byte reads as 0.
class Input
{
public:
    explicit Input(const QByteArray &input) : all(input) {}

    uint8_t byte() { return pos < all.size() ? uint8_t(all.at(pos++)) : 0; }

    QString text()
    {
        const qsizetype length = std::min<qsizetype>(byte(), all.size() - pos);
        const QString s = QString::fromUtf8(all.constData() + pos, length);
        pos += length;
        return s;
    }

    QByteArray rest()
    {
        const QByteArray bytes = all.mid(pos);
        pos = all.size();
        return bytes;
    }

private:
    const QByteArray all;
    qsizetype pos = 0;
};

// Callsigns that test the file name: portable designators, folder steps, separators of either
// system, control characters, line breaks, nothing in front of or behind the slash.
inline const std::array<const char16_t *, 24> callsigns{
    u"JA1ABC",    u"JA1ABC/1",    u"KH0/JA1ABC",  u"JA1ABC/P",
    u"JA1ABC/MM", u"/",           u"JA1ABC/",     u"/JA1ABC",
    u"..",        u".",           u"../JA1ABC",   u"JA1ABC/..",
    u"../../x",   u"..\\JA1ABC",  u"JA1\\ABC",    u"JA1\u0001ABC",
    u"JA1ABC\t",  u"JA1\nABC",    u"JA1ABC\r\nX", u"ＪＡ１ＡＢＣ",
    u"A/B/C",     u"JA1ABC/1/..", u"\u007F",      u"JA1ABC\u0085"};

inline const std::array<int, 8> years{2026, 2024, 1999, 2000, 0, 9999, 10000, 1};

inline QString textOf(const char16_t *s)
{
    return QString::fromUtf16(s);
}

inline StationEntries chooseEntries(Input &in, QString &freeA, QString &freeB, QString &freeC,
                                    int &year, uint8_t &flags)
{
    const uint8_t contestChoice = in.byte();
    const uint8_t callsignChoice = in.byte();
    const uint8_t empty = in.byte();
    flags = in.byte();
    const uint8_t freeTarget = in.byte();
    freeA = in.text();
    freeB = in.text();
    freeC = in.text();

    StationEntries e = InitialStationEntries();
    const QString contests[] = {Contests::lets.name, Contests::club.name, QString(), freeA};
    e.contest = contests[contestChoice % 4];
    const size_t callsignIndex = callsignChoice % 32;
    e.callsign = callsignIndex < callsigns.size() ? textOf(callsigns[callsignIndex]) : freeB;
    e.category = QStringLiteral("7MHzｼﾝｸﾞﾙ部門");
    e.antenna = QStringLiteral("DP（IV、R-DP、V-DP、短縮DP)");
    e.name = QStringLiteral("山田　太郎");
    e.address = QStringLiteral("東京都千代田区\r\n千代田１－１");
    e.equipment = QStringLiteral("IC-7300");
    e.key = QStringLiteral("縦振れ電鍵");
    e.power = QStringLiteral("50");
    e.telephone = QStringLiteral("03-1234-5678");
    e.mail = QStringLiteral("ja1abc@example.jp");
    e.soapbox = QStringLiteral("楽しかったです\r\n\r\n来年も参加します\r\n");
    e.senior = (flags >> 4) & 3;
    e.donor = (flags >> 6) & 3;

    QString *const emptiable[] = {&e.category, &e.name, &e.address,   &e.key,
                                  &e.power,    &e.mail, &e.telephone, &e.soapbox};
    for (int bit = 0; bit < 8; ++bit) {
        if (empty & (1 << bit))
            emptiable[bit]->clear();
    }
    QString *const freeTexts[] = {&e.category, &e.antenna,   &e.logType,   &e.separatorSign,
                                  &e.name,     &e.address,   &e.equipment, &e.key,
                                  &e.power,    &e.telephone, &e.mail,      &e.soapbox};
    if ((freeTarget & 15) < 12)
        *freeTexts[freeTarget & 15] = freeC;
    year = years[(freeTarget >> 4) & 7];
    return e;
}

// Every file and folder under the scratch folder with its content.
inline std::map<QString, QByteArray> snapshot(const QDir &root)
{
    std::map<QString, QByteArray> files;
    QDirIterator it(root.path(),
                    QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        files[path] = info.isDir() ? QByteArray("<folder>") : readFile(path);
    }
    return files;
}

// What the current folder holds, with sizes and times, to see a file written there.
inline std::map<QString, QString> currentFolderListing()
{
    std::map<QString, QString> files;
    const QFileInfoList infos = QDir::current().entryInfoList(QDir::AllEntries | QDir::Hidden |
                                                              QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &info : infos) {
        files[info.fileName()] = QString::number(info.size()) + QLatin1Char(' ') +
                                 info.lastModified().toString(Qt::ISODateWithMs);
    }
    return files;
}

inline std::map<QString, QByteArray> without(std::map<QString, QByteArray> files,
                                             const QStringList &paths)
{
    for (const QString &path : paths)
        files.erase(path);
    return files;
}

// A refusal for a character that Shift_JIS cannot hold names that character: the first in
// the entries, which are checked first, else, when no control character in the header came
// before, the first in the QSO lines.
inline void checkNamesCulprit(const ExportRequest &request, const QsoLines &qso,
                              const QString &message)
{
    const StationEntries &entries = request.entries;
    const bool folderUsable =
        request.outputFolder.isEmpty() || QFileInfo(request.outputFolder).isDir();
    const QString baseName = OutputFileName(entries.callsign);
    if (CheckRequiredFields(entries) || !folderUsable || IsUnsafeFileName(baseName) ||
        CannotNameAFile(baseName))
        return;
    for (const LabelledText &entry : LabelledTexts(entries)) {
        if (const auto c = TextFile::firstUnencodable(entry.text)) {
            FUZZ_CHECK(message.contains(characterCode(*c)));
            return;
        }
    }
    // A control character in the header is refused before the QSO lines are looked at.
    for (const QString &line : WriteCabrilloHeader(entries).lines) {
        if (TextFile::firstControlCharacter(line))
            return;
    }
    if (qso.error)
        return;
    for (const QString &line : qso.lines) {
        if (const auto c = TextFile::firstUnencodable(line)) {
            FUZZ_CHECK(message.contains(characterCode(*c)));
            return;
        }
    }
}

} // namespace ExportCase

inline void runExportCase(const QByteArray &input)
{
    using namespace ExportCase;
    static const QDir root = scratch();
    static const QString outDir = root.filePath(QStringLiteral("out"));
    static const QString outsideFile = root.filePath(QStringLiteral("outside.txt"));
    static const bool prepared = [] {
        writeFile(outsideFile, "not to be touched\r\n");
        return true;
    }();
    (void)prepared;

    Input in(input);
    QString freeA, freeB, freeC;
    int year = 0;
    uint8_t flags = 0;
    const StationEntries entries = chooseEntries(in, freeA, freeB, freeC, year, flags);

    // A fresh output folder each time, so that one run cannot hide the next one's writes.
    QDir(outDir).removeRecursively();
    FUZZ_CHECK(root.mkdir(QStringLiteral("out")));

    ExportRequest request;
    request.entries = entries;
    const QString logText = shiftJisText(in.rest());
    request.log = LinesOfLogText(logText);
    request.year.fallback = year;
    const QString folders[] = {outDir, outDir + QLatin1Char('/'),
                               root.filePath(QStringLiteral("missing")), outsideFile};
    request.outputFolder = folders[flags & 3];
    const bool folderUsable = (flags & 3) < 2;
    if (flags & 8)
        request.settingsPath = QDir(outDir).filePath(settingsFileName);

    const QString baseName = OutputFileName(entries.callsign);
    const QString fileName = baseName + QLatin1String(".txt");
    // Joined by hand: QDir::filePath would take a name such as ":T.txt" for a resource path
    // and give it back unchanged.
    const QString expectedPath = outDir + QLatin1Char('/') + fileName;
    if ((flags & 4) && !IsUnsafeFileName(baseName))
        tryWriteFile(expectedPath, "older file\r\n");
    if (flags & 8)
        writeFile(request.settingsPath, "older settings\r\n");

    // What a written file must hold, worked out from the pieces with the reference codec.
    const QsoLines qso = ConvertLogText(logText, entries.callsign, year);
    const std::optional<QByteArray> expectedBytes =
        qso.error ? std::nullopt
                  : referenceEncoding(WriteCabrilloHeader(entries).lines + qso.lines);

    const std::map<QString, QByteArray> before = snapshot(root);
    const std::map<QString, QString> currentBefore = currentFolderListing();
    const ExportResult result = ExportCabrilloLog(request);
    const std::map<QString, QByteArray> after = snapshot(root);
    // A name that escapes the output folder lands in the current folder, as a relative path.
    FUZZ_CHECK(currentFolderListing() == currentBefore);
    // TORNAK_FUZZ_VERBOSE=1 shows what an input did, for reading a saved crash.
    static const bool verbose = qEnvironmentVariableIsSet("TORNAK_FUZZ_VERBOSE");
    if (verbose)
        std::fprintf(stderr, "written: %d, path: %s, message: %s\n", int(result.written),
                     qPrintable(result.outputPath), qPrintable(result.message));

    if (!result.written) {
        FUZZ_CHECK(!result.message.isEmpty());
        FUZZ_CHECK(before == after);
        checkNamesCulprit(request, qso, result.message);
        return;
    }

    FUZZ_CHECK(result.message.isEmpty());
    FUZZ_CHECK(expectedBytes.has_value());
    FUZZ_CHECK(folderUsable);
    FUZZ_CHECK(!IsUnsafeFileName(baseName) && !CannotNameAFile(baseName));
    FUZZ_CHECK(result.qsoCount == qso.sourceLines.size());
    FUZZ_CHECK(QDir::cleanPath(result.outputPath) == QDir::cleanPath(expectedPath));
    const QByteArray bytes = readFile(expectedPath);
    FUZZ_CHECK(bytes.startsWith("START-OF-LOG: 2.0\r\n"));
    FUZZ_CHECK(bytes.endsWith("END-OF-LOG: \r\n"));
    FUZZ_CHECK(bytes == *expectedBytes);

    // Besides the Cabrillo file only the settings may have changed, and they hold the
    // entries unless saving them was reported as failed.
    QStringList changed{expectedPath};
    if (!request.settingsPath.isEmpty()) {
        changed.append(request.settingsPath);
        if (result.settingsError.isEmpty() && expectedPath != request.settingsPath)
            FUZZ_CHECK(readFile(request.settingsPath) == referenceEncoding(SettingsLines(entries)));
    } else {
        FUZZ_CHECK(result.settingsError.isEmpty());
    }
    FUZZ_CHECK(without(before, changed) == without(after, changed));
}

} // namespace Fuzz
