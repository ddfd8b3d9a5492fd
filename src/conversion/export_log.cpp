#include "conversion/export_log.h"

#include "conversion/cabrillo_header.h"
#include "conversion/messages.h"
#include "conversion/output_file_name.h"
#include "conversion/qso_lines.h"
#include "conversion/required_fields.h"
#include "conversion/text_file.h"
#include "settings/settings_file.h"

#include <QDir>
#include <QFileInfo>

namespace {

std::optional<QString> unencodableEntry(const StationEntries &entries)
{
    for (const LabelledText &entry : LabelledTexts(entries)) {
        if (const auto c = TextFile::firstUnencodable(entry.text))
            return Messages::unencodableEntry(entry.label, *c);
    }
    return std::nullopt;
}

// Only reached when the encoder refused the QSO lines: find the first culprit.
QString unencodableQsoLine(const QsoLines &qso)
{
    for (qsizetype i = 0; i < qso.sourceLines.size(); ++i) {
        if (const auto c = TextFile::firstUnencodable(qso.lines.at(i)))
            return Messages::logLineUnencodable(qso.sourceLines.at(i), qso.lines.at(i), *c);
    }
    return TextFile::codecProblem();
}

// Everything that can refuse the export, before any file is touched.
std::optional<QString> refusal(const ExportRequest &request, const QString &baseName)
{
    if (const QString problem = TextFile::codecProblem(); !problem.isEmpty())
        return problem;
    if (const auto missing = CheckRequiredFields(request.entries))
        return missing;
    if (!request.outputFolder.isEmpty() && !QFileInfo(request.outputFolder).isDir())
        return Messages::noSuchFolder(request.outputFolder);
    if (IsUnsafeFileName(baseName))
        return Messages::unsafeFileName(request.entries.callsign,
                                        baseName + QLatin1String(".txt"));
    return unencodableEntry(request.entries);
}

} // namespace

ExportResult ExportCabrilloLog(const ExportRequest &request)
{
    ExportResult result;
    const StationEntries &entries = request.entries;
    const QString baseName = OutputFileName(entries.callsign);
    if (const auto refused = refusal(request, baseName)) {
        result.message = *refused;
        return result;
    }

    const CabrilloHeader header = WriteCabrilloHeader(entries);
    const QsoLines qso = WriteQsoLines(request.logText, entries.callsign, request.year);
    if (qso.error) {
        result.message = *qso.error;
        return result;
    }
    // The entries passed already, so a refusal here comes from the log text.
    const auto bytes = TextFile::encodeLines(header.lines + qso.lines);
    if (!bytes) {
        result.message = unencodableQsoLine(qso);
        return result;
    }

    if (!request.settingsPath.isEmpty()) {
        if (const auto error = SaveSettings(request.settingsPath, entries))
            result.settingsError = *error;
    }
    const QString fileName = baseName + QLatin1String(".txt");
    result.outputPath = request.outputFolder.isEmpty()
                            ? fileName
                            : QDir(request.outputFolder).filePath(fileName);
    if (const auto reason = TextFile::writeAtomically(result.outputPath, *bytes)) {
        result.message = Messages::cannotWrite(result.outputPath, *reason);
        return result;
    }
    result.written = true;
    result.qsoCount = int(qso.lines.size() - 1);
    result.shortenedAddress = header.shortenedAddress;
    return result;
}
