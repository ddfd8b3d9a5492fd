#include "command_line/convert_command.h"

#include "conversion/export_log.h"
#include "conversion/log_check.h"
#include "core/messages.h"
#include "core/today.h"
#include "input/log_loading.h"
#include "settings/settings_file.h"

#include <QDir>

#include <memory>
#include <optional>

namespace
{

// The log file as the export reads it, with the sent multiplier filled in: read as it is
// converted, so that a large one never stands in memory whole, and read afresh each time.
class PatchedLog
{
public:
    explicit PatchedLog(const ConvertOptions &given) : options(given) {}

    QString open()
    {
        file = std::make_unique<LogFile>(options.logFile);
        return file->open();
    }
    bool unanswered() const { return asked && !options.multiplier; }
    LogSource source()
    {
        return [this](const LogLineReceiver &receive) -> std::optional<QString> {
            if (read) {
                if (QString error = open(); !error.isEmpty())
                    return error;
            }
            read = true;
            MultiplierPatch patch(
                [this](const QString &) { return options.multiplier.value_or(QString()); });
            const QString error = file->read([&](const ZlogExport::Line &line) {
                ZlogExport::Line patched = line;
                patched.text = patch.apply(line.text, line.sentExchangeColumn);
                return receive(patched);
            });
            asked = asked || patch.asked();
            return error.isEmpty() ? std::nullopt : std::optional<QString>(error);
        };
    }

private:
    const ConvertOptions &options;
    std::unique_ptr<LogFile> file;
    bool read = false;
    bool asked = false;
};

StationEntries entriesOf(const ConvertOptions &options, QTextStream &err)
{
    StationEntries entries = InitialStationEntries();
    const SettingsLoad settings = LoadSettings(options.settingsFile, entries);
    if (settings.outcome == SettingsLoad::Outcome::Failed)
        err << Messages::warning(settings.problem) << Qt::endl;
    return entries;
}

// The export, which has the checker look at each QSO as it converts it.
ExportResult exportLog(const ConvertOptions &options, const StationEntries &entries,
                       PatchedLog &log, bool writeNothing, LogChecker &checker)
{
    ExportRequest request;
    request.entries = entries;
    request.log = log.source();
    request.year = options.year;
    request.outputFolder = options.outputFolder;
    request.settingsRead = options.settingsFile;
    request.logPath = options.logFile;
    request.writeNothing = writeNothing;
    if (options.checkLog) {
        request.observeQso = [&checker](const Qso &qso, QStringView line, int lineNumber) {
            checker.add(qso, line, lineNumber);
        };
    }
    return ExportCabrilloLog(request);
}

void printFindings(const LogCheck &check, QTextStream &stream)
{
    for (const Finding &finding : check.findings)
        stream << Messages::warning(Messages::findingLine(finding.where, finding.text)) << Qt::endl;
}

struct Checked {
    ExportResult result;
    LogCheck check;
};

// The export as both commands run it, with the log checked in its pass. Nothing when it is
// refused, having said why.
std::optional<Checked> exportAndCheck(const ConvertOptions &options, bool writeNothing,
                                      QTextStream &err)
{
    const StationEntries entries = entriesOf(options, err);
    PatchedLog log(options);
    if (const QString error = log.open(); !error.isEmpty()) {
        err << error << Qt::endl;
        return std::nullopt;
    }
    LogChecker checker(entries, Today::date());
    const ExportResult result = exportLog(options, entries, log, writeNothing, checker);
    if (log.unanswered())
        err << Messages::warning(Messages::multiplierMissing()) << Qt::endl;
    if (!result.message.isEmpty()) {
        err << result.message << Qt::endl;
        return std::nullopt;
    }
    return Checked{result, options.checkLog ? checker.finish(log.source()) : LogCheck()};
}

} // namespace

int RunConvert(const ConvertOptions &options, QTextStream &out, QTextStream &err)
{
    const auto done = exportAndCheck(options, false, err);
    if (!done)
        return 1;
    out << QDir::toNativeSeparators(done->result.outputPath) << Qt::endl;
    printFindings(done->check, err);
    return 0;
}

int RunCheck(const ConvertOptions &options, QTextStream &out, QTextStream &err)
{
    ConvertOptions checking = options;
    checking.checkLog = true;
    const auto done = exportAndCheck(checking, true, err);
    if (!done)
        return 1;
    out << SummaryLine(done->check) << Qt::endl;
    printFindings(done->check, out);
    return done->check.findings.isEmpty() ? 0 : exitWarnings;
}
