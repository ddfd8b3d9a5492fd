#include "conversion/export_log.h"

#include "conversion/cabrillo_header.h"
#include "conversion/output_file_name.h"
#include "conversion/qso_lines.h"
#include "conversion/required_fields.h"
#include "core/files.h"
#include "core/messages.h"
#include "core/text_file.h"
#include "settings/settings_file.h"

#include <QFileInfo>

namespace
{

std::optional<QString> unencodableEntry(const StationEntries &entries)
{
    for (const LabelledText &entry : LabelledTexts(entries)) {
        if (const auto c = TextFile::firstUnencodable(entry.text))
            return Messages::unencodableEntry(entry.label, *c);
    }
    return std::nullopt;
}

QString outputPath(const QString &folder, const QString &fileName)
{
    if (folder.isEmpty())
        return fileName;
    return folder.endsWith(QLatin1Char('/')) ? folder + fileName
                                             : folder + QLatin1Char('/') + fileName;
}

std::optional<QString> outputFolderProblem(const QString &folder)
{
    if (folder.isEmpty())
        return std::nullopt;
    const QFileInfo info(Files::diskPath(folder));
    if (info.isDir())
        return std::nullopt;
    // A file of that name exists: "there is no folder" would send the entrant looking for it.
    if (info.exists())
        return Messages::notAFolder(folder);
    return Files::nameWasLost(folder) ? Messages::unreadableFileName(folder)
                                      : Messages::noSuchFolder(folder);
}

// Everything that can refuse the export, before any file is touched.
std::optional<QString> refusal(const ExportRequest &request, const QString &baseName,
                               const QString &path)
{
    if (const QString problem = TextFile::codecProblem(); !problem.isEmpty())
        return problem;
    if (const auto missing = CheckRequiredFields(request.entries))
        return missing;
    if (const auto problem = outputFolderProblem(request.outputFolder))
        return problem;
    if (CannotNameAFile(baseName))
        return Messages::noFileNameFromCallsign(request.entries.callsign);
    if (IsUnsafeFileName(baseName))
        return UnsafeFileNameMessage(request.entries.callsign, baseName);
    if (const auto problem = Files::refusalToReplace(path))
        return problem;
    // Written over, the log or the settings would be lost, and the next run would read a
    // Cabrillo file in their place.
    if (Files::sameFile(path, request.logPath))
        return Messages::outputIsTheLog(path);
    if (Files::sameFile(path, request.settingsPath) || Files::sameFile(path, request.settingsRead))
        return Messages::outputIsTheSettings(path);
    return unencodableEntry(request.entries);
}

// A control character in a header line would reach the reader of the file as it stands.
std::optional<QString> controlCharacterRefusal(const CabrilloHeader &header)
{
    for (qsizetype i = 0; i < header.lines.size(); ++i) {
        if (const auto c = TextFile::firstControlCharacter(header.lines.at(i)))
            return Messages::controlCharacterInEntry(header.sources.at(i), *c);
    }
    return std::nullopt;
}

} // namespace

ExportResult ExportCabrilloLog(const ExportRequest &request)
{
    ExportResult result;
    const StationEntries &entries = request.entries;
    const QString baseName = OutputFileName(entries.callsign);
    const QString fileName = baseName + QLatin1String(".txt");
    const QString path = outputPath(request.outputFolder, fileName);
    if (const auto refused = refusal(request, baseName, path)) {
        result.message = *refused;
        return result;
    }

    const CabrilloHeader header = WriteCabrilloHeader(entries);
    if (const auto refused = controlCharacterRefusal(header)) {
        result.message = *refused;
        return result;
    }

    // Lines are encoded and written as they come, into a file that replaces the old one
    // only at the end. A file that cannot be written still has every line checked: a
    // refusal saves nothing, a failure to write saves the entries all the same.
    Files::AtomicFile output(path);
    bool writing = !request.writeNothing && output.open();
    TextFile::LineEncoder encoder(
        [&](QByteArrayView bytes) { writing = writing && output.write(bytes); });
    for (const QString &line : header.lines)
        encoder.appendLine(line);
    int qsoLines = 0;
    const auto failed = WriteQsoLines(
        request.log, entries.callsign, request.year,
        [&](QStringView line, int sourceLine) {
            encoder.appendLine(line, sourceLine);
            ++qsoLines;
        },
        request.observeQso);
    if (failed) {
        result.message = *failed;
        return result;
    }
    // The entries passed already, so a refusal here comes from a line of the log.
    if (const auto unencodable = encoder.finish()) {
        result.message = Messages::logLineUnencodable(unencodable->tag, unencodable->line,
                                                      unencodable->character);
        return result;
    }
    const int qsoCount = qsoLines - 1; // the end line is no QSO
    if (request.writeNothing) {
        result.outputPath = path;
        result.qsoCount = qsoCount;
        return result;
    }

    // An empty log box after a restart must not silently wipe the file of an earlier export,
    // nor make a file of no QSOs when the log was never loaded.
    if (qsoCount == 0 && request.confirmEmptyLog &&
        !request.confirmEmptyLog(fileName, QFileInfo::exists(Files::diskPath(path)))) {
        result.declined = true;
        return result;
    }
    if (!request.settingsPath.isEmpty()) {
        if (const auto error = SaveSettings(request.settingsPath, entries))
            result.settingsError = *error;
    }
    result.outputPath = path;
    if (!writing || !output.commit()) {
        result.message = Messages::cannotWrite(path, output.reason());
        return result;
    }
    result.written = true;
    result.qsoCount = qsoCount;
    result.shortenedAddress = header.shortenedAddress;
    return result;
}
